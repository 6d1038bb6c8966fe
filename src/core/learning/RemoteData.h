#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/receiver/DecoderTypes.h"

namespace quillon {

// A stored text: a length byte, then N Windows-1251 bytes of which the first `Length` count.
// Not NUL-terminated; the tail is zero in a freshly built record.
template <std::size_t N>
struct ShortString {
  std::uint8_t Length = 0;
  std::array<char, N> Bytes{};

  // The text as UTF-8. A length byte beyond the field (a corrupt file) is read as the field.
  std::string Text() const;
  // Stores `utf8` cut to N characters; the tail is zeroed.
  void Assign(std::string_view utf8);
  // Limits a length byte beyond the field to the field.
  void Sanitize() {
    if (Length > N) Length = static_cast<std::uint8_t>(N);
  }
  std::string_view Raw() const { return {Bytes.data(), std::min<std::size_t>(Length, N)}; }
};

// One learned button.
struct LearnedKey {
  std::int32_t KeyNumber = 0;            // 1-based row of the key in its table
  ShortString<64> Name;                  // upper case
  std::array<ShortString<255>, 5> Data;  // Data[1]..Data[5]: the key codes seen while learning
  std::array<std::uint8_t, 3> Padding{};
};

// The repeat frame of a remote that sends a short code while a button is held, as the
// hold-button analysis found it (also the layout of one train of that analysis).
struct RepeatFrameBlock {
  std::uint8_t Valid = 0;
  std::array<std::uint8_t, 3> Padding{};
  std::int32_t Index = 0;
  std::int32_t RepeatTop = 0;  // index of the last duration in use
  std::array<std::uint8_t, 4> Unused{};
  std::array<std::int64_t, 21> RepeatFrame{};
};

inline constexpr std::int32_t RemoteVersion = 1600;
inline constexpr std::int32_t TableEntries = 100;

// The learned remote: one fixed record that is also the whole content of a remote data file,
// little-endian, at the offsets of files written by the Windows program. Built on zeroed
// storage, so every byte not named is zero and a file written here is byte-identical.
struct RemoteData {
  std::int32_t Version = 0;
  ShortString<64> Producer;
  ShortString<64> Model;
  std::array<std::uint8_t, 2> Padding1{};
  std::int32_t KeyCount = 0;  // key rows below the grid header, the trailing empty row included
  std::uint8_t Reserved1 = 0;
  ShortString<255> PrefixText;
  std::array<std::uint8_t, 3> Padding2{};
  std::int32_t NominalLength = 0;
  std::array<LearnedKey, TableEntries> Keys;
  std::int32_t LockUpCount = 0;
  std::array<LearnedKey, TableEntries> LockUps;
  RepeatFrameBlock Repeat;
  std::int64_t StartPulse = 0;
  std::int64_t FrameGap = 0;
  std::int64_t MaxValue = 0;
  std::int64_t PrefixLength = 0;  // readers use the low 32 bits
  std::uint8_t LevelTop = 0;
  std::array<std::uint8_t, 7> Padding3{};
  std::array<std::int64_t, 10> LevelTable{};
  char ReceiverT = 0;  // the timing character last sent to a microcontroller receiver
  std::array<std::uint8_t, 3> Padding4{};
  std::int32_t KeyTimerInterval = 0;
  std::array<std::uint8_t, 520> Reserved2{};
  std::uint8_t LearnedWithPTK = 0;
  std::array<std::uint8_t, 7> Padding5{};
};

static_assert(std::endian::native == std::endian::little,
              "the remote record is stored as it lies in memory");
static_assert(sizeof(ShortString<64>) == 65 && sizeof(ShortString<255>) == 256);
static_assert(sizeof(LearnedKey) == 1352 && offsetof(LearnedKey, Name) == 4 &&
              offsetof(LearnedKey, Data) == 69);
static_assert(sizeof(RepeatFrameBlock) == 184 && offsetof(RepeatFrameBlock, Index) == 4 &&
              offsetof(RepeatFrameBlock, RepeatTop) == 8 &&
              offsetof(RepeatFrameBlock, RepeatFrame) == 16);
static_assert(sizeof(RemoteData) == 271648);
static_assert(
    offsetof(RemoteData, Producer) == 4 && offsetof(RemoteData, Model) == 69 &&
    offsetof(RemoteData, KeyCount) == 136 && offsetof(RemoteData, PrefixText) == 141 &&
    offsetof(RemoteData, NominalLength) == 400 && offsetof(RemoteData, Keys) == 404 &&
    offsetof(RemoteData, LockUpCount) == 135604 && offsetof(RemoteData, LockUps) == 135608 &&
    offsetof(RemoteData, Repeat) == 270808 && offsetof(RemoteData, StartPulse) == 270992 &&
    offsetof(RemoteData, FrameGap) == 271000 && offsetof(RemoteData, MaxValue) == 271008 &&
    offsetof(RemoteData, PrefixLength) == 271016 && offsetof(RemoteData, LevelTop) == 271024 &&
    offsetof(RemoteData, LevelTable) == 271032 && offsetof(RemoteData, ReceiverT) == 271112 &&
    offsetof(RemoteData, KeyTimerInterval) == 271116 &&
    offsetof(RemoteData, LearnedWithPTK) == 271640);
static_assert(std::is_trivially_copyable_v<RemoteData>);

// A zeroed record on the heap (it is too large for the stack).
std::unique_ptr<RemoteData> NewRemoteData();

// Limits what a corrupt file could make the program read outside the record: table counts
// to the 100 entries, length bytes to their fields, LevelTop to the last class.
void SanitizeRemoteData(RemoteData& remote);

// The decoder's reference timings as the record holds them, and back.
LearnedTimings TimingsOf(const RemoteData& remote);
void StoreTimings(const LearnedTimings& timings, RemoteData& remote);

}  // namespace quillon

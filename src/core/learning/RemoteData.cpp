#include "core/learning/RemoteData.h"

#include <cstring>

#include "core/common/Cp1251.h"

namespace quillon {

namespace {

constexpr std::uint8_t LastLevel = 9;

}  // namespace

template <std::size_t N>
std::string ShortString<N>::Text() const {
  return Cp1251ToUtf8(Raw());
}

template <std::size_t N>
void ShortString<N>::Assign(std::string_view utf8) {
  const std::string stored = Utf8ToCp1251(utf8).substr(0, N);
  Bytes.fill(0);
  std::memcpy(Bytes.data(), stored.data(), stored.size());
  Length = static_cast<std::uint8_t>(stored.size());
}

template struct ShortString<64>;
template struct ShortString<255>;

std::unique_ptr<RemoteData> NewRemoteData() {
  // Value-initialised: every byte, padding included, is zero.
  auto remote = std::make_unique<RemoteData>();
  std::memset(static_cast<void*>(remote.get()), 0, sizeof(RemoteData));
  return remote;
}

void SanitizeRemoteData(RemoteData& remote) {
  remote.Producer.Sanitize();
  remote.Model.Sanitize();
  remote.PrefixText.Sanitize();
  remote.KeyCount = std::clamp(remote.KeyCount, 0, TableEntries);
  remote.LockUpCount = std::clamp(remote.LockUpCount, 0, TableEntries);
  for (auto* table : {&remote.Keys, &remote.LockUps}) {
    for (LearnedKey& key : *table) {
      key.Name.Sanitize();
      for (auto& data : key.Data) data.Sanitize();
    }
  }
  remote.Repeat.RepeatTop = std::clamp(remote.Repeat.RepeatTop, 0, 20);
  remote.LevelTop = std::min(remote.LevelTop, LastLevel);
}

LearnedTimings TimingsOf(const RemoteData& remote) {
  LearnedTimings timings;
  timings.StartPulse = remote.StartPulse;
  timings.FrameGap = remote.FrameGap;
  timings.MaxValue = remote.MaxValue;
  timings.PrefixText = remote.PrefixText.Text();
  timings.PrefixLength = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(static_cast<std::uint64_t>(remote.PrefixLength) & 0xFFFF'FFFFU));
  timings.LevelTable = remote.LevelTable;
  timings.LevelTop = std::min(remote.LevelTop, LastLevel);
  return timings;
}

void StoreTimings(const LearnedTimings& timings, RemoteData& remote) {
  remote.StartPulse = timings.StartPulse;
  remote.FrameGap = timings.FrameGap;
  remote.MaxValue = timings.MaxValue;
  remote.PrefixText.Assign(timings.PrefixText);
  remote.PrefixLength = timings.PrefixLength;
  remote.LevelTable = timings.LevelTable;
  remote.LevelTop = timings.LevelTop;
}

}  // namespace quillon

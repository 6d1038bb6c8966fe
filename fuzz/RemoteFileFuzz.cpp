// The remote data file: a file of any content loaded as the current remote, then used as a
// loaded remote is: its names shown, its codes looked up, its repeat frame judged, its timings
// and limits decoding a burst built from them.
//
// A record is 271648 bytes, of which a few dozen carry counts, lengths and timings: random
// byte mutations rarely hit those. Half the mutations of a whole record therefore set one
// named field to a value at the edge of its type, or a code to a run of digits.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/KeyMatcher.h"
#include "core/receiver/VotingDecoder.h"

namespace {

using namespace quillon;

// A burst the loaded remote's own timings describe: start pulse, its duration classes in turn,
// closing gap, twice over.
PulseTrain BurstOf(const LearnedTimings& timings, PulseBufferArray& buffer) {
  std::int32_t count = 0;
  for (int frame = 0; frame < 2; ++frame) {
    buffer[static_cast<std::size_t>(count++)] = timings.StartPulse;
    for (std::size_t c = 0; c <= timings.LevelTop && c < timings.LevelTable.size(); ++c) {
      buffer[static_cast<std::size_t>(count++)] = timings.LevelTable[c];
      buffer[static_cast<std::size_t>(count++)] = timings.MaxValue;
    }
    buffer[static_cast<std::size_t>(count++)] = timings.FrameGap;
  }
  return PulseTrain(buffer, count);
}

struct Field {
  std::size_t Offset;
  std::size_t Width;
};

// The fields of the record that a file can make wrong, key and lock-up tables by their first
// entries (the others are read alike).
std::vector<Field> NamedFields() {
  std::vector<Field> fields = {
      {offsetof(RemoteData, Version), 4},
      {offsetof(RemoteData, Producer), 1},
      {offsetof(RemoteData, Model), 1},
      {offsetof(RemoteData, KeyCount), 4},
      {offsetof(RemoteData, PrefixText), 1},
      {offsetof(RemoteData, NominalLength), 4},
      {offsetof(RemoteData, LockUpCount), 4},
      {offsetof(RemoteData, Repeat) + offsetof(RepeatFrameBlock, Valid), 1},
      {offsetof(RemoteData, Repeat) + offsetof(RepeatFrameBlock, RepeatTop), 4},
      {offsetof(RemoteData, StartPulse), 8},
      {offsetof(RemoteData, FrameGap), 8},
      {offsetof(RemoteData, MaxValue), 8},
      {offsetof(RemoteData, PrefixLength), 8},
      {offsetof(RemoteData, LevelTop), 1},
      {offsetof(RemoteData, ReceiverT), 1},
      {offsetof(RemoteData, KeyTimerInterval), 4},
      {offsetof(RemoteData, LearnedWithPTK), 1},
  };
  for (std::size_t k = 0; k < 21; ++k) {
    fields.push_back(
        {offsetof(RemoteData, Repeat) + offsetof(RepeatFrameBlock, RepeatFrame) + 8 * k, 8});
  }
  for (std::size_t k = 0; k < 10; ++k) {
    fields.push_back({offsetof(RemoteData, LevelTable) + 8 * k, 8});
  }
  for (const std::size_t table : {offsetof(RemoteData, Keys), offsetof(RemoteData, LockUps)}) {
    for (std::size_t k = 0; k < 8; ++k) {
      const std::size_t key = table + k * sizeof(LearnedKey);
      fields.push_back({key + offsetof(LearnedKey, KeyNumber), 4});
      fields.push_back({key + offsetof(LearnedKey, Name), 1});
      for (std::size_t d = 0; d < 5; ++d) {
        fields.push_back({key + offsetof(LearnedKey, Data) + d * sizeof(ShortString<255>), 1});
      }
    }
  }
  return fields;
}

void SetEdgeValue(std::uint8_t* at, std::size_t width, std::minstd_rand& random) {
  const std::uint64_t top = width == 8 ? std::numeric_limits<std::uint64_t>::max()
                                       : (std::uint64_t{1} << (8 * width)) - 1;
  const std::uint64_t edges[] = {0,        1,
                                 2,        5,
                                 6,        9,
                                 10,       19,
                                 20,       21,
                                 99,       100,
                                 101,      255,
                                 256,
                                 top,  // -1
                                 top >> 1, (top >> 1) + 1,
                                 top - 1,  random()};
  const std::uint64_t value = edges[random() % std::size(edges)] & top;
  std::memcpy(at, &value, width);  // little-endian, as the record is stored
}

// Makes a short string at `at` a run of digits of random length, as a learned code.
void SetCode(std::uint8_t* at, std::size_t capacity, std::minstd_rand& random) {
  const std::size_t length = random() % (capacity + 1);
  at[0] = static_cast<std::uint8_t>(length);
  for (std::size_t i = 1; i <= length; ++i) {
    at[i] = static_cast<std::uint8_t>('0' + random() % (random() % 2 == 0 ? 2 : 10));
  }
}

}  // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
  std::minstd_rand random(seed);
  if (size != sizeof(RemoteData) || random() % 2 == 0) {
    return LLVMFuzzerMutate(data, size, maxSize);
  }
  static const std::vector<Field> fields = NamedFields();
  const Field& field = fields[random() % fields.size()];
  const bool codeLength = field.Width == 1 && field.Offset >= offsetof(RemoteData, Keys) &&
                          field.Offset < offsetof(RemoteData, Repeat);
  if (codeLength && random() % 2 == 0) {
    SetCode(data + field.Offset, 64, random);
  } else {
    SetEdgeValue(data + field.Offset, field.Width, random);
  }
  return size;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFile file("remote.IRD");
  file.Write(data, size);

  CurrentRemote current;
  const Result<RemoteLoad> loaded = LoadRemoteFile(file.Path(), current, English);
  if (!loaded) {
    QUILLON_FUZZ_CHECK(size < sizeof(RemoteData));
    QUILLON_FUZZ_CHECK(!loaded.ErrorMessage().empty());
    return 0;
  }
  QUILLON_FUZZ_CHECK(loaded.Value().Found);
  const RemoteData& remote = *current.Record;
  QUILLON_FUZZ_CHECK(remote.KeyCount >= 0 && remote.KeyCount <= TableEntries);
  QUILLON_FUZZ_CHECK(remote.LockUpCount >= 0 && remote.LockUpCount <= TableEntries);
  QUILLON_FUZZ_CHECK(current.Limits.LevelCount >= 2 && current.Limits.LevelCount <= 10);

  std::string shown = remote.Producer.Text() + remote.Model.Text() + remote.PrefixText.Text();
  KeyMatcher matcher(remote);
  for (const auto* table : {&remote.Keys, &remote.LockUps}) {
    for (const LearnedKey& key : *table) {
      shown += key.Name.Text();
      for (const auto& code : key.Data) {
        const KeyMatch match = matcher.Lookup(std::string(code.Raw()), false);
        QUILLON_FUZZ_CHECK(!match.Found ||
                           (match.KeyNumber >= 0 && match.KeyNumber < TableEntries));
      }
    }
  }
  matcher.Lookup({}, true);
  CommonPrefixLength(remote);

  PulseBufferArray buffer{};
  for (std::size_t k = 0; k < remote.Repeat.RepeatFrame.size(); ++k) {
    buffer[k] = remote.Repeat.RepeatFrame[k];
  }
  matcher.RepeatFrameVerdict(PulseTrain(buffer, remote.Repeat.RepeatTop + 1));

  const DecoderSettings settings;
  for (const bool multiLevel : {false, true}) {
    DecodeContext context{current.Timings, current.Limits, settings, multiLevel};
    VotingDecode(BurstOf(current.Timings, buffer), context);
  }
  return 0;
}

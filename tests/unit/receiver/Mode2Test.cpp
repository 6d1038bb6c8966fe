// The mode2 words of a kernel IR device: reading them from bytes (binary or text) and turning
// them into the marks, spaces and idles of bursts.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/receiver/Mode2Decoder.h"
#include "core/receiver/Mode2Reader.h"
#include "core/receiver/Mode2Word.h"

namespace quillon {
namespace {

constexpr std::int64_t IdleTicks = 2'000'000;  // 200 ms

std::uint32_t Pulse(std::uint32_t us) { return Mode2Word(Mode2Pulse, us); }
std::uint32_t Space(std::uint32_t us) { return Mode2Word(Mode2Space, us); }
std::uint32_t Timeout(std::uint32_t us) { return Mode2Word(Mode2Timeout, us); }

struct Seg {
  char Kind;  // 'M'ark, 'S'pace, 'I'dle
  std::int64_t Ticks;
  bool operator==(const Seg&) const = default;
};

void PrintTo(const Seg& seg, std::ostream* out) { *out << seg.Kind << seg.Ticks; }

std::vector<Seg> Simple(const std::vector<Mode2Segment>& segments) {
  std::vector<Seg> out;
  for (const Mode2Segment& s : segments) {
    const char kind = s.Kind == Mode2SegmentKind::Mark    ? 'M'
                      : s.Kind == Mode2SegmentKind::Space ? 'S'
                                                          : 'I';
    out.push_back({kind, s.Ticks});
  }
  return out;
}

// The words of one recording: all taken, then the open pulse ended.
struct Decoded {
  std::vector<Seg> Segments;
  std::vector<std::string> Problems;
};

Decoded Decode(const std::vector<std::uint32_t>& words) {
  Mode2Decoder decoder(IdleTicks);
  std::vector<Mode2Segment> segments;
  for (const std::uint32_t word : words) decoder.Take(word, 0, segments);
  decoder.EndPulse(segments);
  return {Simple(segments), decoder.TakeProblems()};
}

TEST(Mode2Decoder, TurnsWordsIntoMarksSpacesAndIdles) {
  const struct {
    const char* Name;
    std::vector<std::uint32_t> Words;
    std::vector<Seg> Expected;
  } cases[] = {
      {"a burst, in ticks",
       {Pulse(9000), Space(4500), Pulse(560)},
       {{'M', 90000}, {'S', 45000}, {'M', 5600}}},
      {"words of one kind merge",
       {Pulse(300), Pulse(260), Space(100), Space(460), Pulse(560)},
       {{'M', 5600}, {'S', 5600}, {'M', 5600}}},
      {"a space before the first pulse is quiet, however short",
       {Space(500), Pulse(560)},
       {{'I', 5000}, {'M', 5600}}},
      {"a long space ends the burst",
       {Pulse(560), Space(199'999), Pulse(560), Space(200'000), Pulse(560)},
       {{'M', 5600}, {'S', 1'999'990}, {'M', 5600}, {'I', 2'000'000}, {'M', 5600}}},
      {"a timeout ends the burst and merges with the space after it",
       {Pulse(560), Space(100), Timeout(125'000), Space(875'000), Pulse(560)},
       {{'M', 5600}, {'I', 10'001'000}, {'M', 5600}}},
      {"a timeout ends the burst even when nothing follows it",
       {Pulse(560), Timeout(125'000), Pulse(560)},
       {{'M', 5600}, {'I', 1'250'000}, {'M', 5600}}},
      {"frequency words are ignored",
       {Pulse(300), Mode2Word(Mode2Frequency, 38000), Pulse(260), Space(560), Pulse(560)},
       {{'M', 5600}, {'S', 5600}, {'M', 5600}}},
      {"a trailing space is no edge", {Pulse(560), Space(560)}, {{'M', 5600}}},
  };
  for (const auto& c : cases) {
    const Decoded decoded = Decode(c.Words);
    EXPECT_EQ(decoded.Segments, c.Expected) << c.Name;
    EXPECT_TRUE(decoded.Problems.empty()) << c.Name;
  }
}

TEST(Mode2Decoder, SkipsGarbageWordsAndReportsEachCauseOnce) {
  const struct {
    const char* Name;
    std::vector<std::uint32_t> Words;
    std::vector<Seg> Expected;
    std::vector<std::string> Problems;
  } cases[] = {
      {"zero lengths are skipped: the words around them merge",
       {Pulse(560), Space(0), Pulse(560), Pulse(0), Space(560), Pulse(560)},
       {{'M', 11200}, {'S', 5600}, {'M', 5600}},
       {"word 2: a space of length 0; words of length 0 are skipped"}},
      {"unknown kinds are skipped",
       {Pulse(560), 0x7F000010, Space(560), 0x05000001, Pulse(560)},
       {{'M', 5600}, {'S', 5600}, {'M', 5600}},
       {"word 2: unknown kind 0x7F; words of unknown kinds are skipped"}},
      {"an overflow starts the burst afresh",
       {Pulse(560), Space(560), Mode2Word(Mode2Overflow, 0), Pulse(560)},
       {{'M', 5600}, {'I', 5600}, {'M', 5600}},
       {"word 3: the kernel's buffer overflowed and words were lost; the burst starts afresh"}},
  };
  for (const auto& c : cases) {
    const Decoded decoded = Decode(c.Words);
    EXPECT_EQ(decoded.Segments, c.Expected) << c.Name;
    EXPECT_EQ(decoded.Problems, c.Problems) << c.Name;
  }
}

TEST(Mode2Decoder, APulseContinuedAfterItWasEndedLengthensTheNextSpace) {
  Mode2Decoder decoder(IdleTicks);
  std::vector<Mode2Segment> segments;
  decoder.Take(Pulse(9000), 0, segments);
  decoder.EndPulse(segments);  // the end of a live read
  decoder.Take(Pulse(40), 0, segments);
  decoder.EndPulse(segments);  // nothing open: the continuation waits for the space
  decoder.Take(Space(4460), 0, segments);
  decoder.Take(Pulse(560), 0, segments);
  decoder.EndPulse(segments);
  EXPECT_EQ(Simple(segments), (std::vector<Seg>{{'M', 90000}, {'S', 45000}, {'M', 5600}}));
}

std::string Bytes(const std::vector<std::uint32_t>& words) {
  std::string bytes(words.size() * 4, '\0');
  std::memcpy(bytes.data(), words.data(), bytes.size());
  return bytes;
}

// Feeds `input` in reads of `readSize` bytes, then finishes.
Result<std::vector<std::uint32_t>> Read(const std::string& input, std::size_t readSize) {
  Mode2Reader reader(Mode2Format::Unknown);
  std::vector<std::uint32_t> words;
  for (std::size_t at = 0; at < input.size(); at += readSize) {
    if (auto taken = reader.Take(input.substr(at, readSize), words); !taken) {
      return Error{taken.ErrorMessage()};
    }
  }
  if (auto finished = reader.Finish(words); !finished) return Error{finished.ErrorMessage()};
  return words;
}

TEST(Mode2Reader, ReadsBinaryWordsAndTheTextFormInReadsOfAnySize) {
  const std::vector<std::uint32_t> words = {Space(16'777'215), Pulse(9024), Space(4512),
                                            Timeout(125'000)};
  const struct {
    const char* Name;
    std::string Input;
  } cases[] = {
      {"binary", Bytes(words)},
      {"text", "space 16777215\npulse 9024\nspace 4512\ntimeout 125000\n"},
      {"text with comments, blank lines, blanks and CR LF",
       "# recorded\n\n  space\t16777215 \r\npulse 9024\r\n\nspace 4512\ntimeout 125000"},
  };
  for (const auto& c : cases) {
    for (const std::size_t readSize : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
      const auto read = Read(c.Input, readSize);
      ASSERT_TRUE(read) << c.Name << ": " << read.ErrorMessage();
      EXPECT_EQ(read.Value(), words) << c.Name << ", reads of " << readSize;
    }
  }
}

TEST(Mode2Reader, TellsTheFormByTheFirstFourBytes) {
  const struct {
    std::string Input;
    Mode2Format Expected;
  } cases[] = {
      {Bytes({Pulse(560)}), Mode2Format::Binary},
      {Bytes({Mode2Word(Mode2Overflow, 0x0A0A0A)}), Mode2Format::Binary},
      {"pulse 560\n", Mode2Format::Text},
      {"#\n\n\tp", Mode2Format::Text},
  };
  for (const auto& c : cases) {
    Mode2Reader reader(Mode2Format::Unknown);
    std::vector<std::uint32_t> words;
    ASSERT_TRUE(reader.Take(c.Input.substr(0, 3), words));
    EXPECT_EQ(reader.Format(), Mode2Format::Unknown);  // three bytes tell nothing yet
    ASSERT_TRUE(reader.Take(c.Input.substr(3), words));
    EXPECT_EQ(reader.Format(), c.Expected) << c.Input;
  }
}

TEST(Mode2Reader, BadInputIsAClearError) {
  std::string truncated = Bytes({Pulse(560), Space(560)});
  truncated.pop_back();
  const struct {
    std::string Input;
    std::string Error;
  } cases[] = {
      {"", "it holds nothing: no mode2 words"},
      {truncated,
       "it ends inside a word, 3 bytes after the last whole one: a recording holds "
       "whole 32-bit words"},
      {std::string("\x01\x02", 2),
       "it ends inside a word, 2 bytes after the last whole one: "
       "a recording holds whole 32-bit words"},
      {"pulse 560\njump 5\n", "line 2: \"jump 5\" is no pulse, space or timeout line"},
      {"pulse\n", "line 1: \"pulse\" is no pulse, space or timeout line"},
      {"space 12ab\n", "line 1: \"12ab\" is no number of microseconds"},
      {"space -5\n", "line 1: \"-5\" is no number of microseconds"},
      {"pulse 16777216\n",
       "line 1: 16777216 microseconds is more than a mode2 word holds "
       "(16777215)"},
      {"timeout 99999999999999999999999\n",
       "line 1: 99999999999999999999999 microseconds is more than a mode2 word holds "
       "(16777215)"},
      {"pulse 560\n" + std::string(300, 'x'),
       "line 2 is longer than 200 characters: this is no mode2 recording"},
  };
  for (const auto& c : cases) {
    for (const std::size_t readSize : {std::size_t{1}, std::size_t{4096}}) {
      const auto read = Read(c.Input, readSize);
      ASSERT_FALSE(read) << c.Input;
      EXPECT_EQ(read.ErrorMessage(), c.Error);
    }
  }
}

}  // namespace
}  // namespace quillon

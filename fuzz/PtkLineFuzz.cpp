// The receiver's lines without the protocol around them: bytes of any content split into lines
// as they arrive, each line classified (in and out of an error report) and decoded as key data
// in both variants against a learned repeat frame of any content, and the whole taken as an
// error report for the new T data. Line splitting loses no byte; key codes are digits, or a
// repeat frame's values each followed by a blank.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/receiver/PtkLineDecoder.h"
#include "core/receiver/PtkReplies.h"

namespace {

using namespace quillon;

bool IsDigits(const std::string& code) {
  return code.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  RepeatFrameBlock frame;
  frame.Valid = input.ConsumeIntegral<std::uint8_t>() % 3;
  frame.RepeatTop = input.ConsumeIntegralInRange(0, 20);
  for (std::int64_t& value : frame.RepeatFrame) {
    value = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int64_t>(0, 255)
                                : input.ConsumeIntegral<std::int64_t>();
  }
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  std::string buffer = bytes;
  const std::vector<std::string> lines = TakeCompleteLines(buffer);
  std::string joined;
  for (const std::string& line : lines) {
    QUILLON_FUZZ_CHECK(line.find("\r\n") == std::string::npos);
    joined += line + "\r\n";
  }
  QUILLON_FUZZ_CHECK(joined + buffer == bytes);
  QUILLON_FUZZ_CHECK(buffer.find("\r\n") == std::string::npos);

  RepeatAccumulator repeats;
  for (const std::string& line : lines) {
    for (const bool errorMode : {false, true}) {
      const ReplyKind kind = ClassifyLine(line, errorMode);
      if (kind == ReplyKind::NewD || kind == ReplyKind::NewDInverse || kind == ReplyKind::NewT) {
        ReplyByte(line);
      }
    }
    const LineDecode measured = DecodeKeyLine(line, LineVariant::Measure, repeats, frame);
    QUILLON_FUZZ_CHECK(IsDigits(measured.Code) && !measured.RepeatFrame);
    const LineDecode keys = DecodeKeyLine(line, LineVariant::Keys, repeats, frame);
    if (keys.RepeatFrame) {
      QUILLON_FUZZ_CHECK(line.size() < MinFrameLine && UsableReceiverFrame(frame));
      QUILLON_FUZZ_CHECK(keys.Code.find_first_not_of("-0123456789 ") == std::string::npos);
    } else {
      QUILLON_FUZZ_CHECK(IsDigits(keys.Code));
    }
    QUILLON_FUZZ_CHECK(repeats.Size() < 2 * RepeatAccumulator::MaxFrame + MinFrameLine);
  }
  QUILLON_FUZZ_CHECK(NewTDataByte(bytes) >= 5);
  return 0;
}

// The key sender: a key string of any content typed into a window found by a title of any
// content on a desktop of a few windows, over the fake keyboard. Whatever the string, every
// key pressed is up again at the end, and Num Lock is as it was unless the string names it.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/actions/KeyNames.h"
#include "core/actions/SendKey.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace {

using namespace quillon;

constexpr std::size_t MaxWindows = 6;
constexpr std::size_t MaxTitle = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  platform::FakeDesktopSystem system;
  platform::FakeClock clock;
  platform::FakeEventLoop loop(clock);
  TSendKey sender(system.Keyboard, system.Desktop, loop, clock);

  const bool numLock = input.ConsumeBool();
  system.Keyboard.SetNumLock(numLock);
  sender.Delay = input.ConsumeIntegralInRange<std::int32_t>(-1, 2);
  const std::size_t windows = input.ConsumeIntegralInRange<std::size_t>(0, MaxWindows);
  for (std::size_t w = 0; w < windows; ++w) {
    system.Desktop.AddWindow(input.ConsumeRandomLengthString(MaxTitle), input.ConsumeBool());
  }
  sender.TitleText = input.ConsumeRandomLengthString(MaxTitle);
  sender.Keys = input.ConsumeRemainingBytesAsString();
  sender.execute();

  QUILLON_FUZZ_CHECK(sender.TargetWindowList().size() <= TSendKey::MaxTargets);
  if (LowerCase1251(sender.Keys).find("numlock") == std::string::npos) {
    QUILLON_FUZZ_CHECK(system.Keyboard.NumLockOn() == numLock);
  }
  std::array<bool, 256> down{};
  for (const platform::Effect& effect : system.Log.Effects()) {
    if (effect.Name != "key") continue;
    const auto key = std::get<std::int64_t>(effect.Fields[0].Value);
    down[static_cast<std::size_t>(key)] = !std::get<bool>(effect.Fields[2].Value);
  }
  for (const bool stillDown : down) QUILLON_FUZZ_CHECK(!stillDown);
  return 0;
}

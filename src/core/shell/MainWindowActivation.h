#pragma once

#include "core/actions/MouseActions.h"
#include "core/config/KeyDispatch.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/shell/CurrentFunction.h"
#include "core/shell/Options.h"
#include "platform/Registry.h"

namespace quillon {

// What the main window's activation refreshes from the options.
struct RunningSystem {
  platform::Registry& Registry;
  Options& Settings;
  ReceiveSettings& Receive;
  ReceivePipeline& Pipeline;
  CommandDispatcher& Dispatcher;
  DispatchOptions& Dispatch;
  MouseActions& Mouse;
  CurrentFunctionDisplay& Display;
};

// Hands the current options on: the mouse-motion step, the current-function time, the burst
// length and whether unknown buttons are shown. Reception is left as it is.
void ApplyOptions(RunningSystem& system);

// FormActivate: reads the options afresh and hands them on (the mouse-motion step, the
// current-function time, the burst length, whether unknown buttons are shown), then switches
// reception on: reception first starts here. The activation that directly follows the closing of
// the current-function display is skipped (that window handing the focus back is no return of the
// user). Gives whether it ran.
bool ActivateMainWindow(RunningSystem& system);

}  // namespace quillon

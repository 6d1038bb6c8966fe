#pragma once

#include <string>

#include "TempFolder.h"
#include "config/EditorBench.h"
#include "core/shell/Settings.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "platform/fake/FakeDesktopSystem.h"

namespace quillon::gui {

// The configuration window over the editor's bench (fakes, virtual time, the sample remote as
// the stored remote type), its current-function window and mouse actions on a fake desktop, its
// autostart entry in a folder of its own. Not yet created: FormCreate is the test's to call.
struct MainWindowBench {
  MainWindowBench() {
    Bench.Registry.SetValue(ProductKey, "RmtCtrlType", std::string(test::VizioType));
  }

  test::EditorBench Bench;
  test::TempFolder Config;
  platform::FakeDesktopSystem Desktop;
  Options Settings;
  TForm2 Form2;
  CurrentFunctionDisplay Display{Form2, Bench.Loop, Desktop.System, Settings};
  MouseActions Mouse{Desktop.Mouse, Desktop.System, Bench.Loop, Bench.Clock};
  TForm1 Form{{Bench.Context(),
               {Bench.Registry, Settings, Bench.Receive, Bench.Pipeline, Bench.Dispatcher,
                Bench.Dispatch, Mouse, Display},
               Bench.Language,
               Config.Path / "autostart" / "quillon.desktop",
               "/usr/bin/quillon"}};
};

}  // namespace quillon::gui

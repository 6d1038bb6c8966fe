#include "platform/linux/X11SystemControl.h"

#include <iostream>

#include "platform/linux/LogindPower.h"
#include "platform/linux/ProcessorClock.h"

namespace quillon::platform {

namespace {

struct SaverSettings {
  int Timeout = 0;
  int Interval = 0;
  int Blanking = 0;
  int Exposures = 0;
};

SaverSettings ReadSaver(Display* display) {
  SaverSettings saver;
  XGetScreenSaver(display, &saver.Timeout, &saver.Interval, &saver.Blanking, &saver.Exposures);
  return saver;
}

}  // namespace

std::optional<double> X11SystemControl::ProcessorClockMHz() const {
  return platform::ProcessorClockMHz();
}

ScreenSize X11SystemControl::Screen() const {
  Display* display = Connection->Handle();
  if (Connection->Lost()) return {};
  const int screen = DefaultScreen(display);
  return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

bool X11SystemControl::ScreenSaverActive() const {
  Display* display = Connection->Handle();
  return !Connection->Lost() && ReadSaver(display).Timeout > 0;
}

void X11SystemControl::SetScreenSaverActive(bool active) {
  Display* display = Connection->Handle();
  if (Connection->Lost()) return;
  const SaverSettings saver = ReadSaver(display);
  if ((saver.Timeout > 0) == active) return;
  if (!active) RestoredTimeout = saver.Timeout;
  XSetScreenSaver(display, active ? RestoredTimeout : 0, saver.Interval, saver.Blanking,
                  saver.Exposures);
  XSync(display, False);
}

void X11SystemControl::ShowTaskbar(bool) {}

bool X11SystemControl::Shutdown(ShutdownKind kind, bool force) {
  const Result<Done> done = LogindShutdown(kind, !force);
  if (!done) std::cerr << "quillon: " << done.ErrorMessage() << "\n";
  return done.Ok();
}

}  // namespace quillon::platform

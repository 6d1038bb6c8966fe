#include "gui/QtEventLoop.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace quillon::gui {

namespace {

class QtTimer : public platform::Timer {
 public:
  explicit QtTimer(std::function<void()> onTick) {
    // Precise: the burst timer bounds a burst by milliseconds, which a coarse timer's slack of
    // 5 % would stretch.
    Timer.setTimerType(Qt::PreciseTimer);
    Timer.setInterval(1000);
    QObject::connect(&Timer, &QTimer::timeout, [onTick = std::move(onTick)] { onTick(); });
  }

  void SetInterval(std::uint32_t milliseconds) override {
    // Zero would fire at every pass of the loop.
    const int interval = static_cast<int>(
        std::clamp<std::uint32_t>(milliseconds, 1, std::numeric_limits<int>::max()));
    if (Timer.isActive()) {
      Timer.start(interval);
    } else {
      Timer.setInterval(interval);
    }
  }
  std::uint32_t Interval() const override { return static_cast<std::uint32_t>(Timer.interval()); }
  void Enable() override {
    if (!Timer.isActive()) Timer.start();
  }
  void Disable() override { Timer.stop(); }
  bool Enabled() const override { return Timer.isActive(); }

 private:
  QTimer Timer;
};

}  // namespace

QtEventLoop::QtEventLoop(const platform::Clock& clock)
    : TheClock(clock), Receiver(std::make_unique<QObject>()) {}

QtEventLoop::~QtEventLoop() = default;

std::unique_ptr<platform::Timer> QtEventLoop::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<QtTimer>(std::move(onTick));
}

void QtEventLoop::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(Receiver.get(), std::move(task), Qt::QueuedConnection);
}

void QtEventLoop::RunUntil(std::uint32_t deadlineTick) {
  // A nested loop that a single-shot timer ends at the deadline: it sleeps until the next
  // event, handles timers, posted tasks and the windows' events, and never spins.
  while (!platform::TickReached(TheClock.TickCount(), deadlineTick)) {
    const auto remaining = static_cast<int>(deadlineTick - TheClock.TickCount());
    QEventLoop loop;
    QTimer deadline;
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(remaining);
    loop.exec();
  }
}

}  // namespace quillon::gui

#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/SerialDevice.h"

namespace quillon::platform {

// A serial device through termios. Three threads serve it: one waits for data, one for
// carrier-detect changes (TIOCMIWAIT), one drains the write queue. Each event is posted to the
// event loop with the counter read when the thread woke. Devices that cannot report modem
// lines (pseudo-terminals) say so once and keep carrying data.
class TermiosSerialDevice : public SerialDevice {
 public:
  TermiosSerialDevice(EventLoop& loop, const Clock& clock);
  ~TermiosSerialDevice() override;
  TermiosSerialDevice(const TermiosSerialDevice&) = delete;
  TermiosSerialDevice& operator=(const TermiosSerialDevice&) = delete;

  Result<Done> Open(const std::string& path, SerialHandlers handlers) override;
  void Close() override;
  bool IsOpen() const override { return Fd >= 0; }
  std::uint32_t ModemStatus() const override;
  std::string ReadAll() override;
  void Write(std::string_view bytes) override;

 private:
  void ReadLoop();
  void ModemLoop();
  void WriteLoop();
  // Runs `task` on the loop unless the device was closed meanwhile.
  void Deliver(std::function<void()> task);

  EventLoop& Loop;
  const Clock& TheClock;
  std::string Path;
  SerialHandlers Handlers;
  int Fd = -1;
  int WakeFd = -1;
  std::shared_ptr<std::atomic<bool>> Alive;  // shared with posted tasks
  std::atomic<bool> Stopping{false};
  std::atomic<bool> ModemDone{true};

  std::mutex ReadMutex;
  std::string Received;

  std::mutex WriteMutex;
  std::condition_variable WriteReady;
  std::deque<std::string> WriteQueue;

  std::thread Reader;
  std::thread ModemWatcher;
  std::thread Writer;
};

}  // namespace quillon::platform

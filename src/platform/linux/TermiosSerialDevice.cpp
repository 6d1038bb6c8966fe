#include "platform/linux/TermiosSerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace quillon::platform {

namespace {

// Interrupts a thread blocked in TIOCMIWAIT when the device closes.
constexpr int WakeSignal = SIGUSR2;

void IgnoreWake(int) {}

void InstallWakeHandler() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = IgnoreWake;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: the waiting ioctl returns EINTR
    sigaction(WakeSignal, &action, nullptr);
    return true;
  }();
  (void)installed;
}

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

TermiosSerialDevice::TermiosSerialDevice(EventLoop& loop, const Clock& clock)
    : Loop(loop), TheClock(clock) {}

TermiosSerialDevice::~TermiosSerialDevice() { Close(); }

Result<Done> TermiosSerialDevice::Open(const std::string& path, SerialHandlers handlers) {
  Close();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Error{ErrnoText("cannot open", path)};
  // A port is opened unshared: the lock (released with the descriptor) tells other programs,
  // and the port probe, that it is taken.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const Error error{ErrnoText("cannot have", path)};
    ::close(fd);
    return error;
  }
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) {
    const Error error{ErrnoText("not a serial device:", path)};
    ::close(fd);
    return error;
  }
  cfmakeraw(&settings);
  cfsetispeed(&settings, B19200);
  cfsetospeed(&settings, B19200);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &settings) != 0) {
    const Error error{ErrnoText("cannot set the line of", path)};
    ::close(fd);
    return error;
  }
  // DTR and RTS power the receivers; a pseudo-terminal has no such lines.
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIS, &lines);

  WakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (WakeFd < 0) {
    const Error error{ErrnoText("cannot watch", path)};
    ::close(fd);
    return error;
  }
  InstallWakeHandler();
  Fd = fd;
  Path = path;
  Handlers = std::move(handlers);
  Stopping = false;
  ModemDone = false;
  Alive = std::make_shared<std::atomic<bool>>(true);
  Reader = std::thread([this] { ReadLoop(); });
  ModemWatcher = std::thread([this] { ModemLoop(); });
  Writer = std::thread([this] { WriteLoop(); });
  return Done{};
}

void TermiosSerialDevice::Close() {
  if (Fd < 0) return;
  Alive->store(false);
  Stopping = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t woken = ::write(WakeFd, &one, sizeof one);
  WriteReady.notify_all();
  // The modem thread may sit in TIOCMIWAIT, which only a signal ends; it is sent again until
  // the thread has left, since it may not have entered the wait when the first one came.
  while (!ModemDone.load()) {
    pthread_kill(ModemWatcher.native_handle(), WakeSignal);
    pollfd none{};
    ::poll(&none, 0, 1);
  }
  ModemWatcher.join();
  Reader.join();
  Writer.join();
  ::close(Fd);
  ::close(WakeFd);
  Fd = -1;
  WakeFd = -1;
  const std::lock_guard readLock(ReadMutex);
  Received.clear();
  const std::lock_guard writeLock(WriteMutex);
  WriteQueue.clear();
}

void TermiosSerialDevice::Deliver(std::function<void()> task) {
  Loop.Post([alive = Alive, task = std::move(task)] {
    if (alive->load()) task();
  });
}

void TermiosSerialDevice::ReadLoop() {
  pollfd fds[2] = {{Fd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
  char buffer[4096];
  while (!Stopping) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents != 0) break;
    if ((fds[0].revents & POLLIN) != 0) {
      const std::int64_t counter = TheClock.Counter();
      const ssize_t got = ::read(Fd, buffer, sizeof buffer);
      if (got > 0) {
        {
          const std::lock_guard lock(ReadMutex);
          Received.append(buffer, static_cast<std::size_t>(got));
        }
        const auto count = static_cast<std::size_t>(got);
        Deliver([this, counter, count] {
          if (Handlers.DataReceived) Handlers.DataReceived(counter, count);
        });
        continue;
      }
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    }
    // Readable with nothing to read, or a hang-up: the device went away (a pseudo-terminal
    // whose other side closed, a USB adapter pulled out).
    if (fds[0].revents != 0) {
      const std::string message = "the serial device " + Path + " is gone";
      Deliver([this, message] {
        if (Handlers.Problem) Handlers.Problem(message);
      });
      break;
    }
  }
}

void TermiosSerialDevice::ModemLoop() {
  while (!Stopping) {
    if (ioctl(Fd, TIOCMIWAIT, TIOCM_CD) == 0) {
      const std::int64_t counter = TheClock.Counter();
      Deliver([this, counter] {
        if (Handlers.CarrierChanged) Handlers.CarrierChanged(counter);
      });
      continue;
    }
    if (errno == EINTR) continue;
    const std::string message =
        "carrier detect is not supported on " + Path + "; only data is received";
    Deliver([this, message] {
      if (Handlers.Problem) Handlers.Problem(message);
    });
    break;
  }
  ModemDone = true;
}

void TermiosSerialDevice::WriteLoop() {
  std::unique_lock lock(WriteMutex);
  for (;;) {
    WriteReady.wait(lock, [this] { return Stopping || !WriteQueue.empty(); });
    if (Stopping) return;
    std::string chunk = std::move(WriteQueue.front());
    WriteQueue.pop_front();
    lock.unlock();
    std::size_t sent = 0;
    while (sent < chunk.size() && !Stopping) {
      const ssize_t n = ::write(Fd, chunk.data() + sent, chunk.size() - sent);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
      } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        pollfd out{Fd, POLLOUT, 0};
        ::poll(&out, 1, 100);
      } else {
        break;
      }
    }
    lock.lock();
  }
}

std::uint32_t TermiosSerialDevice::ModemStatus() const {
  int lines = 0;
  if (Fd < 0 || ioctl(Fd, TIOCMGET, &lines) != 0) return 0;
  std::uint32_t status = 0;
  if ((lines & TIOCM_CTS) != 0) status |= ModemCts;
  if ((lines & TIOCM_DSR) != 0) status |= ModemDsr;
  if ((lines & TIOCM_RNG) != 0) status |= ModemRing;
  if ((lines & TIOCM_CD) != 0) status |= ModemRlsd;
  return status;
}

std::string TermiosSerialDevice::ReadAll() {
  const std::lock_guard lock(ReadMutex);
  std::string all;
  all.swap(Received);
  return all;
}

void TermiosSerialDevice::Write(std::string_view bytes) {
  if (Fd < 0 || bytes.empty()) return;
  {
    const std::lock_guard lock(WriteMutex);
    WriteQueue.emplace_back(bytes);
  }
  WriteReady.notify_one();
}

}  // namespace quillon::platform

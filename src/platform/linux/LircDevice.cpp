#include "platform/linux/LircDevice.h"

#include <fcntl.h>
#include <linux/lirc.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/receiver/Mode2Word.h"

namespace quillon::platform {

static_assert(Mode2Space == LIRC_MODE2_SPACE);
static_assert(Mode2Pulse == LIRC_MODE2_PULSE);
static_assert(Mode2Frequency == LIRC_MODE2_FREQUENCY);
static_assert(Mode2Timeout == LIRC_MODE2_TIMEOUT);
static_assert(Mode2Overflow == LIRC_MODE2_OVERFLOW);
static_assert(Mode2KindMask == LIRC_MODE2_MASK);
static_assert(Mode2ValueMask == LIRC_VALUE_MASK);

namespace {

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

// Switches a character device to mode2, or says why it cannot be used.
Result<Done> SetMode2(int fd, const std::string& path) {
  std::uint32_t features = 0;
  if (ioctl(fd, LIRC_GET_FEATURES, &features) != 0) {
    return Error{
        ErrnoText(path + " is no kernel IR device (it does not answer LIRC_GET_FEATURES)")};
  }
  if ((features & LIRC_CAN_REC_MODE2) == 0) {
    return Error{path +
                 " cannot deliver pulses and spaces (mode2): its driver decodes remotes in the "
                 "kernel only, or it can only send"};
  }
  std::uint32_t mode = LIRC_MODE_MODE2;
  if (ioctl(fd, LIRC_SET_REC_MODE, &mode) != 0) {
    return Error{ErrnoText("cannot switch " + path + " to mode2")};
  }
  return Done{};
}

}  // namespace

LircDevice::LircDevice(EventLoop& loop, const Clock& clock) : Loop(loop), TheClock(clock) {}

LircDevice::~LircDevice() { Close(); }

Result<IrInputKind> LircDevice::Open(const std::string& path, IrInputHandlers handlers) {
  Close();
  // Without O_NONBLOCK, opening a pipe would wait for its writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Error{ErrnoText("cannot open " + path)};
  const auto fail = [fd](Error error) {
    ::close(fd);
    return error;
  };
  struct stat status {};
  if (fstat(fd, &status) != 0) return fail(Error{ErrnoText("cannot examine " + path)});
  IrInputKind kind = IrInputKind::Recording;
  if (S_ISCHR(status.st_mode)) {
    if (auto mode2 = SetMode2(fd, path); !mode2) return fail(Error{mode2.ErrorMessage()});
    kind = IrInputKind::Live;
  } else if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) {
    return fail(Error{path + " is neither a kernel IR device nor a recording (a file or a pipe)"});
  }
  WakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (WakeFd < 0) return fail(Error{ErrnoText("cannot watch " + path)});
  Fd = fd;
  Path = path;
  Kind = kind;
  Handlers = std::move(handlers);
  Alive = std::make_shared<std::atomic<bool>>(true);
  Reader = std::thread([this] { ReadLoop(); });
  return kind;
}

void LircDevice::Close() {
  if (Fd < 0) return;
  Alive->store(false);
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t woken = ::write(WakeFd, &one, sizeof one);
  Reader.join();
  ::close(Fd);
  ::close(WakeFd);
  Fd = -1;
  WakeFd = -1;
}

void LircDevice::Deliver(std::function<void()> task) {
  Loop.Post([alive = Alive, task = std::move(task)] {
    if (alive->load()) task();
  });
}

void LircDevice::DeliverEnd(Result<Done> end) {
  Deliver([this, end = std::move(end)] {
    if (Handlers.Ended) Handlers.Ended(end);
  });
}

void LircDevice::ReadLoop() {
  pollfd fds[2] = {{Fd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
  // A kernel IR device hands out whole 32-bit words only: the buffer holds a whole number.
  char buffer[4096];
  for (;;) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      DeliverEnd(Error{ErrnoText("cannot wait for " + Path)});
      return;
    }
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    const std::int64_t counter = TheClock.Counter();
    const ssize_t got = ::read(Fd, buffer, sizeof buffer);
    if (got > 0) {
      std::string bytes(buffer, static_cast<std::size_t>(got));
      Deliver([this, counter, bytes = std::move(bytes)] {
        if (Handlers.DataRead) Handlers.DataRead(counter, bytes);
      });
      continue;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (Kind == IrInputKind::Live) {  // unplugged: the driver went away
      DeliverEnd(Error{got < 0 ? ErrnoText("the IR device " + Path + " is gone")
                               : "the IR device " + Path + " is gone"});
    } else if (got < 0) {
      DeliverEnd(Error{ErrnoText("cannot read " + Path)});
    } else {  // the end of the file, or the pipe's last writer closed it
      DeliverEnd(Done{});
    }
    return;
  }
}

}  // namespace quillon::platform

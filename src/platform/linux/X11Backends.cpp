#include "platform/linux/X11Backends.h"

#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Desktop.h"
#include "platform/linux/X11Keyboard.h"
#include "platform/linux/X11Mouse.h"
#include "platform/linux/X11SystemControl.h"

namespace quillon::platform {

Result<X11Backends> OpenX11Backends(const char* displayName) {
  Result<std::shared_ptr<X11Connection>> connection = X11Connection::Open(displayName);
  if (!connection) return Error{connection.ErrorMessage()};
  const std::shared_ptr<X11Connection>& shared = connection.Value();
  return X11Backends{std::make_unique<X11Keyboard>(shared), std::make_unique<X11Mouse>(shared),
                     std::make_unique<X11Desktop>(shared),
                     std::make_unique<X11SystemControl>(shared)};
}

}  // namespace quillon::platform

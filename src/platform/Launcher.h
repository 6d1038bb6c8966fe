#pragma once

#include <string_view>

namespace quillon::platform {

// Starts programs and opens documents.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // Opens a program or document with `folder` as its working folder; false when it could not
  // be started.
  virtual bool Open(std::string_view path, std::string_view folder) = 0;
};

}  // namespace quillon::platform

#pragma once

#include <string>

namespace quillon {

// The current-function display: a hint of a few lines (separated by CR) near the tray, which
// key dispatch and the actions show and close.
class HintDisplay {
 public:
  virtual ~HintDisplay() = default;
  virtual void IRShowHint(const std::string& text) = 0;
  virtual void CloseHint() = 0;
};

}  // namespace quillon

#pragma once

#include <string>

namespace quillon {

// Where the receiver side shows what it does: the hint window for the progress of the
// receiver's start-up, the learning window's log for the receiver's replies and problems.
// Texts arrive in the language of the moment.
class ReceiverView {
 public:
  virtual ~ReceiverView() = default;
  virtual void ShowHint(const std::string& text) = 0;
  virtual void Log(const std::string& text) = 0;
};

}  // namespace quillon

#pragma once

#include <deque>
#include <vector>

#include "core/actions/MessageBox.h"

namespace quillon::test {

// Answers message boxes with scripted buttons, in order, and keeps every box shown. With the
// script used up it answers with the box's first button, as Enter would.
struct FakeMessageBoxes : MessageBoxes {
  MessageAnswer Show(const MessageBoxContent& box) override {
    Shown.push_back(box);
    if (Answers.empty()) return box.Buttons.front().Answer;
    const MessageAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::deque<MessageAnswer> Answers;
  std::vector<MessageBoxContent> Shown;
};

}  // namespace quillon::test

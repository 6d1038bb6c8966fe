#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace quillon::platform {

// The tasks posted to an event loop: pushed from any thread, run on the loop's thread.
class TaskQueue {
 public:
  void Push(std::function<void()> task) {
    const std::lock_guard lock(Mutex);
    Tasks.push_back(std::move(task));
  }

  // Runs the queued tasks in order, those they post included.
  void RunAll() {
    for (;;) {
      std::function<void()> task;
      {
        const std::lock_guard lock(Mutex);
        if (Tasks.empty()) return;
        task = std::move(Tasks.front());
        Tasks.pop_front();
      }
      task();
    }
  }

 private:
  std::mutex Mutex;
  std::deque<std::function<void()>> Tasks;
};

}  // namespace quillon::platform

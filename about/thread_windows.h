#pragma once
// Modal shows: while one window of a thread is up, the thread's other top-level windows
// take no input.
#include <vector>

#include "common/win_types.h"

namespace pinvale {

// Disables the visible, enabled top-level windows of the calling thread except one, and
// enables the same windows again when restored or destroyed. Windows that were disabled
// or hidden already are left as they were.
class DisabledThreadWindows {
 public:
  explicit DisabledThreadWindows(HWND except);
  ~DisabledThreadWindows() { Restore(); }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

  void Restore() noexcept;

 private:
  HWND except_;
  std::vector<HWND> disabled_;
};

}  // namespace pinvale

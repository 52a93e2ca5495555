#include "about/thread_windows.h"

#include <new>

namespace pinvale {
namespace {

struct Collection {
  HWND except;
  std::vector<HWND>* windows;
  bool out_of_memory;
};

// No exception may leave a callback of the system's.
BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) noexcept {
  auto* collection = reinterpret_cast<Collection*>(parameter);
  if (window == collection->except || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  try {
    collection->windows->push_back(window);
    return TRUE;
  } catch (...) {
    collection->out_of_memory = true;
    return FALSE;
  }
}

}  // namespace

DisabledThreadWindows::DisabledThreadWindows(HWND except) : except_(except) {
  // Collect first: disabling a window can make others change while the list is walked.
  Collection collection{except_, &disabled_, false};
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collection));
  if (collection.out_of_memory) throw std::bad_alloc();
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

void DisabledThreadWindows::Restore() noexcept {
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  disabled_.clear();
}

}  // namespace pinvale

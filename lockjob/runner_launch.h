#pragma once
// Starting the runner and the operation mutex around it.
#include <string>

#include "common/handle.h"

namespace pinvale {

// The full name of this library's own module file.
std::u16string GetLibraryFileName();

// The operation mutex "Keelmark Op", created owned; released and closed when it goes.
class OperationMutex {
 public:
  OperationMutex() : handle_(CreateMutexW(nullptr, TRUE, L"Keelmark Op")) {}
  ~OperationMutex() {
    // Released first: while another process holds a handle, a closed but owned mutex
    // would stay owned by this thread and hang everyone waiting on it.
    if (handle_) ReleaseMutex(handle_.get());
  }
  OperationMutex(const OperationMutex&) = delete;
  OperationMutex& operator=(const OperationMutex&) = delete;
  explicit operator bool() const { return static_cast<bool>(handle_); }

 private:
  UniqueHandle handle_;
};

// Starts the runner with the command line, desktop drawing suspended until it is idle
// waiting for input. Gives its process handle, or none when it could not be started.
UniqueHandle StartProcess(const std::u16string& runner_path, std::u16string command_line);

}  // namespace pinvale

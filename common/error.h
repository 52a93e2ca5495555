#pragma once
// The one error type the library raises inside an export. The export boundary turns it
// into the failure signal that the host sees; the class numbers are part of that signal.
#include <string>

namespace pinvale {

enum class ErrorClass : int {
  InOut = 1,       // a file operation failed; the message is the system's
  FileCreate = 2,  // the job file could not be written
  Registry = 3,    // the install path is not text
  OutOfMemory = 4,
  Other = 5,
};

struct Error {
  ErrorClass error_class;
  std::u16string message;
};

}  // namespace pinvale

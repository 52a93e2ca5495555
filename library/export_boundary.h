#pragma once
// Every export runs its body through ExportBoundary: no C++ exception crosses into the
// host. A failure becomes one structured exception, raised after the body's objects are
// destroyed (unwinding an SEH exception through GCC frames would skip their destructors):
//   code        FailureCode, flag EXCEPTION_NONCONTINUABLE
//   argument 0  address of the NUL-terminated UTF-16 message, valid on the raising
//               thread until the next failure raised there
//   argument 1  the ErrorClass number
// A host handler may still continue it; the export then returns its failure value.
#include "common/error.h"
#include "common/win_types.h"

namespace pinvale {

inline constexpr DWORD FailureCode = 0xE0504E56;

// Records the exception being handled as this thread's failure; call only inside a catch.
ErrorClass CaptureFailure() noexcept;
void RaiseFailure(ErrorClass error_class) noexcept;

template <class Result, class Body>
Result ExportBoundary(Result failed, Body&& body) noexcept {
  ErrorClass error_class;
  try {
    return body();
  } catch (...) {
    error_class = CaptureFailure();
  }
  RaiseFailure(error_class);
  return failed;
}

template <class Body>
void ExportBoundary(Body&& body) noexcept {
  ErrorClass error_class;
  try {
    body();
    return;
  } catch (...) {
    error_class = CaptureFailure();
  }
  RaiseFailure(error_class);
}

}  // namespace pinvale

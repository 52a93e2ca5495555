#include "library/export_boundary.h"

#include <exception>
#include <new>

namespace pinvale {
namespace {

// This thread's last failure; the host reads it through the exception's first argument.
thread_local std::u16string failure_message;
thread_local const char16_t* failure_text = u"";

void Keep(std::u16string message) {
  failure_message = std::move(message);
  failure_text = failure_message.c_str();
}

std::u16string Widen(const char* text) {
  std::u16string out;
  for (; *text; ++text) out.push_back(static_cast<unsigned char>(*text));
  return out;
}

}  // namespace

ErrorClass CaptureFailure() noexcept {
  try {
    try {
      throw;
    } catch (Error& e) {
      Keep(std::move(e.message));
      return e.error_class;
    } catch (const std::bad_alloc&) {
      failure_text = u"Out of memory";
      return ErrorClass::OutOfMemory;
    } catch (const std::exception& e) {
      Keep(Widen(e.what()));
    } catch (...) {
      failure_text = u"Unknown error";
    }
  } catch (...) {
    // Keeping the message itself ran out of memory.
    failure_text = u"Out of memory";
    return ErrorClass::OutOfMemory;
  }
  return ErrorClass::Other;
}

void RaiseFailure(ErrorClass error_class) noexcept {
  const ULONG_PTR arguments[2] = {reinterpret_cast<ULONG_PTR>(failure_text), static_cast<ULONG_PTR>(error_class)};
  RaiseException(FailureCode, EXCEPTION_NONCONTINUABLE, 2, arguments);
}

}  // namespace pinvale

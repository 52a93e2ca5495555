#include "support/failure_signal.h"

namespace test {
namespace {

Failure caught;

LONG CALLBACK Record(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& e = *info->ExceptionRecord;
  if (e.ExceptionCode != 0xE0504E56) return EXCEPTION_CONTINUE_SEARCH;
  caught.raised = true;
  caught.code = e.ExceptionCode;
  caught.flags = e.ExceptionFlags;
  if (e.NumberParameters == 2) {
    caught.message = reinterpret_cast<const wchar_t*>(e.ExceptionInformation[0]);
    caught.error_class = e.ExceptionInformation[1];
  }
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

FailureCatcher::FailureCatcher() : handler_(AddVectoredExceptionHandler(1, Record)) { caught = Failure{}; }
FailureCatcher::~FailureCatcher() { RemoveVectoredExceptionHandler(handler_); }
const Failure& FailureCatcher::failure() const { return caught; }

}  // namespace test

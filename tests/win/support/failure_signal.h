#pragma once
// Catches the library's failure signal the way a host can: a vectored handler that
// records the exception and continues it, so that the export returns its failure value.
#include <windows.h>

#include <string>

namespace test {

struct Failure {
  bool raised = false;
  DWORD code = 0;
  DWORD flags = 0;
  ULONG_PTR error_class = 0;
  std::wstring message;
};

class FailureCatcher {
 public:
  FailureCatcher();
  ~FailureCatcher();
  FailureCatcher(const FailureCatcher&) = delete;
  FailureCatcher& operator=(const FailureCatcher&) = delete;

  const Failure& failure() const;

 private:
  PVOID handler_;
};

}  // namespace test

#include "support/process.h"

#include <stdexcept>

#include "support/library.h"

namespace test {

Child::Child(const std::wstring& program, const std::wstring& arguments) {
  std::wstring path = BinDir() + program;
  std::wstring command = L"\"" + path + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info_))
    throw std::runtime_error("CreateProcessW failed");
  CloseHandle(info_.hThread);
}

Child::~Child() {
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
  CloseHandle(info_.hProcess);
}

DWORD Child::Wait() {
  if (WaitForSingleObject(info_.hProcess, 60000) != WAIT_OBJECT_0) throw std::runtime_error("helper hangs");
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

DWORD RunHelper(const std::wstring& program, const std::wstring& arguments) {
  return Child(program, arguments).Wait();
}

}  // namespace test

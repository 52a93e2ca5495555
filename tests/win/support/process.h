#pragma once
// Starting the tests' helper programs and waiting for them.
#include <windows.h>

#include <string>

namespace test {

// Runs BinDir()+program with the arguments and returns its exit code (a time-out fails the test).
DWORD RunHelper(const std::wstring& program, const std::wstring& arguments);

// A helper program that runs until the test is done with it.
class Child {
 public:
  Child(const std::wstring& program, const std::wstring& arguments);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  HANDLE process() const { return info_.hProcess; }
  DWORD Wait();  // exit code

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace test

#pragma once
// The DLL under test, loaded from the folder of the test program.
#include <windows.h>

#include <string>

namespace test {

// The folder of the running program, with a trailing backslash.
std::wstring BinDir();
std::wstring LibraryPath();

class Library {
 public:
  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  HMODULE get() const { return module_; }

  template <class F>
  F* Proc(const char* name) const {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

}  // namespace test

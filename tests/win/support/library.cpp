#include "support/library.h"

#include <stdexcept>

namespace test {

std::wstring BinDir() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring LibraryPath() { return BinDir() + L"Pinvale.dll"; }

Library::Library() : module_(LoadLibraryW(LibraryPath().c_str())) {
  if (!module_) throw std::runtime_error("LoadLibraryW failed");
}

Library::~Library() { FreeLibrary(module_); }

}  // namespace test

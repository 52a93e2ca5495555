#pragma once
// Points one import of a loaded module at another function, for as long as the object
// lives: a way to watch what the module hands to a system function without a seam in it.
#include <windows.h>

namespace test {

class ImportPatch {
 public:
  // Throws when module imports no function of that name from dll.
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  void* original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace test

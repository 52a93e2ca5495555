#include "support/import_patch.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace test {
namespace {

// The import address table entry through which module calls dll!function.
void** FindImportSlot(HMODULE module, const char* dll, const char* function) {
  auto base = reinterpret_cast<BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    // The lookup table keeps the names; the address table beside it holds the bound addresses.
    auto names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk
                                                                                         : d->FirstThunk));
    auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (std::size_t i = 0; names[i].u1.AddressOfData; ++i) {
      if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) continue;
      auto by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) == 0)
        return reinterpret_cast<void**>(&slots[i].u1.Function);
    }
  }
  throw std::runtime_error(std::string("no import of ") + dll + "!" + function);
}

void WriteSlot(void** slot, void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
    : slot_(FindImportSlot(module, dll, function)), original_(*slot_) {
  WriteSlot(slot_, replacement);
}

ImportPatch::~ImportPatch() { WriteSlot(slot_, original_); }

}  // namespace test

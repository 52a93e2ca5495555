#include "common/install_path.h"

#include "common/registry.h"

namespace pinvale {

std::u16string ReadInstallPath() {
  auto key = RegistryKey::OpenReadOnly(HKEY_LOCAL_MACHINE, u"Software\\Velmora\\Keelmark");
  return key ? key->ReadString(u"InstallPath") : std::u16string();
}

}  // namespace pinvale

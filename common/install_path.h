#pragma once
#include <string>

namespace pinvale {

// The installation folder recorded under HKLM\Software\Velmora\Keelmark, value
// "InstallPath", as stored; empty when the key or the value is missing.
std::u16string ReadInstallPath();

}  // namespace pinvale

#pragma once
// Windows headers for the platform layer, and the bridge between the API's wchar_t
// strings and the char16_t strings of the portable code (both UTF-16 on Windows).
#include <windows.h>

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace pinvale {

inline const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline const char16_t* Utf16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline char16_t* Utf16(wchar_t* s) { return reinterpret_cast<char16_t*>(s); }

}  // namespace pinvale

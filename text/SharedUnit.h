#pragma once
// The caption, message-box and messages-folder exports: thin adapters from the host's
// NUL-terminated UTF-16 strings to Localizer, MessageBoxW and the install path.
//
// GetLocaleCaptionWS and FormatLocaleCaptionWS write the text and a NUL into Buffer and
// return its length; with a null Buffer they write nothing and return the length only.
// GetMessagesFolder does the same (a length query with a null Buffer). A failure to read
// the install path leaves GetMessagesFolder as the library's failure signal, with
// nothing written.
#include <cstdint>
#include <string>

#include "common/win_types.h"

namespace pinvale {

// The messages folder of the installation recorded in the registry, or "" when none is.
std::u16string GetMessagesFolderPath();

}  // namespace pinvale

extern "C" {
std::int32_t __stdcall ShowMessageDialog(std::int32_t LangID, HWND Wnd, const wchar_t* Text, const wchar_t* Title,
                                         std::int32_t CaptionID, std::uint32_t Flags);
std::int32_t __stdcall FormatMessageDialog(std::int32_t LangID, HWND Wnd, const wchar_t* Text, const wchar_t* Title,
                                           const wchar_t* Param1, std::int32_t CaptionID, std::uint32_t Flags);
std::int32_t __stdcall GetLocaleCaptionWS(std::int32_t LangID, std::int32_t CaptionID, const wchar_t* Text,
                                          wchar_t* Buffer);
std::int32_t __stdcall FormatLocaleCaptionWS(std::int32_t LangID, std::int32_t CaptionID, const wchar_t* Text,
                                             wchar_t* Buffer, const wchar_t* Param1, const wchar_t* Param2);
std::int32_t __stdcall GetMessagesFolder(wchar_t* Buffer);
}

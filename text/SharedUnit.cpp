#include "text/SharedUnit.h"

#include "common/exported_string.h"
#include "common/install_path.h"
#include "library/export_boundary.h"
#include "text/Localizer.h"
#include "text/messages_folder.h"

namespace pinvale {
namespace {

// The box is always task-modal and topmost, so that it cannot hide behind the host's
// windows; the caller's other style bits pass unchanged. The title is shown as given.
std::int32_t ShowCaptionBox(HWND owner, const std::u16string& text, const wchar_t* title, std::uint32_t flags) {
  const std::u16string shown_title = ReadExportString(Utf16(title));
  return MessageBoxW(owner, Wide(text), Wide(shown_title), flags | MB_TASKMODAL | MB_TOPMOST);
}

}  // namespace

std::u16string GetMessagesFolderPath() { return MessagesFolderOf(ReadInstallPath()); }

}  // namespace pinvale

using namespace pinvale;

extern "C" std::int32_t __stdcall ShowMessageDialog(std::int32_t LangID, HWND Wnd, const wchar_t* Text,
                                                    const wchar_t* Title, std::int32_t CaptionID,
                                                    std::uint32_t Flags) {
  return ExportBoundary<std::int32_t>(0, [&] {
    return ShowCaptionBox(Wnd, GetLocaleCaption(LangID, CaptionID, ReadExportString(Utf16(Text))), Title, Flags);
  });
}

extern "C" std::int32_t __stdcall FormatMessageDialog(std::int32_t LangID, HWND Wnd, const wchar_t* Text,
                                                      const wchar_t* Title, const wchar_t* Param1,
                                                      std::int32_t CaptionID, std::uint32_t Flags) {
  return ExportBoundary<std::int32_t>(0, [&] {
    const std::u16string text =
        FormatLocaleCaption(LangID, CaptionID, ReadExportString(Utf16(Text)), ReadExportString(Utf16(Param1)), u"");
    return ShowCaptionBox(Wnd, text, Title, Flags);
  });
}

extern "C" std::int32_t __stdcall GetLocaleCaptionWS(std::int32_t LangID, std::int32_t CaptionID, const wchar_t* Text,
                                                     wchar_t* Buffer) {
  return ExportBoundary<std::int32_t>(0, [&] {
    return WriteExportString(GetLocaleCaption(LangID, CaptionID, ReadExportString(Utf16(Text))), Utf16(Buffer));
  });
}

extern "C" std::int32_t __stdcall FormatLocaleCaptionWS(std::int32_t LangID, std::int32_t CaptionID,
                                                        const wchar_t* Text, wchar_t* Buffer,
                                                        const wchar_t* Param1, const wchar_t* Param2) {
  return ExportBoundary<std::int32_t>(0, [&] {
    const std::u16string text = FormatLocaleCaption(LangID, CaptionID, ReadExportString(Utf16(Text)),
                                                    ReadExportString(Utf16(Param1)), ReadExportString(Utf16(Param2)));
    return WriteExportString(text, Utf16(Buffer));
  });
}

extern "C" std::int32_t __stdcall GetMessagesFolder(wchar_t* Buffer) {
  return ExportBoundary<std::int32_t>(0, [&] { return WriteExportString(GetMessagesFolderPath(), Utf16(Buffer)); });
}

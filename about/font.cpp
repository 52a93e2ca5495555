#include "about/font.h"

#include <cwchar>

namespace pinvale {
namespace {

void DropHandle(TFont& font) {
  font.Handle = nullptr;
  font.Owned.reset();
}

}  // namespace

TFont FontFromDesign(const TFontDesign& design) {
  TFont font;
  font.Description.lfHeight = design.Height;
  font.Description.lfWeight = design.Bold ? FW_BOLD : FW_NORMAL;
  font.Description.lfCharSet = design.CharSet;
  font.Description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.Description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.Description.lfQuality = DEFAULT_QUALITY;
  font.Description.lfPitchAndFamily = DEFAULT_PITCH;
  wcsncpy(font.Description.lfFaceName, design.Name, LF_FACESIZE - 1);
  font.Color = design.Color;
  return font;
}

void AssignFontHandle(TFont& font, HFONT handle, bool owned) {
  // The caller may hand in a null handle (a failed CreateFontIndirectW); the control
  // then draws with the system font, and the description stays as it was.
  LOGFONTW description{};
  if (handle && GetObjectW(handle, sizeof description, &description) == sizeof description)
    font.Description = description;
  DropHandle(font);
  font.Handle = handle;
  if (owned) font.Owned.reset(handle);
}

HFONT FontHandle(TFont& font) {
  if (!font.Handle) {
    font.Owned.reset(CreateFontIndirectW(&font.Description));
    font.Handle = font.Owned.get();
  }
  return font.Handle;
}

void SetBoldStyle(TFont& font) {
  LOGFONTW& d = font.Description;
  if (d.lfWeight == FW_BOLD && !d.lfItalic && !d.lfUnderline && !d.lfStrikeOut) return;
  d.lfWeight = FW_BOLD;
  d.lfItalic = d.lfUnderline = d.lfStrikeOut = FALSE;
  DropHandle(font);
}

}  // namespace pinvale

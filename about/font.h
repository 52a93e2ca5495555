#pragma once
// A font as the form and its controls hold it: a description and the font handle that
// goes with it, made from the description when first needed or handed in from outside.
#include "about/about_design.h"
#include "about/win32_objects.h"

namespace pinvale {

struct TFont {
  LOGFONTW Description{};
  int Color = COLOR_WINDOWTEXT;  // a system colour index
  HFONT Handle = nullptr;        // null until needed; a handed-in stock font is not owned
  UniqueFont Owned;
};

TFont FontFromDesign(const TFontDesign& design);

// Takes over the handle and the description it was made from; owned handles are
// deleted when the font changes again or goes.
void AssignFontHandle(TFont& font, HFONT handle, bool owned);

// The handle for the current description, made now if the font has none.
HFONT FontHandle(TFont& font);

// Style bold and nothing else; the next FontHandle makes the bold font.
void SetBoldStyle(TFont& font);

}  // namespace pinvale

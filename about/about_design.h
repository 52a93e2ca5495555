#pragma once
// The stored design of the About form: the values it is built from, in pixels at the
// design's own resolution. The form scales them to the screen before it creates itself.
#include <span>

#include "common/win_types.h"

namespace pinvale {

struct TFontDesign {
  const wchar_t* Name;
  int Height;     // LOGFONT height: negative is the character height in pixels
  BYTE CharSet;
  int Color;      // a system colour index
  bool Bold;
};

enum class TComponentClass {
  Bevel,   // a lowered frame, drawn behind the other components
  Image,   // shows an icon resource
  Label,   // one line of text
  Button,
};

struct TBounds {
  int Left, Top, Width, Height;
};

struct TComponentDesign {
  const wchar_t* Name = nullptr;
  TComponentClass Class = TComponentClass::Label;
  int Id = 0;  // the child window identifier
  TBounds Bounds{};
  const wchar_t* Caption = nullptr;  // labels and buttons
  bool ParentFont = true;            // false: the component has Font of its own
  TFontDesign Font{};
  bool AutoSize = false;             // labels: sized to their caption once the fonts are final
  bool ShowAccelChar = true;         // false: "&" shows as itself
  bool HandCursor = false;
  const wchar_t* Picture = nullptr;  // images: the icon resource
  bool Center = false, Proportional = false, Stretch = false;
  bool Default = false, Cancel = false;  // buttons: Enter and Escape press it
  int ModalResult = 0;                   // buttons: ends the modal show with this result
  const wchar_t* OnClick = nullptr;      // the handler's name, or null
};

struct TFormDesign {
  const wchar_t* ClassName;
  const wchar_t* Caption;
  int Left, Top;   // the design position; not used, the form is centred on the screen
  int ClientWidth, ClientHeight;
  int Color;       // a system colour index
  TFontDesign Font;
  int PixelsPerInch;
  int TextHeight;  // of the design font at PixelsPerInch; the yardstick for scaling
  const wchar_t* OnCreate;
  std::span<const TComponentDesign> Components;  // in creation order
};

extern const TFormDesign AboutFormDesign;

}  // namespace pinvale

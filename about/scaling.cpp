#include "about/scaling.h"

#include "about/win32_objects.h"

namespace pinvale {

TBounds ScaleBounds(const TBounds& bounds, int numerator, int denominator) {
  int left = MulDiv(bounds.Left, numerator, denominator);
  int top = MulDiv(bounds.Top, numerator, denominator);
  int right = MulDiv(bounds.Left + bounds.Width, numerator, denominator);
  int bottom = MulDiv(bounds.Top + bounds.Height, numerator, denominator);
  return {left, top, right - left, bottom - top};
}

int TextHeight(HFONT font) {
  ScreenDC dc;
  SelectedObject selected(dc.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), L"0", 1, &size);
  return size.cy;
}

int ScreenPixelsPerInch() {
  ScreenDC dc;
  return GetDeviceCaps(dc.get(), LOGPIXELSY);
}

}  // namespace pinvale

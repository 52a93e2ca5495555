#pragma once
// Scaling a design to the screen: by the ratio of two resolutions for fonts, by the
// ratio of two text heights for positions and sizes.
#include "about/about_design.h"

namespace pinvale {

// Each edge scales on its own, so that neighbouring components stay flush.
TBounds ScaleBounds(const TBounds& bounds, int numerator, int denominator);

// The height of the text "0" in the font: what the design's TextHeight measures.
int TextHeight(HFONT font);

// The screen's resolution in pixels per inch.
int ScreenPixelsPerInch();

}  // namespace pinvale

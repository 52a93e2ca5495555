// The About box as it shows: its frame, place and size, its controls and their fonts, at
// the design resolution and scaled at 144 DPI, and what it paints.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "support/about_box.h"
#include "support/files.h"
#include "support/import_patch.h"
#include "support/library.h"
#include "support/process.h"
#include "support/registry_value.h"

namespace {

constexpr wchar_t kProduct[] = L"Velmora Keelmark 3.3";
constexpr wchar_t kCopyright[] = L"Copyright \u00A9 2008-2026 Velmora";

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

std::string Describe(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

// Within a pixel: the rounding of scaled edges is the implementer's.
void ExpectNear(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_NEAR(actual.left, expected.left, 1) << what << " " << Describe(actual);
  EXPECT_NEAR(actual.top, expected.top, 1) << what << " " << Describe(actual);
  EXPECT_NEAR(actual.right, expected.right, 1) << what << " " << Describe(actual);
  EXPECT_NEAR(actual.bottom, expected.bottom, 1) << what << " " << Describe(actual);
}

// The design's layout scaled by numerator/denominator, each edge on its own, with the
// labels at their place and sized to their text in the fonts the box gave them.
void ExpectLayout(const test::BoxInfo& box, int numerator, int denominator) {
  auto scale = [&](int left, int top, int width, int height) {
    return RECT{MulDiv(left, numerator, denominator), MulDiv(top, numerator, denominator),
                MulDiv(left + width, numerator, denominator), MulDiv(top + height, numerator, denominator)};
  };
  EXPECT_NEAR(box.client.cx, MulDiv(353, numerator, denominator), 1);
  EXPECT_NEAR(box.client.cy, MulDiv(242, numerator, denominator), 1);
  EXPECT_EQ(box.control_count, 5);

  const test::ControlInfo* bevel = test::StaticOfType(box, SS_ETCHEDFRAME);
  const test::ControlInfo* image = test::StaticOfType(box, SS_OWNERDRAW);
  const test::ControlInfo* product = test::ControlWithText(box, kProduct);
  const test::ControlInfo* copyright = test::ControlWithText(box, kCopyright);
  const test::ControlInfo* ok = test::ControlWithText(box, L"OK");
  ASSERT_TRUE(bevel && image && product && copyright && ok);
  ExpectNear(bevel->rect, scale(8, 8, 337, 193), "Bevel1");
  ExpectNear(image->rect, scale(24, 24, 32, 32), "ProductImage");
  ExpectNear(ok->rect, scale(272, 208, 73, 25), "OKButton");
  struct Label {
    const test::ControlInfo* control;
    int left, top;
  };
  for (const Label& label : {Label{product, 72, 24}, Label{copyright, 72, 56}}) {
    SIZE text = test::LabelExtent(label.control->logfont, label.control->text);
    RECT place = scale(label.left, label.top, 0, 0);
    ExpectNear(label.control->rect, {place.left, place.top, place.left + text.cx, place.top + text.cy},
               "label sized to its text");
  }
}

void ExpectFont(const LOGFONTW& actual, const LOGFONTW& expected, LONG weight, BYTE italic, const char* what) {
  EXPECT_STREQ(actual.lfFaceName, expected.lfFaceName) << what;
  EXPECT_EQ(actual.lfHeight, expected.lfHeight) << what;
  EXPECT_EQ(actual.lfWeight, weight) << what;
  EXPECT_EQ(actual.lfItalic, italic) << what;
}

// The form's font on the copyright label and the button, the same font bold (and
// nothing else) on the product label.
void ExpectFonts(const test::BoxInfo& box, const LOGFONTW& expected) {
  const test::ControlInfo* product = test::ControlWithText(box, kProduct);
  const test::ControlInfo* copyright = test::ControlWithText(box, kCopyright);
  const test::ControlInfo* ok = test::ControlWithText(box, L"OK");
  ASSERT_TRUE(product && copyright && ok);
  ASSERT_TRUE(product->font && copyright->font && ok->font);
  ExpectFont(copyright->logfont, expected, expected.lfWeight, expected.lfItalic, "CopyrightLabel");
  ExpectFont(ok->logfont, expected, expected.lfWeight, expected.lfItalic, "OKButton");
  ExpectFont(product->logfont, expected, FW_BOLD, FALSE, "ProductLabel");
}

class AboutForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenDpi(), 96) << "the prefix's LogPixels was left changed";
    ASSERT_NE(show, nullptr);
  }
  test::Library library;
  test::ShowAboutFormFunction* show = library.Proc<test::ShowAboutFormFunction>("ShowAboutForm");
};

TEST_F(AboutForm, FrameCaptionAndPlaceAtTheDesignResolution) {
  test::AboutHost host(show);
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  test::BoxInfo box = test::Inspect(window, host.thread_id());

  EXPECT_STREQ(box.class_name, L"TAboutForm");
  EXPECT_STREQ(box.caption, L"About");
  // A dialog frame with a title bar and close box, neither resizable nor min/maximisable.
  EXPECT_EQ(box.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(box.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0);
  EXPECT_NE(box.ex_style & WS_EX_DLGMODALFRAME, 0);
  EXPECT_EQ(box.client.cx, 353);
  EXPECT_EQ(box.client.cy, 242);
  EXPECT_NEAR(box.rect.left + box.rect.right, box.screen.cx, 1) << "centred across " << Describe(box.rect);
  EXPECT_NEAR(box.rect.top + box.rect.bottom, box.screen.cy, 1) << "centred down " << Describe(box.rect);
}

TEST_F(AboutForm, ControlsAtTheDesignResolution) {
  test::AboutHost host(show);
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  test::BoxInfo box = test::Inspect(window, host.thread_id());
  ExpectLayout(box, 1, 1);

  const test::ControlInfo* product = test::ControlWithText(box, kProduct);
  const test::ControlInfo* copyright = test::ControlWithText(box, kCopyright);
  const test::ControlInfo* ok = test::ControlWithText(box, L"OK");
  ASSERT_TRUE(product && copyright && ok);
  for (const test::ControlInfo* label : {product, copyright}) {
    EXPECT_STREQ(label->class_name, L"Static");
    // Clickable, and "&" is text, not an accelerator mark.
    EXPECT_NE(label->style & SS_NOTIFY, 0) << label->text;
    EXPECT_NE(label->style & SS_NOPREFIX, 0) << label->text;
  }
  EXPECT_STREQ(ok->class_name, L"Button");
  EXPECT_EQ(ok->style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_NE(ok->style & WS_TABSTOP, 0);
  EXPECT_EQ(box.focus, ok->window) << "the focus is on OK";
  for (int i = 0; i < box.control_count; ++i) {
    if (box.controls[i].window != ok->window) {
      EXPECT_EQ(box.controls[i].style & WS_TABSTOP, 0) << i;
    }
  }
}

// The box asks for the icon-title font at each show: the system's, another one, or none
// (the default GUI font then). Nothing is kept from one show to the next.
struct IconTitleFont {
  bool available;
  LOGFONTW font;
};
IconTitleFont g_icon_title;
decltype(&SystemParametersInfoW) g_real_parameters;

BOOL WINAPI ReplacedParameters(UINT action, UINT parameter, PVOID data, UINT flags) {
  if (action != SPI_GETICONTITLELOGFONT) return g_real_parameters(action, parameter, data, flags);
  if (!g_icon_title.available || parameter != sizeof(LOGFONTW)) return FALSE;
  *static_cast<LOGFONTW*>(data) = g_icon_title.font;
  return TRUE;
}

LOGFONTW Font(const wchar_t* face, LONG height, LONG weight, BYTE italic) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

TEST_F(AboutForm, FontsComeFromTheIconTitleFontAtEachShow) {
  LOGFONTW system{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof system, &system, 0));
  {
    test::AboutHost host(show);
    HWND window = host.WaitForBox();
    ASSERT_NE(window, nullptr);
    SCOPED_TRACE("the system's icon-title font");
    ExpectFonts(test::Inspect(window, host.thread_id()), system);
  }

  test::ImportPatch patch(library.get(), "user32.dll", "SystemParametersInfoW",
                          reinterpret_cast<void*>(&ReplacedParameters));
  g_real_parameters = reinterpret_cast<decltype(g_real_parameters)>(patch.original());
  const IconTitleFont cases[] = {
      {true, Font(L"Courier New", -20, FW_NORMAL, TRUE)},  // italic: the product label drops it
      {true, Font(L"Times New Roman", -14, FW_BOLD, FALSE)},  // changed since the last show
      {false, {}},
  };
  for (const IconTitleFont& c : cases) {
    g_icon_title = c;
    LOGFONTW expected = c.font;
    if (!c.available) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof expected, &expected);
    test::AboutHost host(show);
    HWND window = host.WaitForBox();
    ASSERT_NE(window, nullptr);
    SCOPED_TRACE(c.available ? "replaced icon-title font" : "no icon-title font");
    test::BoxInfo box = test::Inspect(window, host.thread_id());
    ExpectFonts(box, expected);
    ExpectLayout(box, 1, 1);  // the labels fit their text in the new fonts
    if (!c.available) {
      EXPECT_EQ(test::ControlWithText(box, kCopyright)->font, GetStockObject(DEFAULT_GUI_FONT));
    }
  }
}

// At another resolution the design font grows with it, and positions and sizes with the
// text height of that font over the design's 15. Each process reads the resolution when
// it starts, so the box shows in a helper process started after the change.
TEST_F(AboutForm, ScaledAt144Dpi) {
  test::ScratchFolder folder;
  test::BoxInfo box{};
  {
    test::RegistryValue dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    dpi.SetDword(144);
    ASSERT_EQ(test::RunHelper(L"about_probe.exe", L"\"" + (folder / L"box.bin") + L"\""), 0u);
  }
  std::string bytes = test::ReadFileBytes(folder / L"box.bin");
  ASSERT_EQ(bytes.size(), sizeof box);
  memcpy(&box, bytes.data(), sizeof box);
  ASSERT_EQ(box.dpi, 144);

  // The design font at 144 DPI: "Segoe UI", -12 * 144 / 96.
  LOGFONTW design = Font(L"Segoe UI", -18, FW_NORMAL, FALSE);
  design.lfCharSet = ANSI_CHARSET;
  int text_height = test::LabelExtent(design, L"0").cy;
  ASSERT_GT(text_height, 15);
  ExpectLayout(box, text_height, 15);
  ExpectFonts(box, box.icon_title_font);
  EXPECT_NEAR(box.rect.left + box.rect.right, box.screen.cx, 1) << "centred across " << Describe(box.rect);
  EXPECT_NEAR(box.rect.top + box.rect.bottom, box.screen.cy, 1) << "centred down " << Describe(box.rect);
}

bool SameColour(COLORREF a, COLORREF b) {
  return abs(GetRValue(a) - GetRValue(b)) <= 8 && abs(GetGValue(a) - GetGValue(b)) <= 8 &&
         abs(GetBValue(a) - GetBValue(b)) <= 8;
}

TEST_F(AboutForm, PaintsTheFormTheIconAndTheText) {
  test::AboutHost host(show);
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  test::BoxInfo box = test::Inspect(window, host.thread_id());
  const test::ControlInfo* image = test::StaticOfType(box, SS_OWNERDRAW);
  const test::ControlInfo* product = test::ControlWithText(box, kProduct);
  ASSERT_TRUE(image && product);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  COLORREF face = GetSysColor(COLOR_BTNFACE);
  HDC dc = GetDC(window);
  EXPECT_TRUE(SameColour(GetPixel(dc, 3, 3), face)) << "form background";
  EXPECT_TRUE(SameColour(GetPixel(dc, 150, 150), face)) << "inside the frame";
  // The icon fills its 32 x 32 box but for its transparent rounded corners.
  int centre_x = (image->rect.left + image->rect.right) / 2, centre_y = (image->rect.top + image->rect.bottom) / 2;
  EXPECT_FALSE(SameColour(GetPixel(dc, centre_x, centre_y), face)) << "icon drawn";
  EXPECT_FALSE(SameColour(GetPixel(dc, image->rect.left + 3, centre_y), face)) << "icon reaches the left edge";
  EXPECT_FALSE(SameColour(GetPixel(dc, image->rect.right - 4, centre_y), face)) << "icon reaches the right edge";
  EXPECT_TRUE(SameColour(GetPixel(dc, image->rect.left, image->rect.top), face)) << "transparent corner";
  ReleaseDC(window, dc);
  EXPECT_GT(test::DarkPixels(product->window), 20) << "label text in the window text colour";
}

TEST_F(AboutForm, AmpersandShowsAsItself) {
  test::AboutHost host(show);
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  test::BoxInfo box = test::Inspect(window, host.thread_id());
  struct Case {
    const wchar_t* text;
    const char* name;
  };
  for (const Case& c : {Case{kProduct, "ProductLabel"}, Case{kCopyright, "CopyrightLabel"}}) {
    const test::ControlInfo* label = test::ControlWithText(box, c.text);
    // "&&&&" is four ampersands as text, two under the accelerator rule.
    int one = test::LabelExtent(label->logfont, L"&").cx;
    SetWindowTextW(label->window, L"&&&&");
    UpdateWindow(label->window);
    EXPECT_GT(test::InkWidth(label->window), 3 * one) << c.name << ": ampersands taken for accelerator marks";
  }
}

TEST_F(AboutForm, HandCursorOverTheLabels) {
  test::AboutHost host(show);
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  test::BoxInfo box = test::Inspect(window, host.thread_id());
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND), arrow = LoadCursorW(nullptr, IDC_ARROW);
  struct Case {
    const wchar_t* text;
    const char* name;
    HCURSOR cursor;
  };
  for (const Case& c : {Case{kProduct, "ProductLabel", hand}, Case{L"OK", "OKButton", arrow},
                        Case{kCopyright, "CopyrightLabel", hand}}) {
    test::MoveMouseTo(test::CentreOf(test::ControlWithText(box, c.text)->window));
    CURSORINFO info{};
    info.cbSize = sizeof info;
    for (int i = 0; i < 100; ++i) {
      GetCursorInfo(&info);
      if (info.hCursor == c.cursor) break;
      Sleep(20);
    }
    EXPECT_EQ(info.hCursor, c.cursor) << c.name;
  }
}

}  // namespace

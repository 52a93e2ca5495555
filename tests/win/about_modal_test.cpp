// The About box's modal show: what ends it and what does not, the host's windows while it
// is up, and that every show frees what it made, whichever way it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "support/about_box.h"
#include "support/failure_signal.h"
#include "support/files.h"
#include "support/import_patch.h"
#include "support/library.h"
#include "support/registry_value.h"

namespace {

constexpr wchar_t kProduct[] = L"Velmora Keelmark 3.3";
constexpr wchar_t kCopyright[] = L"Copyright \u00A9 2008-2026 Velmora";

class AboutModal : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(show, nullptr); }
  test::Library library;
  test::ShowAboutFormFunction* show = library.Proc<test::ShowAboutFormFunction>("ShowAboutForm");
};

std::vector<HWND> WindowsOf(const test::BoxInfo& box) {
  std::vector<HWND> windows{box.window};
  for (int i = 0; i < box.control_count; ++i) windows.push_back(box.controls[i].window);
  return windows;
}

TEST_F(AboutModal, EachWayOfClosingEndsTheShow) {
  struct Case {
    const char* name;
    std::function<void(const test::AboutHost&, const test::BoxInfo&)> close;
  };
  const Case cases[] = {
      {"Enter", [](auto&, auto&) { test::PressKey(VK_RETURN); }},
      {"Escape", [](auto&, auto&) { test::PressKey(VK_ESCAPE); }},
      {"Alt+F4", [](auto&, auto&) { test::PressKey(VK_F4, true); }},
      {"close box", [](auto&, auto& box) { test::ClickAt(test::CloseBoxOf(box.window)); }},
      {"OK clicked", [](auto&, auto& box) { test::ClickAt(test::CentreOf(test::ControlWithText(box, L"OK")->window)); }},
      // The host's own loop still gets its WM_QUIT after the box has gone.
      {"WM_QUIT", [](auto& host, auto&) { PostThreadMessageW(host.thread_id(), WM_QUIT, 42, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::AboutHost host(show);
    HWND window = host.WaitForBox();
    ASSERT_NE(window, nullptr);
    test::BoxInfo box = test::Inspect(window, host.thread_id());
    c.close(host, box);
    ASSERT_TRUE(host.WaitForReturn()) << "ShowAboutForm did not return";
    for (HWND w : WindowsOf(box)) EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(host.quit_code(), std::strcmp(c.name, "WM_QUIT") == 0 ? 42 : -1);
  }
}

// The test prefix's handler for https and mailto addresses: the recorder, which writes
// the address it was given into a file of its scheme.
class AddressRecorder {
 public:
  AddressRecorder()
      : https_(HKEY_LOCAL_MACHINE, L"Software\\Classes\\https\\shell\\open\\command", L""),
        mailto_(HKEY_LOCAL_MACHINE, L"Software\\Classes\\mailto\\shell\\open\\command", L"") {
    https_.SetString(Command(L"https"));
    mailto_.SetString(Command(L"mailto"));
  }
  // What the recorder was given for the scheme, waiting for it a while; empty if nothing.
  std::string Opened(const std::wstring& scheme) {
    for (int i = 0; i < 300 && !test::FileExists(folder_ / scheme); ++i) Sleep(50);
    return test::FileExists(folder_ / scheme) ? test::ReadFileBytes(folder_ / scheme) : std::string();
  }

 private:
  std::wstring Command(const std::wstring& scheme) {
    return L"\"" + test::BinDir() + L"url_recorder.exe\" \"" + (folder_ / scheme) + L"\" \"%1\"";
  }
  test::ScratchFolder folder_;
  test::RegistryValue https_;
  test::RegistryValue mailto_;
};

TEST_F(AboutModal, ClickingALabelOpensItsAddressAndLeavesTheBoxOpen) {
  AddressRecorder recorder;
  test::AboutHost host(show);
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  test::BoxInfo box = test::Inspect(window, host.thread_id());
  struct Case {
    const wchar_t* label;
    const wchar_t* scheme;
    const char* address;
  };
  for (const Case& c : {Case{kProduct, L"https", "https://www.velmora.example/keelmark"},
                        Case{kCopyright, L"mailto", "mailto:support@velmora.example"}}) {
    SCOPED_TRACE(c.address);
    test::ClickAt(test::CentreOf(test::ControlWithText(box, c.label)->window));
    EXPECT_EQ(recorder.Opened(c.scheme), c.address);
    EXPECT_FALSE(host.WaitForReturn(300)) << "the click closed the box";
    EXPECT_TRUE(IsWindowVisible(window));
  }
  test::ClickAt(test::CentreOf(test::ControlWithText(box, L"OK")->window));
  EXPECT_TRUE(host.WaitForReturn()) << "the box no longer closes after the clicks";
}

TEST_F(AboutModal, DisablesTheCallingThreadsWindowsWhileShown) {
  // Made before the box, so that it cannot take the foreground from it (and the key below).
  HWND other_thread = test::CreateHostWindow(L"another thread's");
  // The host thread's windows: shown and enabled, shown but disabled already, hidden.
  test::AboutHost host(show, [](std::vector<HWND>& windows) {
    windows.push_back(test::CreateHostWindow(L"host"));
    windows.push_back(test::CreateHostWindow(L"disabled"));
    EnableWindow(windows.back(), FALSE);
    windows.push_back(test::CreateHostWindow(L"hidden", false));
    SetActiveWindow(windows.front());
  });
  HWND window = host.WaitForBox();
  ASSERT_NE(window, nullptr);
  HWND shown = host.windows()[0], disabled = host.windows()[1], hidden = host.windows()[2];

  EXPECT_FALSE(IsWindowEnabled(shown));
  EXPECT_FALSE(IsWindowEnabled(disabled));
  EXPECT_TRUE(IsWindowEnabled(hidden));
  EXPECT_TRUE(IsWindowEnabled(other_thread));
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_EQ(GetWindow(window, GW_OWNER), shown) << "owned by the host's active window";

  test::PressKey(VK_ESCAPE);
  ASSERT_TRUE(host.WaitForReturn());
  EXPECT_TRUE(IsWindowEnabled(shown));
  EXPECT_FALSE(IsWindowEnabled(disabled)) << "a window disabled before stays disabled";
  EXPECT_TRUE(IsWindowEnabled(hidden));
  EXPECT_TRUE(IsWindowEnabled(other_thread));
  DestroyWindow(other_thread);
}

// What the library makes through gdi32 and user32, recorded at the import table.
struct Made {
  std::mutex lock;
  std::vector<HGDIOBJ> gdi_objects;
  std::vector<HICON> icons;
  std::vector<HWND> windows;
  int fail_windows_of_class = 0;  // non-zero: creating a "Button" fails
};
Made g_made;
decltype(&CreateFontIndirectW) g_create_font;
decltype(&CreateSolidBrush) g_create_brush;
decltype(&LoadImageW) g_load_image;
decltype(&CreateWindowExW) g_create_window;

HFONT WINAPI RecordFont(const LOGFONTW* font) {
  HFONT made = g_create_font(font);
  std::lock_guard<std::mutex> hold(g_made.lock);
  g_made.gdi_objects.push_back(made);
  return made;
}

HBRUSH WINAPI RecordBrush(COLORREF colour) {
  HBRUSH made = g_create_brush(colour);
  std::lock_guard<std::mutex> hold(g_made.lock);
  g_made.gdi_objects.push_back(made);
  return made;
}

HANDLE WINAPI RecordImage(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  HANDLE made = g_load_image(module, name, type, cx, cy, flags);
  std::lock_guard<std::mutex> hold(g_made.lock);
  if (type == IMAGE_ICON) g_made.icons.push_back(static_cast<HICON>(made));
  return made;
}

HWND WINAPI RecordWindow(DWORD ex_style, LPCWSTR class_name, LPCWSTR title, DWORD style, int x, int y, int width,
                         int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
  if (g_made.fail_windows_of_class && !IS_INTRESOURCE(class_name) && _wcsicmp(class_name, L"Button") == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HWND made = g_create_window(ex_style, class_name, title, style, x, y, width, height, parent, menu, instance, parameter);
  std::lock_guard<std::mutex> hold(g_made.lock);
  g_made.windows.push_back(made);
  return made;
}

class Recording {
 public:
  explicit Recording(HMODULE library)
      : font_(library, "gdi32.dll", "CreateFontIndirectW", reinterpret_cast<void*>(&RecordFont)),
        brush_(library, "gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(&RecordBrush)),
        image_(library, "user32.dll", "LoadImageW", reinterpret_cast<void*>(&RecordImage)),
        window_(library, "user32.dll", "CreateWindowExW", reinterpret_cast<void*>(&RecordWindow)) {
    g_create_font = reinterpret_cast<decltype(g_create_font)>(font_.original());
    g_create_brush = reinterpret_cast<decltype(g_create_brush)>(brush_.original());
    g_load_image = reinterpret_cast<decltype(g_load_image)>(image_.original());
    g_create_window = reinterpret_cast<decltype(g_create_window)>(window_.original());
    Clear();
  }
  ~Recording() { g_made.fail_windows_of_class = 0; }
  void Clear() {
    std::lock_guard<std::mutex> hold(g_made.lock);
    g_made.gdi_objects.clear();
    g_made.icons.clear();
    g_made.windows.clear();
  }

 private:
  test::ImportPatch font_, brush_, image_, window_;
};

bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

bool ClassRegistered(HMODULE library) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  return GetClassInfoExW(library, L"TAboutForm", &info) != FALSE;
}

// What a show made and what the test saw of it while the box was up is gone afterwards.
void ExpectAllFreed(const std::vector<HWND>& seen_windows, const std::vector<HGDIOBJ>& seen_objects) {
  std::lock_guard<std::mutex> hold(g_made.lock);
  for (HWND w : seen_windows) EXPECT_FALSE(IsWindow(w));
  for (HWND w : g_made.windows) EXPECT_FALSE(IsWindow(w));
  for (HGDIOBJ o : seen_objects) EXPECT_EQ(GetObjectType(o), 0u) << o;
  for (HGDIOBJ o : g_made.gdi_objects) EXPECT_EQ(GetObjectType(o), 0u) << o;
  for (HICON icon : g_made.icons) EXPECT_FALSE(IconAlive(icon)) << icon;
}

TEST_F(AboutModal, FiftyShowsLeaveNothingBehind) {
  Recording recording(library.get());
  std::set<HWND> boxes;
  size_t fonts_and_brushes = 0, icons = 0, windows = 0;
  const int shows = 50;
  for (int i = 0; i < shows; ++i) {
    SCOPED_TRACE(testing::Message() << "show " << i);
    recording.Clear();
    test::AboutHost host(show);
    HWND window = host.WaitForBox();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(boxes.insert(window).second) << "a box of an earlier show again";
    test::BoxInfo box = test::Inspect(window, host.thread_id());
    std::vector<HGDIOBJ> seen;
    for (int c = 0; c < box.control_count; ++c)
      if (box.controls[c].font) seen.push_back(box.controls[c].font);
    HDC dc = GetDC(nullptr);
    seen.push_back(reinterpret_cast<HGDIOBJ>(
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box.controls[0].window))));
    ReleaseDC(nullptr, dc);
    {
      std::lock_guard<std::mutex> hold(g_made.lock);
      ASSERT_FALSE(g_made.gdi_objects.empty());
      ASSERT_EQ(g_made.icons.size(), 1u);
      ASSERT_NE(g_made.icons[0], nullptr);
      fonts_and_brushes += g_made.gdi_objects.size();
      icons += g_made.icons.size();
      windows += g_made.windows.size();
    }
    // Each way of ending, in turn.
    switch (i % 3) {
      case 0: test::PressKey(VK_RETURN); break;
      case 1: test::PressKey(VK_ESCAPE); break;
      case 2: PostMessageW(window, WM_CLOSE, 0, 0); break;
    }
    ASSERT_TRUE(host.WaitForReturn());
    ExpectAllFreed(WindowsOf(box), seen);
    EXPECT_FALSE(ClassRegistered(library.get()));
  }
  // The shared stock objects are the only ones the box may use without deleting them.
  std::printf("%d shows made %zu fonts and brushes, %zu icons and %zu windows; all gone\n", shows, fonts_and_brushes,
              icons, windows);
}

TEST_F(AboutModal, AFailedShowRaisesTheFailureAndFreesWhatItMade) {
  Recording recording(library.get());
  g_made.fail_windows_of_class = 1;
  test::FailureCatcher catcher;
  // The host thread lives on through the checks: its windows would go with it.
  test::AboutHost host(show);
  ASSERT_TRUE(host.WaitForReturn()) << "ShowAboutForm did not return";
  EXPECT_TRUE(catcher.failure().raised);
  EXPECT_FALSE(catcher.failure().message.empty());
  {
    std::lock_guard<std::mutex> hold(g_made.lock);
    EXPECT_GE(g_made.windows.size(), 1u) << "the form's window was made before the button";
  }
  ExpectAllFreed({}, {});
  EXPECT_FALSE(ClassRegistered(library.get()));
}

}  // namespace

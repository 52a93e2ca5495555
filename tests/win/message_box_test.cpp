// ShowMessageDialog and FormatMessageDialog through the real DLL. Real boxes under the X
// server, watched from this thread with a CBT hook, show what the user sees; a recording
// stand-in patched into the DLL's import of MessageBoxW shows the exact arguments, which
// the box does not reveal under Wine (no WS_EX_TOPMOST for MB_TOPMOST).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/import_patch.h"
#include "support/library.h"

namespace {

using ShowDialog = std::int32_t __stdcall(std::int32_t, HWND, const wchar_t*, const wchar_t*, std::int32_t,
                                          std::uint32_t);
using FormatDialog = std::int32_t __stdcall(std::int32_t, HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                            std::int32_t, std::uint32_t);

// What the watcher saw of the one box that came up, and how it closed it.
struct SeenBox {
  int boxes = 0;
  std::wstring title;
  std::vector<std::wstring> texts;  // of the static controls
  std::vector<int> buttons;         // visible buttons, by control id
  HWND owner = nullptr;
  bool stuck = false;  // the box ignored the watcher's action
};

struct Press {
  enum { Button, Escape } how;
  int button = 0;
};

SeenBox seen;
Press press;
HWND box = nullptr;
int ticks = 0;

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM) {
  const std::wstring kind = ClassOf(child);
  if (_wcsicmp(kind.c_str(), L"Static") == 0) seen.texts.push_back(WindowText(child));
  if (_wcsicmp(kind.c_str(), L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
    seen.buttons.push_back(GetDlgCtrlID(child));
  return TRUE;
}

// Runs inside the box's modal loop: read the box once, act, and end it by force if the
// action did not close it within three seconds.
void CALLBACK OnTick(HWND window, UINT, UINT_PTR, DWORD) {
  if (ticks++ == 0) {
    seen.title = WindowText(window);
    seen.owner = GetWindow(window, GW_OWNER);
    EnumChildWindows(window, ReadChild, 0);
    if (press.how == Press::Button) {
      SendMessageW(GetDlgItem(window, press.button), BM_CLICK, 0, 0);
    } else {
      HWND focus = GetFocus();
      PostMessageW(focus ? focus : window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  } else if (ticks > 60) {
    seen.stuck = true;
    EndDialog(window, -1);
  }
}

LRESULT CALLBACK OnCbt(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wparam);
    if (window != box && ClassOf(window) == L"#32770") {
      box = window;
      ++seen.boxes;
      SetTimer(window, 1, 50, OnTick);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Watches the boxes that this thread opens while it lives.
class BoxWatcher {
 public:
  explicit BoxWatcher(Press action) : hook_(nullptr) {
    seen = SeenBox{};
    press = action;
    box = nullptr;
    ticks = 0;
    hook_ = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
  }
  ~BoxWatcher() { UnhookWindowsHookEx(hook_); }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  bool hooked() const { return hook_ != nullptr; }

 private:
  HHOOK hook_;
};

class OwnerWindow {
 public:
  OwnerWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"Pinvale test owner", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~OwnerWindow() { DestroyWindow(window_); }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

bool Shows(const SeenBox& box, const std::wstring& text) {
  for (const std::wstring& t : box.texts)
    if (t == text) return true;
  return false;
}

TEST(MessageBoxes, ShowMessageDialogShowsTheCaptionWithTheTitleAsGiven) {
  test::Library library;
  auto show = library.Proc<ShowDialog>("ShowMessageDialog");
  ASSERT_NE(show, nullptr);
  OwnerWindow owner;
  ASSERT_NE(owner.get(), nullptr);
  BoxWatcher watcher({Press::Button, IDNO});
  ASSERT_TRUE(watcher.hooked());

  EXPECT_EQ(show(0x0409, owner.get(), L"First<1310>Second<9>tabbed", L"Title <13> %s1%", 4, MB_YESNO), IDNO);
  ASSERT_EQ(seen.boxes, 1);
  EXPECT_FALSE(seen.stuck);
  EXPECT_EQ(seen.title, L"Title <13> %s1%");
  EXPECT_TRUE(Shows(seen, L"First\r\nSecond\ttabbed"));
  EXPECT_EQ(seen.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(seen.owner, owner.get());
}

TEST(MessageBoxes, NullTextAndTitleShowAnEmptyBoxThatEscapeCancels) {
  test::Library library;
  auto show = library.Proc<ShowDialog>("ShowMessageDialog");
  ASSERT_NE(show, nullptr);
  BoxWatcher watcher({Press::Escape});

  EXPECT_EQ(show(0, nullptr, nullptr, nullptr, 0, MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(seen.boxes, 1);
  EXPECT_FALSE(seen.stuck);
  EXPECT_EQ(seen.title, L"");
  for (const std::wstring& text : seen.texts) EXPECT_EQ(text, L"");
  EXPECT_EQ(seen.buttons, (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(seen.owner, nullptr);
}

TEST(MessageBoxes, FormatMessageDialogFillsTheFirstPlaceholderAndDropsTheSecond) {
  test::Library library;
  auto format = library.Proc<FormatDialog>("FormatMessageDialog");
  ASSERT_NE(format, nullptr);
  OwnerWindow owner;
  BoxWatcher watcher({Press::Button, IDOK});

  EXPECT_EQ(format(0, owner.get(), L"Locked %s1%.%s2%<10>Done", L"%s1%", L"deck.pptx", 0, 0), IDOK);
  ASSERT_EQ(seen.boxes, 1);
  EXPECT_FALSE(seen.stuck);
  EXPECT_EQ(seen.title, L"%s1%");
  EXPECT_TRUE(Shows(seen, L"Locked deck.pptx.\nDone"));
  EXPECT_EQ(seen.buttons, std::vector<int>{IDOK});
  EXPECT_EQ(seen.owner, owner.get());
}

// The recording stand-in for MessageBoxW.
struct Call {
  int count = 0;
  HWND owner = nullptr;
  std::wstring text;
  bool title_null = false;
  std::wstring title;
  UINT style = 0;
};
Call call;
int answer = 0;

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT style) {
  ++call.count;
  call.owner = owner;
  call.text = text ? text : L"(null)";
  call.title_null = title == nullptr;
  call.title = title ? title : L"";
  call.style = style;
  return answer;
}

class RecordedMessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    call = Call{};
    answer = 0;
    patch_ = std::make_unique<test::ImportPatch>(library_.get(), "user32.dll", "MessageBoxW",
                                                 reinterpret_cast<void*>(RecordMessageBox));
    show_ = library_.Proc<ShowDialog>("ShowMessageDialog");
    format_ = library_.Proc<FormatDialog>("FormatMessageDialog");
    ASSERT_TRUE(show_ && format_);
  }
  void TearDown() override { patch_.reset(); }

  test::Library library_;
  std::unique_ptr<test::ImportPatch> patch_;
  ShowDialog* show_ = nullptr;
  FormatDialog* format_ = nullptr;
};

TEST_F(RecordedMessageBoxes, StyleGainsTaskModalAndTopmostAndKeepsEveryOtherBit) {
  const struct {
    UINT flags, style;
  } cases[] = {
      {0, 0x42000},
      {MB_TASKMODAL, 0x42000},
      {MB_TOPMOST, 0x42000},
      {MB_TASKMODAL | MB_TOPMOST, 0x42000},
      {MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3, MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3 | 0x42000},
      {MB_SYSTEMMODAL | MB_RIGHT | MB_RTLREADING, MB_SYSTEMMODAL | MB_RIGHT | MB_RTLREADING | 0x42000},
      {0x80000000u, 0x80042000u},
      {0xFFFFFFFFu, 0xFFFFFFFFu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    call = Call{};
    EXPECT_EQ(show_(0, nullptr, L"t", L"", 0, c.flags), 0);
    EXPECT_EQ(call.style, c.style);
    call = Call{};
    EXPECT_EQ(format_(0, nullptr, L"t", L"", nullptr, 0, c.flags), 0);
    EXPECT_EQ(call.style, c.style);
  }
}

TEST_F(RecordedMessageBoxes, OwnerTextTitleAndResultPassThrough) {
  // An owner value with bits above 32 on x64: the handle must travel at full width.
  const HWND owner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(sizeof(void*) == 8 ? 0x1234567890ull
                                                                                          : 0x12345678u));
  answer = IDRETRY;
  EXPECT_EQ(show_(0x0407, owner, L"a<13>b", nullptr, 99, MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(call.count, 1);
  EXPECT_EQ(call.owner, owner);
  EXPECT_EQ(call.text, L"a\rb");
  EXPECT_FALSE(call.title_null) << "a null title must reach MessageBoxW as an empty string";
  EXPECT_EQ(call.title, L"");

  call = Call{};
  answer = 0x7FFFFFFF;
  EXPECT_EQ(format_(0, owner, L"%s1%|%s2%|%s1%", L"<9>%s1%", L"%s2%", 0, 0), 0x7FFFFFFF);
  EXPECT_EQ(call.count, 1);
  EXPECT_EQ(call.owner, owner);
  EXPECT_EQ(call.text, L"||") << "the %s2% that Param1 brings in goes like any other";
  EXPECT_EQ(call.title, L"<9>%s1%");
}

}  // namespace

#pragma once
// The About box as a test sees it: ShowAboutForm runs on a host thread of the test's, as
// it would on the host's user-interface thread, and the test finds the box, reads it and
// drives it from its own thread.
#include <windows.h>

#include <functional>
#include <vector>

namespace test {

using ShowAboutFormFunction = void __stdcall();

// A control of the box. Plain data, so that a helper process can hand it over as bytes.
struct ControlInfo {
  HWND window;
  wchar_t class_name[32];
  wchar_t text[64];
  LONG style;
  RECT rect;  // in the box's client coordinates
  HFONT font;
  LOGFONTW logfont;  // of font, when it has one
};

struct BoxInfo {
  HWND window;
  wchar_t class_name[32];
  wchar_t caption[64];
  LONG style;
  LONG ex_style;
  RECT rect;  // on the screen
  SIZE client;
  HWND owner;
  HWND focus;  // the host thread's focus
  int control_count;
  ControlInfo controls[8];
  // As the process that shows the box sees the screen.
  int dpi;
  SIZE screen;
  LOGFONTW icon_title_font;
};

BoxInfo Inspect(HWND box, DWORD host_thread);

// The control with this text, or of this static type (SS_ETCHEDFRAME, SS_OWNERDRAW), or null.
const ControlInfo* ControlWithText(const BoxInfo& box, const wchar_t* text);
const ControlInfo* StaticOfType(const BoxInfo& box, LONG type);

// What a label should measure: its text in its font, one line, "&" as itself.
SIZE LabelExtent(const LOGFONTW& font, const wchar_t* text);

// Runs ShowAboutForm on a thread of its own. `before` runs first on that thread, and may
// create windows of the host's there (listed in the vector; destroyed at the end).
class AboutHost {
 public:
  explicit AboutHost(ShowAboutFormFunction* show, std::function<void(std::vector<HWND>&)> before = {});
  ~AboutHost();  // closes a box still up and waits for the thread
  AboutHost(const AboutHost&) = delete;
  AboutHost& operator=(const AboutHost&) = delete;

  HWND WaitForBox(DWORD timeout_ms = 10000);  // the visible box, or null
  bool WaitForReturn(DWORD timeout_ms = 10000);  // whether ShowAboutForm has returned
  DWORD thread_id() const { return thread_id_; }
  const std::vector<HWND>& windows() const { return windows_; }
  // The exit code of a WM_QUIT left in the host's queue after the show, or -1.
  int quit_code() const { return quit_code_; }

 private:
  static DWORD WINAPI Run(LPVOID self);

  ShowAboutFormFunction* show_;
  std::function<void(std::vector<HWND>&)> before_;
  std::vector<HWND> windows_;
  int quit_code_ = -1;
  HANDLE returned_;
  HANDLE release_;
  HANDLE thread_ = nullptr;
  DWORD thread_id_ = 0;
};

// A plain top-level window of the calling thread, for a host.
HWND CreateHostWindow(const wchar_t* title, bool visible = true);

// Real input, as the user gives it: to the window under the mouse or the focus.
void PressKey(WORD key, bool with_alt = false);
void MoveMouseTo(POINT screen_point);
void ClickAt(POINT screen_point);
POINT CentreOf(HWND window);  // on the screen
POINT CloseBoxOf(HWND window);  // the title bar's close box, on the screen

// Pixels of the window's client area darker than mid grey: where text or lines are drawn.
int DarkPixels(HWND window);
// How far from the left the dark pixels reach: the width of the text drawn.
int InkWidth(HWND window);

}  // namespace test

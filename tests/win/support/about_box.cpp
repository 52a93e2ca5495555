#include "support/about_box.h"

#include <cwchar>
#include <stdexcept>

namespace test {
namespace {

struct Search {
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  wchar_t name[32] = L"";
  GetClassNameW(window, name, 32);
  if (std::wcscmp(name, L"TAboutForm") != 0 || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<Search*>(parameter)->found = window;
  return FALSE;
}

BOOL CALLBACK AddControl(HWND window, LPARAM parameter) {
  auto& box = *reinterpret_cast<BoxInfo*>(parameter);
  if (GetParent(window) != box.window || box.control_count == 8) return TRUE;
  ControlInfo& c = box.controls[box.control_count++];
  c.window = window;
  GetClassNameW(window, c.class_name, 32);
  GetWindowTextW(window, c.text, 64);
  c.style = GetWindowLongW(window, GWL_STYLE);
  GetWindowRect(window, &c.rect);
  MapWindowPoints(nullptr, box.window, reinterpret_cast<POINT*>(&c.rect), 2);
  c.font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (c.font) GetObjectW(c.font, sizeof c.logfont, &c.logfont);
  return TRUE;
}

void Send(INPUT* inputs, UINT count) {
  if (SendInput(count, inputs, sizeof(INPUT)) != count) throw std::runtime_error("SendInput failed");
}

INPUT MouseInput(DWORD flags, POINT point = {}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  }
  return input;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

BoxInfo Inspect(HWND box, DWORD host_thread) {
  BoxInfo info{};
  info.window = box;
  GetClassNameW(box, info.class_name, 32);
  GetWindowTextW(box, info.caption, 64);
  info.style = GetWindowLongW(box, GWL_STYLE);
  info.ex_style = GetWindowLongW(box, GWL_EXSTYLE);
  GetWindowRect(box, &info.rect);
  RECT client;
  GetClientRect(box, &client);
  info.client = {client.right, client.bottom};
  info.owner = GetWindow(box, GW_OWNER);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(host_thread, &gui)) info.focus = gui.hwndFocus;
  EnumChildWindows(box, AddControl, reinterpret_cast<LPARAM>(&info));
  HDC screen = GetDC(nullptr);
  info.dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  info.screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof info.icon_title_font, &info.icon_title_font, 0);
  return info;
}

const ControlInfo* ControlWithText(const BoxInfo& box, const wchar_t* text) {
  for (int i = 0; i < box.control_count; ++i)
    if (std::wcscmp(box.controls[i].text, text) == 0) return &box.controls[i];
  return nullptr;
}

const ControlInfo* StaticOfType(const BoxInfo& box, LONG type) {
  for (int i = 0; i < box.control_count; ++i) {
    const ControlInfo& c = box.controls[i];
    if (_wcsicmp(c.class_name, L"Static") == 0 && (c.style & SS_TYPEMASK) == type) return &c;
  }
  return nullptr;
}

SIZE LabelExtent(const LOGFONTW& font, const wchar_t* text) {
  HDC dc = GetDC(nullptr);
  HFONT handle = CreateFontIndirectW(&font);
  HGDIOBJ previous = SelectObject(dc, handle);
  RECT extent{};
  DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, previous);
  DeleteObject(handle);
  ReleaseDC(nullptr, dc);
  return {extent.right, extent.bottom};
}

AboutHost::AboutHost(ShowAboutFormFunction* show, std::function<void(std::vector<HWND>&)> before)
    : show_(show),
      before_(std::move(before)),
      returned_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!show_) throw std::runtime_error("no ShowAboutForm");
  thread_ = CreateThread(nullptr, 0, Run, this, 0, &thread_id_);
  if (!thread_) throw std::runtime_error("CreateThread failed");
}

AboutHost::~AboutHost() {
  if (WaitForSingleObject(returned_, 0) != WAIT_OBJECT_0) {
    Search search;
    EnumThreadWindows(thread_id_, FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
    WaitForSingleObject(returned_, 10000);
  }
  SetEvent(release_);
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
  CloseHandle(returned_);
  CloseHandle(release_);
}

DWORD WINAPI AboutHost::Run(LPVOID parameter) {
  auto& self = *static_cast<AboutHost*>(parameter);
  if (self.before_) self.before_(self.windows_);
  self.show_();
  MSG message;
  if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) self.quit_code_ = static_cast<int>(message.wParam);
  SetEvent(self.returned_);
  // The test may still ask the host's windows things: keep answering until released.
  while (MsgWaitForMultipleObjects(1, &self.release_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  for (HWND window : self.windows_) DestroyWindow(window);
  return 0;
}

HWND AboutHost::WaitForBox(DWORD timeout_ms) {
  DWORD start = GetTickCount();
  do {
    Search search;
    EnumThreadWindows(thread_id_, FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
  } while (WaitForSingleObject(returned_, 10) == WAIT_TIMEOUT && GetTickCount() - start < timeout_ms);
  return nullptr;
}

bool AboutHost::WaitForReturn(DWORD timeout_ms) { return WaitForSingleObject(returned_, timeout_ms) == WAIT_OBJECT_0; }

HWND CreateHostWindow(const wchar_t* title, bool visible) {
  HWND window = CreateWindowExW(0, L"Static", title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 40, 40, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
  if (!window) throw std::runtime_error("CreateWindowExW failed");
  return window;
}

void PressKey(WORD key, bool with_alt) {
  INPUT inputs[4];
  UINT count = 0;
  if (with_alt) inputs[count++] = KeyInput(VK_MENU, false);
  inputs[count++] = KeyInput(key, false);
  inputs[count++] = KeyInput(key, true);
  if (with_alt) inputs[count++] = KeyInput(VK_MENU, true);
  Send(inputs, count);
}

void MoveMouseTo(POINT point) {
  INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point);
  Send(&move, 1);
}

void ClickAt(POINT point) {
  INPUT inputs[3] = {MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point), MouseInput(MOUSEEVENTF_LEFTDOWN),
                     MouseInput(MOUSEEVENTF_LEFTUP)};
  Send(inputs, 3);
}

POINT CentreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT CloseBoxOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  // Along the middle of the title bar, from the right: the first point that is the close box.
  int y = r.top + GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  auto close_box = [&](int x) { return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE; };
  int right = r.right - 1;
  while (right > r.left && !close_box(right)) --right;
  int left = right;
  while (left > r.left && close_box(left - 1)) --left;
  if (right == r.left) throw std::runtime_error("no close box on the title bar");
  return {(left + right) / 2, y};
}

namespace {

template <class Visit>
void VisitDarkPixels(HWND window, Visit visit) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) visit(x);
    }
  }
  ReleaseDC(window, dc);
}

}  // namespace

int DarkPixels(HWND window) {
  int dark = 0;
  VisitDarkPixels(window, [&](int) { ++dark; });
  return dark;
}

int InkWidth(HWND window) {
  int width = 0;
  VisitDarkPixels(window, [&](int x) { width = x + 1 > width ? x + 1 : width; });
  return width;
}

}  // namespace test

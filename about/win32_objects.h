#pragma once
// Owners of the window-system objects that an About box makes, so that every way out of
// a show frees them.
#include <memory>
#include <type_traits>

#include "common/win_types.h"

namespace pinvale {

struct GdiObjectDeleter {
  void operator()(void* object) const noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct IconDeleter {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
// Destroying a window destroys its child windows with it.
struct WindowDeleter {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

// The screen's device context, for measuring text.
class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() { ReleaseDC(nullptr, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context for the life of this value.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window class registered for the life of this value. Another box of the same process
// (on another thread) may have registered it already; whichever box ends last removes it.
class WindowClassRegistration {
 public:
  explicit WindowClassRegistration(const WNDCLASSEXW& window_class);
  ~WindowClassRegistration() { UnregisterClassW(name_, instance_); }
  WindowClassRegistration(const WindowClassRegistration&) = delete;
  WindowClassRegistration& operator=(const WindowClassRegistration&) = delete;

  // Registers it again after another box removed it between our registration and use.
  void Renew() const;

 private:
  WNDCLASSEXW class_;
  const wchar_t* name_;
  HINSTANCE instance_;
};

}  // namespace pinvale

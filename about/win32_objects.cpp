#include "about/win32_objects.h"

#include "common/win32_error.h"

namespace pinvale {

WindowClassRegistration::WindowClassRegistration(const WNDCLASSEXW& window_class)
    : class_(window_class), name_(window_class.lpszClassName), instance_(window_class.hInstance) {
  Renew();
}

void WindowClassRegistration::Renew() const {
  if (!RegisterClassExW(&class_) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) ThrowLastError(ErrorClass::Other);
}

}  // namespace pinvale

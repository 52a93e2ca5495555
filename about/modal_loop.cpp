#include "about/modal_loop.h"

namespace pinvale {

void RunModalLoop(HWND dialog, const int& modal_result) {
  MSG message;
  while (modal_result == 0 && IsWindow(dialog)) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace pinvale

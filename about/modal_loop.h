#pragma once
#include "common/win_types.h"

namespace pinvale {

// Runs the calling thread's messages, with the dialog keys of `dialog` (Enter, Escape,
// Tab), until `modal_result` becomes non-zero or the window is gone. A WM_QUIT ends the
// loop too and is posted again, so that the host's own loop still sees it.
void RunModalLoop(HWND dialog, const int& modal_result);

}  // namespace pinvale

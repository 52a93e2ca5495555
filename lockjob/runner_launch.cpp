#include "lockjob/runner_launch.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace pinvale {
namespace {

// Freezes the screen for the runner's start, and always lets it go again.
class DesktopDrawingSuspended {
 public:
  DesktopDrawingSuspended() { LockWindowUpdate(GetDesktopWindow()); }
  ~DesktopDrawingSuspended() { LockWindowUpdate(nullptr); }
  DesktopDrawingSuspended(const DesktopDrawingSuspended&) = delete;
  DesktopDrawingSuspended& operator=(const DesktopDrawingSuspended&) = delete;
};

}  // namespace

std::u16string GetLibraryFileName() {
  const HMODULE self = reinterpret_cast<HMODULE>(&__ImageBase);
  std::u16string name;
  DWORD length = 0;
  do {
    name.resize(name.size() + 1024);
    length = GetModuleFileNameW(self, reinterpret_cast<wchar_t*>(name.data()), static_cast<DWORD>(name.size()));
  } while (length >= name.size());  // cut: try again with more room
  name.resize(length);
  return name;
}

UniqueHandle StartProcess(const std::u16string& runner_path, std::u16string command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  DesktopDrawingSuspended frozen;
  if (!CreateProcessW(Wide(runner_path), reinterpret_cast<wchar_t*>(command_line.data()), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &started))
    return UniqueHandle();
  CloseHandle(started.hThread);
  UniqueHandle process(started.hProcess);
  WaitForInputIdle(process.get(), INFINITE);
  return process;
}

}  // namespace pinvale

// Stands in for the runner Sealwork.exe in the tests. Into the folder named by the
// environment variable PINVALE_RUNNER_RECORD it writes, per job file NAME (its first
// argument's file name):
//   NAME.cmdline  its full command line (UTF-16)
//   NAME.argv     its arguments, one per line (UTF-16)
//   NAME.mutex    "1" if the mutex "Keelmark Op" existed while it ran, else "0"
//   NAME.job      a byte copy of the job file
//   NAME.runs     one "x" appended per run
//   NAME.done     written last, after lingering PINVALE_RUNNER_LINGER milliseconds
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t value[32768];
  DWORD n = GetEnvironmentVariableW(name, value, 32768);
  return n && n < 32768 ? std::wstring(value, n) : std::wstring();
}

void Write(const std::wstring& path, const void* data, DWORD bytes, DWORD disposition = CREATE_ALWAYS) {
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) ExitProcess(3);
  if (disposition == OPEN_ALWAYS) SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, data, bytes, &written, nullptr);
  CloseHandle(file);
}

void WriteText(const std::wstring& path, const std::wstring& text) {
  Write(path, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace

int wmain() {
  const std::wstring record = Env(L"PINVALE_RUNNER_RECORD");
  if (record.empty()) return 2;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring job = argc > 1 ? argv[1] : L"";
  const std::wstring base = record + L"\\" + (job.empty() ? L"noargs" : job.substr(job.find_last_of(L"\\/") + 1));

  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Keelmark Op");
  WriteText(base + L".mutex", mutex ? L"1" : L"0");
  if (mutex) CloseHandle(mutex);
  WriteText(base + L".cmdline", GetCommandLineW());
  std::wstring args;
  for (int i = 0; i < argc; ++i) args += std::wstring(argv[i]) + L"\n";
  WriteText(base + L".argv", args);
  LocalFree(argv);
  const std::string bytes = ReadBytes(job);
  Write(base + L".job", bytes.data(), static_cast<DWORD>(bytes.size()));
  Write(base + L".runs", "x", 1, OPEN_ALWAYS);

  const std::wstring linger = Env(L"PINVALE_RUNNER_LINGER");
  if (!linger.empty()) Sleep(static_cast<DWORD>(_wtoi(linger.c_str())));
  WriteText(base + L".done", L"1");
  return 0;
}

// Lock-job benchmark through the DLL's exports: N shapes over N/100 slides, plus a few
// slide masters and layouts, then one save. Per N it prints the cost of an Add call, the
// save against one WriteFile of the same bytes, the file size and the job's memory.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "include/pinvale.h"

namespace {

using Job = PinvaleJob;
using OpenFn = decltype(OpenPresentation);
using AddFn = decltype(AddSlideLockInfo);
using ProcessFn = decltype(ProcessPresentation);
using CloseFn = decltype(ClosePresentation);

template <class F>
F* Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double WorkingSet() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return static_cast<double>(c.WorkingSetSize);
}

std::wstring Folder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  return bytes;
}

double RawWrite(const std::wstring& path, const std::string& bytes) {
  double start = Now();
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return Now() - start;
}

}  // namespace

int wmain() {
  const std::wstring folder = Folder() + L"bench-temp\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  SetEnvironmentVariableW(L"TMP", folder.c_str());
  SetEnvironmentVariableW(L"TEMP", folder.c_str());
  const std::wstring deck = folder + L"deck.pptx";
  CloseHandle(CreateFileW(deck.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  // No runner: ProcessPresentation then costs the save and a failed start.
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Velmora\\Keelmark", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  const std::wstring nowhere = folder + L"no-runner";
  RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(nowhere.c_str()),
                 static_cast<DWORD>((nowhere.size() + 1) * 2));
  RegCloseKey(key);

  HMODULE dll = LoadLibraryW((Folder() + L"Pinvale.dll").c_str());
  if (!dll) return 1;
  auto open = Proc<OpenFn>(dll, "OpenPresentation");
  auto add_slide = Proc<AddFn>(dll, "AddSlideLockInfo");
  auto add_master = Proc<AddFn>(dll, "AddSlideMasterLockInfo");
  auto add_layout = Proc<AddFn>(dll, "AddSlideLayoutLockInfo");
  auto process = Proc<ProcessFn>(dll, "ProcessPresentation");
  auto close = Proc<CloseFn>(dll, "ClosePresentation");

  std::printf("%10s %10s %10s %12s %8s %12s %12s %12s %8s\n", "shapes", "ns/add", "save ms", "write ms", "ratio",
              "file bytes", "file B/shape", "job B/shape", "mem/file");
  // ProcessPresentation's fixed part (registry, mutex, the failed start), taken off the save below.
  double fixed = 1e9;
  for (int i = 0; i < 20; ++i) {
    Job empty = open(deck.c_str());
    const double t = Now();
    process(empty);
    fixed = std::min(fixed, Now() - t);
    close(empty);
  }
  std::printf("fixed cost of ProcessPresentation without a runner: %.3f ms\n", fixed * 1e3);
  for (int n : {1000, 10000, 100000, 1000000}) {
    const double memory_before = WorkingSet();
    Job job = open(deck.c_str());
    const int slides = n / 100;
    const double start = Now();
    int shapes = 0;
    // Most shapes on slides, a few on 3 masters and 5 layouts; ids as PowerPoint gives them.
    for (int s = 0; s < slides; ++s)
      for (int i = 0; i < 96; ++i, ++shapes) add_slide(job, s + 1, 2 + i * 3, i & 15);
    for (int m = 0; shapes < n && m < 3 * 1000000; ++m, ++shapes) {
      if (m % 2)
        add_master(job, 1 + m % 3, 1000 + m, 1);
      else
        add_layout(job, 1 + m % 5, 1000 + m, 2);
    }
    const double adds = Now() - start;
    const double memory = WorkingSet() - memory_before;
    const double save_start = Now();
    process(job);
    const double save = Now() - save_start - fixed;

    std::wstring job_file;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"tmp*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      job_file = folder + found.cFileName;
      FindClose(search);
    }
    const std::string bytes = ReadAll(job_file);
    close(job);
    const double raw = RawWrite(folder + L"raw.bin", bytes);
    DeleteFileW((folder + L"raw.bin").c_str());
    std::printf("%10d %10.0f %10.2f %12.2f %8.2f %12zu %12.1f %12.1f %8.2f\n", n, adds * 1e9 / n, save * 1e3,
                raw * 1e3, save / raw, bytes.size(), double(bytes.size()) / n, memory / n,
                memory / double(bytes.size()));
  }
  FreeLibrary(dll);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Velmora\\Keelmark");
  DeleteFileW(deck.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}

// Load and unload of the library: the instance mutex, the export table, and the two
// initialisation exports that do nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/library.h"
#include "support/process.h"

namespace {

constexpr wchar_t kMutex[] = L"Keelmark";

DWORD ProbeMutex() { return test::RunHelper(L"mutex_probe.exe", kMutex); }

DWORD OpenMutexHere() {
  HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, kMutex);
  if (!h) return GetLastError();
  CloseHandle(h);
  return ERROR_SUCCESS;
}

TEST(Lifecycle, InstanceMutexExistsForOtherProcessesWhileLoaded) {
  ASSERT_EQ(ProbeMutex(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  {
    test::Library library;
    EXPECT_EQ(ProbeMutex(), 0u);
  }
  EXPECT_EQ(ProbeMutex(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Lifecycle, SecondFreeRemovesTheMutex) {
  HMODULE first = LoadLibraryW(test::LibraryPath().c_str());
  HMODULE second = LoadLibraryW(test::LibraryPath().c_str());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first, second);
  FreeLibrary(second);
  EXPECT_EQ(OpenMutexHere(), static_cast<DWORD>(ERROR_SUCCESS));
  FreeLibrary(first);
  EXPECT_EQ(OpenMutexHere(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Lifecycle, LoadsWithoutWaitingWhenAnotherProcessOwnsTheMutex) {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"PinvaleTestReady");
  HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"PinvaleTestQuit");
  test::Child holder(L"mutex_holder.exe", L"Keelmark PinvaleTestReady PinvaleTestQuit");
  ASSERT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
  {
    // A wait on the owned mutex would hang here until the holder quits a minute later.
    DWORD start = GetTickCount();
    test::Library library;
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_NE(library.Proc<void __stdcall()>("InitializeKeelmark"), nullptr);
  }
  SetEvent(quit);
  EXPECT_EQ(holder.Wait(), 0u);
  CloseHandle(ready);
  CloseHandle(quit);
}

TEST(Lifecycle, LoadsWhenTheNameBelongsToAnotherKindOfObject) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, kMutex);
  ASSERT_NE(event, nullptr);
  {
    test::Library library;
    EXPECT_NE(library.Proc<void __stdcall()>("ShutdownKeelmark"), nullptr);
    EXPECT_EQ(OpenMutexHere(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  CloseHandle(event);
  EXPECT_EQ(OpenMutexHere(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Lifecycle, InitialisationExportsChangeNothing) {
  test::Library library;
  auto initialize = library.Proc<void __stdcall()>("InitializeKeelmark");
  auto shutdown = library.Proc<void __stdcall()>("ShutdownKeelmark");
  ASSERT_TRUE(initialize && shutdown);
  shutdown();
  shutdown();
  initialize();
  shutdown();
  for (int i = 0; i < 5; ++i) initialize();
  shutdown();
  EXPECT_EQ(OpenMutexHere(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ProbeMutex(), 0u);
}

// Names and ordinals as the hosts rely on them: by name and by ordinal, one address.
TEST(Lifecycle, ExportsByNameAndOrdinalAgree) {
  struct Export {
    const char* name;
    WORD ordinal;
  };
  const Export exports[] = {
      {"InitializeKeelmark", 16},
      {"ShutdownKeelmark", 15},
      {"ShowAboutForm", 17},
      {"ClosePresentation", 1},
      {"ProcessPresentation", 2},
      {"AddSlideLayoutLockInfo", 3},
      {"AddSlideMasterLockInfo", 4},
      {"AddSlideLockInfo", 5},
      {"OpenPresentation", 6},
      {"FormatLocaleCaptionWS", 7},
      {"GetLocaleCaptionWS", 8},
      {"FormatMessageDialog", 9},
      {"ShowMessageDialog", 10},
      {"GetMessagesFolder", 11},
  };
  test::Library library;
  for (const Export& e : exports) {
    FARPROC by_name = GetProcAddress(library.get(), e.name);
    FARPROC by_ordinal = GetProcAddress(library.get(), MAKEINTRESOURCEA(e.ordinal));
    EXPECT_NE(by_name, nullptr) << e.name;
    EXPECT_EQ(by_name, by_ordinal) << e.name;
  }
}

}  // namespace

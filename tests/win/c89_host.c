/*
 * A host written in C89 against include/pinvale.h, linked with the MinGW import library:
 * calls every export once and checks what it can see of the result. Message boxes and
 * the About box are closed by a thread timer. Exit status 0 when every check holds;
 * each failed check prints one line.
 */
#include "pinvale.h" /* first: the header must stand on its own */

#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

static int failures = 0;

static void Check(int ok, const char *what) {
  if (!ok) {
    printf("FAIL: %s\n", what);
    ++failures;
  }
}

/* Closing modal windows: every 50 ms the timer presses OK on a message box and closes
 * any other window of this thread, and counts what it closed. */
static int windows_closed = 0;

static BOOL CALLBACK CloseWindow1(HWND window, LPARAM unused) {
  wchar_t name[64];
  (void)unused;
  if (!IsWindowVisible(window)) return TRUE;
  GetClassNameW(window, name, 64);
  if (wcscmp(name, L"#32770") == 0)
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  else
    PostMessageW(window, WM_CLOSE, 0, 0);
  ++windows_closed;
  return TRUE;
}

static VOID CALLBACK CloseTimer(HWND window, UINT message, UINT_PTR id, DWORD time) {
  (void)window, (void)message, (void)id, (void)time;
  EnumThreadWindows(GetCurrentThreadId(), CloseWindow1, 0);
}

/* The failure signal, recorded and continued, so that the export returns null or 0. */
static int signal_seen = 0;
static DWORD signal_flags = 0;
static DWORD signal_arguments = 0;
static ULONG_PTR signal_class = 0;
static wchar_t signal_message[512];

static LONG CALLBACK RecordFailure(EXCEPTION_POINTERS *info) {
  const EXCEPTION_RECORD *e = info->ExceptionRecord;
  if (e->ExceptionCode != PINVALE_FAILURE_CODE) return EXCEPTION_CONTINUE_SEARCH;
  signal_seen = 1;
  signal_flags = e->ExceptionFlags;
  signal_arguments = e->NumberParameters;
  if (e->NumberParameters == PINVALE_FAILURE_ARGUMENTS) {
    signal_class = e->ExceptionInformation[PINVALE_FAILURE_CLASS];
    wcsncpy(signal_message, (const wchar_t *)e->ExceptionInformation[PINVALE_FAILURE_MESSAGE], 511);
  }
  return EXCEPTION_CONTINUE_EXECUTION;
}

static size_t ReadFileBytes(const wchar_t *path, unsigned char *bytes, size_t size) {
  DWORD got = 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  ReadFile(file, bytes, (DWORD)size, &got, NULL);
  CloseHandle(file);
  return got;
}

/* The one file in folder (a pattern ending in "\*"), or an empty name. */
static int OnlyFile(const wchar_t *pattern, wchar_t *name) {
  WIN32_FIND_DATAW found;
  int count = 0;
  HANDLE search = FindFirstFileW(pattern, &found);
  name[0] = 0;
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      wcscpy(name, found.cFileName);
      ++count;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

static void LockJob(const wchar_t *deck, const wchar_t *temp) {
  static const wchar_t *const head = L"[Presentation]\r\nFileName=";
  static const wchar_t *const tail =
      L"\r\nSlideCount=1\r\nSlideMasterCount=1\r\nSlideLayoutCount=1\r\n\r\n"
      L"[Slide1]\r\nSlideIndex=2\r\nShapeCount=1\r\n\r\n"
      L"[Slide1Shape1]\r\nShapeId=260\r\nLocks=5\r\n\r\n"
      L"[SlideMaster1]\r\nMasterIndex=1\r\nShapeCount=1\r\n\r\n"
      L"[SlideMaster1Shape1]\r\nShapeId=12\r\nLocks=2\r\n\r\n"
      L"[SlideLayout1]\r\nLayoutIndex=3\r\nShapeCount=1\r\n\r\n"
      L"[SlideLayout1Shape1]\r\nShapeId=40\r\nLocks=9\r\n\r\n";
  static wchar_t expected[4096];
  static unsigned char bytes[8192];
  wchar_t pattern[MAX_PATH], name[MAX_PATH], job_file[MAX_PATH];
  PinvaleJob job;
  PinvaleBool32 result;
  size_t size;

  job = OpenPresentation(deck);
  Check(job != NULL, "OpenPresentation gives a handle for an existing file");
  if (job == NULL) return;
  wcscpy(pattern, temp);
  wcscat(pattern, L"*");
  Check(OnlyFile(pattern, name) == 1, "OpenPresentation makes one job file");
  wcscpy(job_file, temp);
  wcscat(job_file, name);

  AddSlideLockInfo(job, 2, 260, 5);
  AddSlideMasterLockInfo(job, 1, 12, 2);
  AddSlideLayoutLockInfo(job, 3, 40, 9);
  result = ProcessPresentation(job);
  Check(result == PINVALE_TRUE || result == PINVALE_FALSE, "ProcessPresentation gives a 32-bit Boolean");

  expected[0] = 0xFEFF;
  expected[1] = 0;
  wcscat(expected, head);
  wcscat(expected, deck);
  wcscat(expected, tail);
  size = ReadFileBytes(job_file, bytes, sizeof bytes);
  Check(size == wcslen(expected) * sizeof(wchar_t) && memcmp(bytes, expected, size) == 0,
        "the saved job file holds the three shapes with their parameters in order");

  ClosePresentation(job);
  Check(GetFileAttributesW(job_file) == INVALID_FILE_ATTRIBUTES, "ClosePresentation deletes the job file");

  /* The null handle and a missing file. */
  AddSlideLockInfo(NULL, 1, 1, 1);
  AddSlideMasterLockInfo(NULL, 1, 1, 1);
  AddSlideLayoutLockInfo(NULL, 1, 1, 1);
  Check(ProcessPresentation(NULL) == PINVALE_FALSE, "ProcessPresentation of a null handle gives false");
  ClosePresentation(NULL);
  Check(OpenPresentation(temp) == NULL, "OpenPresentation of a folder gives null");
  Check(OpenPresentation(NULL) == NULL, "OpenPresentation of a null name gives null");
}

static void FailureSignal(const wchar_t *deck) {
  PVOID handler = AddVectoredExceptionHandler(1, RecordFailure);
  SetEnvironmentVariableW(L"TMP", L"C:\\pinvale no such folder\\");
  SetEnvironmentVariableW(L"TEMP", L"C:\\pinvale no such folder\\");
  Check(OpenPresentation(deck) == NULL, "OpenPresentation returns null after a continued failure");
  RemoveVectoredExceptionHandler(handler);
  Check(signal_seen, "an unusable temporary folder raises the failure signal");
  Check(signal_flags == PINVALE_FAILURE_FLAGS, "the failure signal is noncontinuable");
  Check(signal_arguments == PINVALE_FAILURE_ARGUMENTS, "the failure signal has two arguments");
  Check(signal_class == PINVALE_ERROR_IO, "the failure is an I/O error");
  Check(signal_message[0] != 0, "the failure carries a message");
}

static void Captions(void) {
  wchar_t buffer[64];
  int length;

  length = GetLocaleCaptionWS(1033, 7, L"a<13>b", NULL);
  Check(length == 3, "GetLocaleCaptionWS with a null buffer gives the length");
  wmemset(buffer, L'#', 64);
  Check(GetLocaleCaptionWS(1033, 7, L"a<13>b", buffer) == 3, "GetLocaleCaptionWS gives the length");
  Check(wcscmp(buffer, L"a\rb") == 0, "GetLocaleCaptionWS writes the text and a NUL");

  length = FormatLocaleCaptionWS(1033, 7, L"%s1%-%s2%", NULL, L"x", L"yz");
  Check(length == 4, "FormatLocaleCaptionWS with a null buffer gives the length");
  wmemset(buffer, L'#', 64);
  Check(FormatLocaleCaptionWS(1033, 7, L"%s1%-%s2%", buffer, L"x", L"yz") == 4,
        "FormatLocaleCaptionWS gives the length");
  Check(wcscmp(buffer, L"x-yz") == 0, "FormatLocaleCaptionWS puts Param1 and Param2 in their places");
}

static void MessagesFolder(void) {
  static wchar_t buffer[32768];
  int length = GetMessagesFolder(NULL);
  Check(length >= 0 && length < 32767, "GetMessagesFolder with a null buffer gives a length");
  wmemset(buffer, L'#', 32768);
  Check(GetMessagesFolder(buffer) == length, "GetMessagesFolder gives the same length with a buffer");
  Check((int)wcslen(buffer) == length, "GetMessagesFolder writes the path and a NUL");
}

static void Boxes(void) {
  UINT_PTR timer = SetTimer(NULL, 0, 50, CloseTimer);
  windows_closed = 0;
  Check(ShowMessageDialog(1033, NULL, L"Text", L"Title", 7, MB_OK) == IDOK, "ShowMessageDialog gives IDOK");
  Check(windows_closed > 0, "ShowMessageDialog showed a window");
  windows_closed = 0;
  Check(FormatMessageDialog(1033, NULL, L"Text %s1%", L"Title", L"one", 7, MB_OK) == IDOK,
        "FormatMessageDialog gives IDOK");
  Check(windows_closed > 0, "FormatMessageDialog showed a window");
  windows_closed = 0;
  ShowAboutForm();
  Check(windows_closed > 0, "ShowAboutForm showed a window");
  KillTimer(NULL, timer);
}

static void AppendDecimal(wchar_t *text, unsigned long value) {
  wchar_t digits[16];
  int n = 15;
  digits[n] = 0;
  do {
    digits[--n] = (wchar_t)(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  wcscat(text, digits + n);
}

int main(void) {
  wchar_t deck[MAX_PATH], temp[MAX_PATH];
  DWORD n;

  InitializeKeelmark();

  /* A private temporary folder, so that the job file is the only file in it; the deck
   * is this program's own file. */
  GetModuleFileNameW(NULL, deck, MAX_PATH);
  n = GetTempPathW(MAX_PATH, temp);
  wcscpy(temp + n, L"pinvale-c89-");
  AppendDecimal(temp, GetCurrentProcessId());
  wcscat(temp, L"\\");
  CreateDirectoryW(temp, NULL);
  SetEnvironmentVariableW(L"TMP", temp);
  SetEnvironmentVariableW(L"TEMP", temp);

  LockJob(deck, temp);
  Captions();
  MessagesFolder();
  Boxes();
  FailureSignal(deck);

  RemoveDirectoryW(temp);
  ShutdownKeelmark();
  if (failures == 0) printf("all exports called, all checks hold\n");
  return failures == 0 ? 0 : 1;
}

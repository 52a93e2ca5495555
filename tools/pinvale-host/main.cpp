// pinvale-host: the reference console host of Pinvale.dll. It loads the library from its
// own folder, takes every export by name through the prototypes of include/pinvale.h and
// catches the library's failure signal the way any host can: a vectored handler that
// records it and lets the export return its failure value.
#include "pinvale.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Exit statuses, as --help lists them.
constexpr int kDone = 0;
constexpr int kLibraryFailed = 1;
constexpr int kBadArguments = 2;
constexpr int kNoDeck = 3;
constexpr int kNoRunner = 4;
constexpr int kNoLibrary = 5;

const wchar_t kUsage[] =
    L"usage: pinvale-host <command> [arguments]\n"
    L"\n"
    L"commands:\n"
    L"  lock <deck> [--slide S:SHAPE:LOCKS] [--master M:SHAPE:LOCKS] [--layout L:SHAPE:LOCKS] ... [--keep]\n"
    L"      Runs a lock job for the presentation file <deck>: records the lock flags LOCKS\n"
    L"      for shape SHAPE of slide S, slide master M or slide layout L, in the order given,\n"
    L"      processes the job (the runner Sealwork.exe applies the locks) and closes it.\n"
    L"      Prints the job file's path and the result. --keep also prints the job file's\n"
    L"      text as the runner was given it, before the close deletes the file.\n"
    L"  caption <text> [<param1> [<param2>]]\n"
    L"      Prints the display text of <text>: <1310>, <13>, <10> and <9> become CR LF, CR,\n"
    L"      LF and tab. With parameters, %s1% and %s2% are replaced by them.\n"
    L"  message <text> [<title>] [--param <param1>] [--flags N]\n"
    L"      Shows a message box with the display text of <text> (with --param, %s1% replaced)\n"
    L"      and the MessageBox style N (decimal or 0x hex), and prints the button chosen.\n"
    L"  folder\n"
    L"      Prints the messages folder of the installation (empty when none is recorded).\n"
    L"  about\n"
    L"      Shows the About box.\n"
    L"  info\n"
    L"      Lists the library's exports and whether its instance mutex exists.\n"
    L"  --help\n"
    L"      Prints this text.\n"
    L"\n"
    L"Numbers are 32-bit signed decimals. Pinvale.dll is loaded from this program's folder.\n"
    L"\n"
    L"exit status: 0 done; 1 the library reported a failure (its message is printed);\n"
    L"2 bad arguments; 3 the deck is not an existing file; 4 no runner could be started;\n"
    L"5 Pinvale.dll cannot be loaded or lacks an export.\n";

// Leaves the command with an exit status, after its message has been printed.
struct Exit {
  int status;
};

void Write(std::FILE* stream, const std::wstring& text) {
  // Line ends go out as "\n"; the stream's text mode makes them CR LF.
  std::wstring lines;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) lines += text[i];
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string utf8(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), utf8.data(), bytes, nullptr,
                      nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

void Print(const std::wstring& text) { Write(stdout, text); }

[[noreturn]] void Fail(int status, const std::wstring& message) {
  Write(stderr, L"pinvale-host: " + message + L"\n");
  throw Exit{status};
}

[[noreturn]] void BadArguments(const std::wstring& message) {
  Fail(kBadArguments, message + L" (pinvale-host --help lists the commands)");
}

std::wstring SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text ? text : L"error " + std::to_wstring(code);
  LocalFree(text);
  while (!message.empty() && std::iswspace(message.back())) message.pop_back();
  return message;
}

std::wstring ProgramDir() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

// --- The failure signal -------------------------------------------------------------

struct Failure {
  bool raised = false;
  ULONG_PTR error_class = 0;
  wchar_t message[2048] = {};
};
Failure failure;

// Runs while the export is still on the stack: copies the message (valid only until the
// next failure on this thread) without allocating, and continues, so that the export
// returns its failure value.
LONG CALLBACK RecordFailure(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& e = *info->ExceptionRecord;
  if (e.ExceptionCode != PINVALE_FAILURE_CODE || e.NumberParameters != PINVALE_FAILURE_ARGUMENTS)
    return EXCEPTION_CONTINUE_SEARCH;
  failure.raised = true;
  failure.error_class = e.ExceptionInformation[PINVALE_FAILURE_CLASS];
  const auto* message = reinterpret_cast<const wchar_t*>(e.ExceptionInformation[PINVALE_FAILURE_MESSAGE]);
  std::wcsncpy(failure.message, message ? message : L"", std::size(failure.message) - 1);
  return EXCEPTION_CONTINUE_EXECUTION;
}

const wchar_t* ClassName(ULONG_PTR error_class) {
  switch (error_class) {
    case PINVALE_ERROR_IO: return L"I/O error";
    case PINVALE_ERROR_FILE_CREATE: return L"file creation error";
    case PINVALE_ERROR_REGISTRY: return L"registry error";
    case PINVALE_ERROR_OUT_OF_MEMORY: return L"out of memory";
    case PINVALE_ERROR_OTHER: return L"other error";
    default: return L"unknown class";
  }
}

// Call after each export: a failure it raised ends the command with its message.
void CheckFailure(const wchar_t* export_name) {
  if (!failure.raised) return;
  failure.raised = false;
  Fail(kLibraryFailed, std::wstring(export_name) + L" failed: " + failure.message + L" (class " +
                           std::to_wstring(failure.error_class) + L", " + ClassName(failure.error_class) + L")");
}

// --- The library --------------------------------------------------------------------

class Library {
 public:
  Library() : path_(ProgramDir() + L"Pinvale.dll"), module_(LoadLibraryW(path_.c_str())) {
    if (!module_) Fail(kNoLibrary, L"cannot load " + path_ + L": " + SystemMessage(GetLastError()));
    handler_ = AddVectoredExceptionHandler(1, RecordFailure);
  }
  ~Library() {
    RemoveVectoredExceptionHandler(handler_);
    FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  template <class Function>
  Function Get(const char* name) const {
    FARPROC proc = GetProcAddress(module_, name);
    if (!proc) {
      std::wstring wide(name, name + std::strlen(name));
      Fail(kNoLibrary, path_ + L" has no export " + wide);
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
  }

 private:
  std::wstring path_;
  HMODULE module_;
  PVOID handler_ = nullptr;
};

// The export `name` of the loaded library, typed by its prototype in pinvale.h.
#define PINVALE_EXPORT(library, name) (library).Get<decltype(&::name)>(#name)

// --- Arguments ----------------------------------------------------------------------

int ParseInt32(const std::wstring& text, const std::wstring& what) {
  wchar_t* end = nullptr;
  errno = 0;
  const long long value = std::wcstoll(text.c_str(), &end, 10);
  if (text.empty() || std::iswspace(text[0]) || *end != L'\0' || errno == ERANGE || value < INT_MIN ||
      value > INT_MAX)
    BadArguments(what + L" \"" + text + L"\" is not a 32-bit decimal number");
  return static_cast<int>(value);
}

unsigned int ParseFlags(const std::wstring& text) {
  const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
  const std::wstring digits = hex ? text.substr(2) : text;
  wchar_t* end = nullptr;
  errno = 0;
  const unsigned long long value = std::wcstoull(digits.c_str(), &end, hex ? 16 : 10);
  if (digits.empty() || !std::iswxdigit(digits[0]) || *end != L'\0' || errno == ERANGE || value > UINT_MAX)
    BadArguments(L"--flags \"" + text + L"\" is not a 32-bit unsigned number");
  return static_cast<unsigned int>(value);
}

// Splits the arguments of a command into its positional words and its options; an
// option is "--name value" or "--name=value", or a bare switch when listed as one.
// After "--" every argument is a word.
struct Arguments {
  std::vector<std::wstring> words;
  std::vector<std::pair<std::wstring, std::wstring>> options;  // in command-line order
  std::set<std::wstring> switches;
};

Arguments Split(int argc, wchar_t** argv, const std::set<std::wstring>& with_value,
                const std::set<std::wstring>& bare) {
  Arguments parsed;
  bool options_end = false;
  for (int i = 2; i < argc; ++i) {
    std::wstring word = argv[i];
    if (!options_end && word == L"--") {
      options_end = true;
      continue;
    }
    if (options_end || word.size() < 3 || word.compare(0, 2, L"--") != 0) {
      parsed.words.push_back(word);
      continue;
    }
    std::wstring value;
    bool has_value = false;
    if (std::size_t equals = word.find(L'='); equals != std::wstring::npos) {
      value = word.substr(equals + 1);
      word.resize(equals);
      has_value = true;
    }
    if (bare.count(word)) {
      if (has_value) BadArguments(word + L" takes no value");
      parsed.switches.insert(word);
    } else if (with_value.count(word)) {
      if (!has_value) {
        if (i + 1 >= argc) BadArguments(word + L" needs a value");
        value = argv[++i];
      }
      parsed.options.emplace_back(word, value);
    } else {
      BadArguments(L"unknown option " + word);
    }
  }
  return parsed;
}

// --- lock ---------------------------------------------------------------------------

enum class Owner { Slide, Master, Layout };

struct ShapeLock {
  Owner owner;
  int index;
  int shape;
  int locks;
};

ShapeLock ParseShapeLock(const std::wstring& option, const std::wstring& value) {
  const Owner owner = option == L"--slide" ? Owner::Slide : option == L"--master" ? Owner::Master : Owner::Layout;
  const std::size_t first = value.find(L':');
  const std::size_t second = first == std::wstring::npos ? first : value.find(L':', first + 1);
  if (second == std::wstring::npos || value.find(L':', second + 1) != std::wstring::npos)
    BadArguments(option + L" \"" + value + L"\" is not INDEX:SHAPE:LOCKS");
  return {owner, ParseInt32(value.substr(0, first), option + L" index"),
          ParseInt32(value.substr(first + 1, second - first - 1), option + L" shape"),
          ParseInt32(value.substr(second + 1), option + L" locks")};
}

// The folder where the library makes its job files, as the library finds it.
std::wstring TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  GetLongPathNameW(folder, folder, MAX_PATH);
  return folder;
}

std::set<std::wstring> FilesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

// The library does not hand out the job file's name: it is the one file that
// OpenPresentation added to the temporary folder, holding just the byte-order mark.
std::wstring FindJobFile(const std::wstring& folder, const std::set<std::wstring>& before) {
  std::wstring job_file;
  for (const std::wstring& name : FilesIn(folder)) {
    if (before.count(name) || ReadBytes(folder + name) != "\xFF\xFE") continue;
    if (!job_file.empty()) return L"";  // another job started meanwhile: no telling which is ours
    job_file = folder + name;
  }
  return job_file;
}

int Lock(int argc, wchar_t** argv) {
  const Arguments args = Split(argc, argv, {L"--slide", L"--master", L"--layout"}, {L"--keep"});
  if (args.words.size() != 1) BadArguments(args.words.empty() ? L"lock needs a deck" : L"lock takes one deck");
  const std::wstring& deck = args.words[0];
  std::vector<ShapeLock> shapes;
  for (const auto& [option, value] : args.options) shapes.push_back(ParseShapeLock(option, value));

  const Library library;
  const auto open = PINVALE_EXPORT(library, OpenPresentation);
  const auto add_slide = PINVALE_EXPORT(library, AddSlideLockInfo);
  const auto add_master = PINVALE_EXPORT(library, AddSlideMasterLockInfo);
  const auto add_layout = PINVALE_EXPORT(library, AddSlideLayoutLockInfo);
  const auto process = PINVALE_EXPORT(library, ProcessPresentation);
  const auto close = PINVALE_EXPORT(library, ClosePresentation);

  const std::wstring temp = TemporaryFolder();
  const std::set<std::wstring> before = FilesIn(temp);
  PinvaleJob job = open(deck.c_str());
  CheckFailure(L"OpenPresentation");
  if (!job) Fail(kNoDeck, L"\"" + deck + L"\" is not an existing file");
  const std::wstring job_file = FindJobFile(temp, before);
  Print(L"job file: " + (job_file.empty() ? L"(not found in " + temp + L")" : job_file) + L"\n");

  int status = kDone;
  try {
    for (const ShapeLock& s : shapes) {
      switch (s.owner) {
        case Owner::Slide: add_slide(job, s.index, s.shape, s.locks); break;
        case Owner::Master: add_master(job, s.index, s.shape, s.locks); break;
        case Owner::Layout: add_layout(job, s.index, s.shape, s.locks); break;
      }
      CheckFailure(L"adding a shape");
    }
    Print(L"shapes: " + std::to_wstring(shapes.size()) + L"\n");
    const PinvaleBool32 result = process(job);
    CheckFailure(L"ProcessPresentation");
    Print(L"result: " + std::to_wstring(result) +
          (result == PINVALE_TRUE ? L" (the runner ran to its end)\n" : L" (no runner could be started)\n"));
    if (result != PINVALE_TRUE) status = kNoRunner;
    if (args.switches.count(L"--keep") && !job_file.empty()) {
      const std::string bytes = ReadBytes(job_file);
      std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
      if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
      Print(L"job file text:\n" + text);
    }
    if (status == kNoRunner)
      Write(stderr, L"pinvale-host: no runner could be started: Sealwork.exe is neither in the folder of the "
                    L"registry value InstallPath nor beside Pinvale.dll\n");
  } catch (const Exit& e) {
    close(job);
    throw;
  }
  close(job);
  CheckFailure(L"ClosePresentation");
  return status;
}

// --- caption, message, folder, about --------------------------------------------------

int Caption(int argc, wchar_t** argv) {
  const Arguments args = Split(argc, argv, {}, {});
  if (args.words.empty() || args.words.size() > 3)
    BadArguments(L"caption takes a text and up to two parameters");
  const Library library;
  const int lang = GetUserDefaultLangID();
  const wchar_t* text = args.words[0].c_str();
  std::wstring shown;
  if (args.words.size() == 1) {
    const auto caption = PINVALE_EXPORT(library, GetLocaleCaptionWS);
    const int length = caption(lang, 0, text, nullptr);  // the length first, then the text
    CheckFailure(L"GetLocaleCaptionWS");
    shown.assign(length + 1, L'\0');
    shown.resize(caption(lang, 0, text, shown.data()));
    CheckFailure(L"GetLocaleCaptionWS");
  } else {
    const auto format = PINVALE_EXPORT(library, FormatLocaleCaptionWS);
    const wchar_t* param1 = args.words[1].c_str();
    const wchar_t* param2 = args.words.size() > 2 ? args.words[2].c_str() : nullptr;
    const int length = format(lang, 0, text, nullptr, param1, param2);
    CheckFailure(L"FormatLocaleCaptionWS");
    shown.assign(length + 1, L'\0');
    shown.resize(format(lang, 0, text, shown.data(), param1, param2));
    CheckFailure(L"FormatLocaleCaptionWS");
  }
  Print(shown + L"\n");
  return kDone;
}

const wchar_t* ButtonName(int id) {
  switch (id) {
    case IDOK: return L"OK";
    case IDCANCEL: return L"Cancel";
    case IDABORT: return L"Abort";
    case IDRETRY: return L"Retry";
    case IDIGNORE: return L"Ignore";
    case IDYES: return L"Yes";
    case IDNO: return L"No";
    case IDTRYAGAIN: return L"Try Again";
    case IDCONTINUE: return L"Continue";
    case 0: return L"the box could not be shown";
    default: return L"unknown button";
  }
}

int Message(int argc, wchar_t** argv) {
  const Arguments args = Split(argc, argv, {L"--flags", L"--param"}, {});
  if (args.words.empty() || args.words.size() > 2) BadArguments(L"message takes a text and an optional title");
  unsigned int flags = 0;
  const std::wstring* param = nullptr;
  for (const auto& [option, value] : args.options) {
    if (option == L"--flags") flags = ParseFlags(value);
    if (option == L"--param") param = &value;
  }
  const Library library;
  const int lang = GetUserDefaultLangID();
  const wchar_t* text = args.words[0].c_str();
  const wchar_t* title = args.words.size() > 1 ? args.words[1].c_str() : nullptr;
  int result;
  if (param) {
    result = PINVALE_EXPORT(library, FormatMessageDialog)(lang, nullptr, text, title, param->c_str(), 0, flags);
    CheckFailure(L"FormatMessageDialog");
  } else {
    result = PINVALE_EXPORT(library, ShowMessageDialog)(lang, nullptr, text, title, 0, flags);
    CheckFailure(L"ShowMessageDialog");
  }
  Print(L"result: " + std::to_wstring(result) + L" (" + ButtonName(result) + L")\n");
  return kDone;
}

int Folder(int argc, wchar_t** argv) {
  if (!Split(argc, argv, {}, {}).words.empty()) BadArguments(L"folder takes no arguments");
  const Library library;
  const auto folder = PINVALE_EXPORT(library, GetMessagesFolder);
  const int length = folder(nullptr);
  CheckFailure(L"GetMessagesFolder");
  std::wstring path(length + 1, L'\0');
  path.resize(folder(path.data()));
  CheckFailure(L"GetMessagesFolder");
  Print(path + L"\n");
  if (path.empty())
    Write(stderr, L"pinvale-host: no installation is recorded (HKLM\\Software\\Velmora\\Keelmark, value "
                  L"InstallPath)\n");
  return kDone;
}

int About(int argc, wchar_t** argv) {
  if (!Split(argc, argv, {}, {}).words.empty()) BadArguments(L"about takes no arguments");
  const Library library;
  PINVALE_EXPORT(library, ShowAboutForm)();
  CheckFailure(L"ShowAboutForm");
  return kDone;
}

// --- info -----------------------------------------------------------------------------

bool MutexExists(const wchar_t* name) {
  HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (h) CloseHandle(h);
  return h != nullptr;
}

// Lists the export directory of the loaded module: ordinal and name.
void PrintExports(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  auto ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    std::printf("  %2lu  %s\n", static_cast<unsigned long>(ordinals[i] + exports->Base),
                reinterpret_cast<const char*>(base + names[i]));
  }
  std::fflush(stdout);
}

int Info(int argc, wchar_t** argv) {
  if (!Split(argc, argv, {}, {}).words.empty()) BadArguments(L"info takes no arguments");
  const std::wstring path = ProgramDir() + L"Pinvale.dll";
  auto state = [] { return std::wstring(MutexExists(L"Keelmark") ? L"exists" : L"absent"); };
  Print(L"instance mutex \"Keelmark\" before loading: " + state() + L"\n");
  HMODULE module = LoadLibraryW(path.c_str());
  if (!module) Fail(kNoLibrary, L"cannot load " + path + L": " + SystemMessage(GetLastError()));
  Print(L"loaded " + path + L"\nexports:\n");
  PrintExports(module);
  Print(L"instance mutex \"Keelmark\" while loaded: " + state() + L"\n");
  FreeLibrary(module);
  Print(L"instance mutex \"Keelmark\" after unloading: " + state() + L"\n");
  return kDone;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  const std::wstring command = argc > 1 ? argv[1] : L"";
  try {
    if (command == L"lock") return Lock(argc, argv);
    if (command == L"caption") return Caption(argc, argv);
    if (command == L"message") return Message(argc, argv);
    if (command == L"folder") return Folder(argc, argv);
    if (command == L"about") return About(argc, argv);
    if (command == L"info") return Info(argc, argv);
    if (command == L"--help" || command == L"-h" || command == L"help") {
      Print(kUsage);
      return kDone;
    }
    Write(stderr, (command.empty() ? L"pinvale-host: no command given\n"
                                   : L"pinvale-host: unknown command \"" + command + L"\"\n") +
                      std::wstring(kUsage));
    return kBadArguments;
  } catch (const Exit& e) {
    return e.status;
  }
}

// The console host pinvale-host.exe end to end: each command run as a child process,
// with its output in files, its environment and the registry set by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/library.h"

namespace {

struct Outcome {
  DWORD status = 0;
  std::wstring out;  // CR LF read as LF
  std::wstring err;
};

std::wstring Quote(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::wstring Text(const std::string& utf8) {
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      static_cast<int>(wide.size()));
  std::wstring lines;
  for (std::size_t i = 0; i < wide.size(); ++i)
    if (!(wide[i] == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n')) lines += wide[i];
  return lines;
}

// pinvale-host.exe with the arguments, its standard output and error going to files.
class Host {
 public:
  Host(const std::wstring& folder, const std::vector<std::wstring>& args)
      : out_path_(folder + L"out.txt"), err_path_(folder + L"err.txt") {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(out_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(err_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    const std::wstring program = test::BinDir() + L"pinvale-host.exe";
    std::wstring command = Quote(program);
    for (const std::wstring& arg : args) command += L" " + Quote(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    started_ = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                              &startup, &info_);
    CloseHandle(out);
    CloseHandle(err);
    CloseHandle(in);
    if (started_) CloseHandle(info_.hThread);
  }
  ~Host() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hProcess);
  }
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  DWORD id() const { return info_.dwProcessId; }
  bool running() const { return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

  Outcome Wait() {
    Outcome run;
    EXPECT_TRUE(started_) << "cannot start pinvale-host.exe";
    if (!started_) return run;
    EXPECT_EQ(WaitForSingleObject(info_.hProcess, 60000), WAIT_OBJECT_0) << "pinvale-host hangs";
    GetExitCodeProcess(info_.hProcess, &run.status);
    run.out = Text(test::ReadFileBytes(out_path_));
    run.err = Text(test::ReadFileBytes(err_path_));
    return run;
  }

 private:
  std::wstring out_path_, err_path_;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

struct WindowSearch {
  DWORD process;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto& s = *reinterpret_cast<WindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process != s.process || !IsWindowVisible(window)) return TRUE;
  if (s.class_name && std::wstring(name) != s.class_name) return TRUE;
  s.found = window;
  return FALSE;
}

// A visible top-level window of the process, waited for up to 20 s.
HWND WindowOf(const Host& host, const wchar_t* class_name = nullptr) {
  WindowSearch search{host.id(), class_name, nullptr};
  for (int i = 0; i < 400 && !search.found && host.running(); ++i) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(50);
  }
  return search.found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(WindowText(child));
  return TRUE;
}

// The texts of a window's children, in the order of enumeration.
std::vector<std::wstring> ChildTexts(HWND window) {
  std::vector<std::wstring> texts;
  EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class HostTool : public ::testing::Test {
 protected:
  HostTool() {
    CreateDirectoryW(temp.c_str(), nullptr);
    CreateDirectoryW(record.c_str(), nullptr);
    CreateDirectoryW(output.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    SetEnvironmentVariableW(L"PINVALE_RUNNER_RECORD", record.c_str());
    test::WriteFileBytes(deck, "deck");
  }

  Outcome Start(const std::vector<std::wstring>& args) { return Host(output, args).Wait(); }

  test::ScratchFolder scratch;
  test::InstallPathValue install;  // none unless a test sets it
  const std::wstring temp = scratch / L"temp\\";
  const std::wstring record = scratch / L"record\\";
  const std::wstring output = scratch / L"output\\";
  const std::wstring deck = scratch / L"Plan 2.pptx";
  const std::wstring runner_folder = test::BinDir() + L"runner";
};

TEST_F(HostTool, HelpAndBadArguments) {
  const Outcome help = Start({L"--help"});
  EXPECT_EQ(help.status, 0u);
  for (const wchar_t* command : {L"lock <deck>", L"caption <text>", L"message <text>", L"folder", L"about", L"info"})
    EXPECT_TRUE(Contains(help.out, command)) << command;

  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* message;
  };
  const Case cases[] = {
      {{}, L"no command"},
      {{L"frobnicate"}, L"unknown command \"frobnicate\""},
      {{L"lock"}, L"lock needs a deck"},
      {{L"lock", deck, deck}, L"one deck"},
      {{L"lock", deck, L"--slide"}, L"--slide needs a value"},
      {{L"lock", deck, L"--slide", L"1:2"}, L"is not INDEX:SHAPE:LOCKS"},
      {{L"lock", deck, L"--master=1:2:3:4"}, L"is not INDEX:SHAPE:LOCKS"},
      {{L"lock", deck, L"--layout", L"1:x:3"}, L"\"x\" is not a 32-bit decimal number"},
      {{L"lock", deck, L"--slide", L"2147483648:1:1"}, L"\"2147483648\" is not a 32-bit"},
      {{L"lock", deck, L"--keep=yes"}, L"--keep takes no value"},
      {{L"lock", deck, L"--frames"}, L"unknown option --frames"},
      {{L"caption"}, L"caption takes a text"},
      {{L"caption", L"a", L"b", L"c", L"d"}, L"caption takes a text"},
      {{L"message", L"hello", L"--flags", L"0x1G"}, L"is not a 32-bit unsigned number"},
      {{L"message", L"hello", L"--flags", L"4294967296"}, L"is not a 32-bit unsigned number"},
      {{L"folder", L"now"}, L"folder takes no arguments"},
  };
  for (const Case& c : cases) {
    std::wstring joined;
    for (const std::wstring& a : c.args) joined += L" " + a;
    SCOPED_TRACE(testing::Message() << "pinvale-host" << joined);
    const Outcome run = Start(c.args);
    EXPECT_EQ(run.status, 2u);
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_EQ(run.out, L"");
    EXPECT_TRUE(test::ListFolder(temp).empty()) << "a job was opened before the arguments were checked";
  }
}

// The job runs through the runner (the tests' stand-in, found through InstallPath): the
// shapes in the order given, the file the runner got, the path and result printed, and
// the file gone afterwards.
TEST_F(HostTool, LockRunsTheJob) {
  install.SetString(runner_folder);
  const Outcome run = Start({L"lock", deck, L"--slide", L"2:260:5", L"--master=1:12:2", L"--layout", L"3:-40:9",
                         L"--slide", L"2:260:7", L"--slide", L"-2147483648:1:2147483647", L"--keep"});
  EXPECT_EQ(run.status, 0u) << run.err;

  const std::wstring prefix = L"job file: " + temp;
  ASSERT_TRUE(Contains(run.out, prefix)) << run.out;
  const std::size_t start = run.out.find(prefix) + 10;
  const std::wstring job_file = run.out.substr(start, run.out.find(L'\n', start) - start);
  const std::wstring name = job_file.substr(temp.size());

  const std::vector<std::wstring> lines = {
      L"[Presentation]", L"FileName=" + deck, L"SlideCount=2", L"SlideMasterCount=1", L"SlideLayoutCount=1", L"",
      L"[Slide1]", L"SlideIndex=2", L"ShapeCount=1", L"",
      L"[Slide1Shape1]", L"ShapeId=260", L"Locks=7", L"",
      L"[SlideMaster1]", L"MasterIndex=1", L"ShapeCount=1", L"",
      L"[SlideMaster1Shape1]", L"ShapeId=12", L"Locks=2", L"",
      L"[SlideLayout1]", L"LayoutIndex=3", L"ShapeCount=1", L"",
      L"[SlideLayout1Shape1]", L"ShapeId=-40", L"Locks=9", L"",
      L"[Slide2]", L"SlideIndex=-2147483648", L"ShapeCount=1", L"",
      L"[Slide2Shape1]", L"ShapeId=1", L"Locks=2147483647", L""};
  EXPECT_EQ(test::ReadFileBytes(record + name + L".job"), test::JobFileBytes(lines)) << "the runner's copy";

  std::wstring kept;
  for (const std::wstring& line : lines) kept += line + L"\n";
  EXPECT_TRUE(Contains(run.out, L"shapes: 5\nresult: -1 (the runner ran to its end)\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, L"job file text:\n" + kept)) << run.out;
  EXPECT_TRUE(test::ListFolder(temp).empty()) << "the job was not closed";
}

TEST_F(HostTool, LockWithoutRunnerOrDeck) {
  // No install path and no Sealwork.exe beside the library: the job is saved, no runner starts.
  const Outcome no_runner = Start({L"lock", deck, L"--slide", L"1:1:1"});
  EXPECT_EQ(no_runner.status, 4u);
  EXPECT_TRUE(Contains(no_runner.out, L"result: 0 (no runner could be started)")) << no_runner.out;
  EXPECT_TRUE(Contains(no_runner.err, L"no runner could be started")) << no_runner.err;
  EXPECT_TRUE(test::ListFolder(temp).empty()) << "the job was not closed";

  for (const std::wstring& missing : {scratch / L"missing.pptx", scratch.path()}) {
    SCOPED_TRACE(missing);
    const Outcome run = Start({L"lock", missing, L"--slide", L"1:1:1"});
    EXPECT_EQ(run.status, 3u);
    EXPECT_TRUE(Contains(run.err, L"\"" + missing + L"\" is not an existing file")) << run.err;
    EXPECT_EQ(run.out, L"");
    EXPECT_TRUE(test::ListFolder(temp).empty());
  }
}

// The library's failure signal becomes a message with its class and exit status 1, after
// the job (when one was open) has been closed.
TEST_F(HostTool, FailureSignalGivesAMessageAndStatus1) {
  struct Case {
    const wchar_t* name;
    std::vector<std::wstring> args;
    bool temp_unusable;
    bool install_path_dword;
    const wchar_t* message;
  };
  const Case cases[] = {
      {L"temporary folder unusable", {L"lock", deck}, true, false,
       L"OpenPresentation failed: "},
      {L"install path not text, at process", {L"lock", deck, L"--slide", L"1:1:1"}, false, true,
       L"ProcessPresentation failed: Invalid data type for 'InstallPath' (class 3, registry error)"},
      {L"install path not text, for the folder", {L"folder"}, false, true,
       L"GetMessagesFolder failed: Invalid data type for 'InstallPath' (class 3, registry error)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring unusable = scratch / L"no such folder\\";
    SetEnvironmentVariableW(L"TMP", c.temp_unusable ? unusable.c_str() : temp.c_str());
    SetEnvironmentVariableW(L"TEMP", c.temp_unusable ? unusable.c_str() : temp.c_str());
    if (c.install_path_dword)
      install.SetDword(1);
    else
      install.RemoveValue();
    const Outcome run = Start(c.args);
    EXPECT_EQ(run.status, 1u);
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    if (c.temp_unusable) {
      EXPECT_TRUE(Contains(run.err, L"(class 1, I/O error)")) << run.err;
    }
    EXPECT_TRUE(test::ListFolder(temp).empty()) << "the job was not closed";
  }
}

TEST_F(HostTool, CaptionPrintsTheText) {
  struct Case {
    std::vector<std::wstring> args;
    std::wstring out;
  };
  const Case cases[] = {
      {{L"caption", L"Line<1310>next<9>tab<13>cr"}, L"Line\nnext\ttab\rcr\n"},
      {{L"caption", L"%s1% of %s2%", L"3", L"7"}, L"3 of 7\n"},
      {{L"caption", L"[%s1%|%s2%]", L"one"}, L"[one|]\n"},
      {{L"caption", L"\u00e9t\u00e9 \U0001F600"}, L"\u00e9t\u00e9 \U0001F600\n"},
      {{L"caption", L""}, L"\n"},
      {{L"caption", L"--", L"--keep"}, L"--keep\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.args.back());
    const Outcome run = Start(c.args);
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST_F(HostTool, FolderPrintsTheMessagesFolder) {
  install.SetString(L"C:\\Program Files\\Keelmark");
  const Outcome run = Start({L"folder"});
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.out, L"C:\\Program Files\\Keelmark\\Messages\n");

  install.RemoveValue();
  const Outcome none = Start({L"folder"});
  EXPECT_EQ(none.status, 0u);
  EXPECT_EQ(none.out, L"\n");
  EXPECT_TRUE(Contains(none.err, L"no installation is recorded")) << none.err;
}

// The box is found among the host's windows, read, and answered with a button.
TEST_F(HostTool, MessageShowsTheBoxAndPrintsTheButton) {
  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* title;
    const wchar_t* text;
    int button;
    const wchar_t* out;
  };
  const Case cases[] = {
      {{L"message", L"Save<13>now?", L"Plan", L"--flags", L"4"}, L"Plan", L"Save\rnow?", IDNO, L"result: 7 (No)\n"},
      {{L"message", L"Hello %s1%%s2%", L"--param", L"World"}, L"", L"Hello World", IDOK, L"result: 1 (OK)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Host host(output, c.args);
    HWND box = WindowOf(host, L"#32770");
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(WindowText(box), c.title);
    const std::vector<std::wstring> texts = ChildTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), c.text), texts.end()) << "the box does not show the text";
    PostMessageW(box, WM_COMMAND, c.button, 0);
    const Outcome run = host.Wait();
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST_F(HostTool, AboutShowsTheAboutBoxUntilItIsClosed) {
  Host host(output, {L"about"});
  HWND form = WindowOf(host);
  ASSERT_NE(form, nullptr) << "no About box";
  Sleep(200);
  EXPECT_TRUE(host.running()) << "the command ended with the box still open";
  PostMessageW(form, WM_CLOSE, 0, 0);
  const Outcome run = host.Wait();
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.err, L"");
}

TEST_F(HostTool, InfoListsTheExports) {
  const Outcome run = Start({L"info"});
  EXPECT_EQ(run.status, 0u) << run.err;
  for (const wchar_t* line : {L"   6  OpenPresentation\n", L"  17  ShowAboutForm\n",
                              L"instance mutex \"Keelmark\" while loaded: exists\n"})
    EXPECT_TRUE(Contains(run.out, line)) << line << "\n" << run.out;
}

}  // namespace

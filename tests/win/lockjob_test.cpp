// Lock jobs through the real DLL: the job file byte for byte, its life on disk, the
// runner's start, and the failure signal.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "include/pinvale.h"
#include "support/failure_signal.h"
#include "support/files.h"
#include "support/library.h"
#include "support/process.h"

namespace {

using Job = PinvaleJob;
using OpenFn = decltype(OpenPresentation);
using AddFn = decltype(AddSlideLockInfo);
using ProcessFn = decltype(ProcessPresentation);
using CloseFn = decltype(ClosePresentation);

struct Api {
  explicit Api(const test::Library& library)
      : Open(library.Proc<OpenFn>("OpenPresentation")),
        AddSlide(library.Proc<AddFn>("AddSlideLockInfo")),
        AddMaster(library.Proc<AddFn>("AddSlideMasterLockInfo")),
        AddLayout(library.Proc<AddFn>("AddSlideLayoutLockInfo")),
        Process(library.Proc<ProcessFn>("ProcessPresentation")),
        Close(library.Proc<CloseFn>("ClosePresentation")) {}
  OpenFn* Open;
  AddFn* AddSlide;
  AddFn* AddMaster;
  AddFn* AddLayout;
  ProcessFn* Process;
  CloseFn* Close;
};

std::wstring Decimal(std::int64_t v) { return std::to_wstring(v); }

class LockJob : public ::testing::Test {
 protected:
  LockJob() : api(library) {
    CreateDirectoryW(temp.c_str(), nullptr);
    CreateDirectoryW(record.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    SetEnvironmentVariableW(L"PINVALE_RUNNER_RECORD", record.c_str());
    SetEnvironmentVariableW(L"PINVALE_RUNNER_LINGER", nullptr);
    test::WriteFileBytes(deck, "deck");
    install.SetString(runner_folder);
  }

  // The one job file in the private temporary folder.
  std::wstring JobFile() {
    auto names = test::ListFolder(temp);
    EXPECT_EQ(names.size(), 1u);
    return names.empty() ? L"" : temp + names[0];
  }
  std::wstring Recorded(const std::wstring& job_file, const wchar_t* what) {
    return record + job_file.substr(job_file.find_last_of(L'\\') + 1) + what;
  }
  std::wstring RecordedText(const std::wstring& job_file, const wchar_t* what) {
    std::string bytes = test::ReadFileBytes(Recorded(job_file, what));
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  }

  std::vector<std::wstring> PresentationLines(int slides, int masters, int layouts) {
    return {L"[Presentation]", L"FileName=" + deck, L"SlideCount=" + Decimal(slides),
            L"SlideMasterCount=" + Decimal(masters), L"SlideLayoutCount=" + Decimal(layouts), L""};
  }

  test::ScratchFolder scratch;
  const std::wstring temp = scratch / L"temp\\";
  const std::wstring record = scratch / L"record\\";
  const std::wstring deck = scratch / L"Plan.pptx";
  const std::wstring runner_folder = test::BinDir() + L"runner";
  test::InstallPathValue install;
  test::Library library;
  Api api;
};

TEST_F(LockJob, WorkedExampleByteForByte) {
  Job job = api.Open(deck.c_str());
  ASSERT_NE(job, nullptr);
  api.AddSlide(job, 2, 260, 5);
  api.AddSlide(job, 7, 3, 1);
  api.AddSlide(job, 2, 261, 4);
  api.AddMaster(job, 1, 12, 2);
  api.AddSlide(job, 2, 260, 7);
  const std::wstring file = JobFile();
  EXPECT_EQ(api.Process(job), -1);

  std::vector<std::wstring> lines = PresentationLines(2, 1, 0);
  for (const wchar_t* line :
       {L"[Slide1]", L"SlideIndex=2", L"ShapeCount=2", L"", L"[Slide1Shape1]", L"ShapeId=260", L"Locks=7", L"",
        L"[Slide2]", L"SlideIndex=7", L"ShapeCount=1", L"", L"[Slide2Shape1]", L"ShapeId=3", L"Locks=1", L"",
        L"[Slide1Shape2]", L"ShapeId=261", L"Locks=4", L"", L"[SlideMaster1]", L"MasterIndex=1", L"ShapeCount=1",
        L"", L"[SlideMaster1Shape1]", L"ShapeId=12", L"Locks=2", L""})
    lines.push_back(line);
  const std::string expected = test::JobFileBytes(lines);
  EXPECT_EQ(test::ReadFileBytes(file), expected);
  EXPECT_EQ(test::ReadFileBytes(Recorded(file, L".job")), expected) << "the runner saw another file";
  api.Close(job);
}

// Reports and the job file they give, after the Presentation section.
struct Scenario {
  const char* name;
  void (*report)(const Api&, Job);
  int slides, masters, layouts;
  std::vector<std::wstring> lines;
};

const Scenario kScenarios[] = {
    {"no reports", [](const Api&, Job) {}, 0, 0, 0, {}},
    {"a shape reported again keeps its line",
     [](const Api& a, Job j) {
       a.AddLayout(j, 4, 9, 1);
       a.AddLayout(j, 4, 9, 1);
       a.AddLayout(j, 4, 9, 3);
     },
     0, 0, 1,
     {L"[SlideLayout1]", L"LayoutIndex=4", L"ShapeCount=1", L"", L"[SlideLayout1Shape1]", L"ShapeId=9", L"Locks=3",
      L""}},
    {"owners numbered in order of first report, one shape id under two owners",
     [](const Api& a, Job j) {
       a.AddSlide(j, 5, 1, 1);
       a.AddSlide(j, 2, 1, 2);
       a.AddMaster(j, 5, 1, 3);
     },
     2, 1, 0,
     {L"[Slide1]", L"SlideIndex=5", L"ShapeCount=1", L"", L"[Slide1Shape1]", L"ShapeId=1", L"Locks=1", L"",
      L"[Slide2]", L"SlideIndex=2", L"ShapeCount=1", L"", L"[Slide2Shape1]", L"ShapeId=1", L"Locks=2", L"",
      L"[SlideMaster1]", L"MasterIndex=5", L"ShapeCount=1", L"", L"[SlideMaster1Shape1]", L"ShapeId=1", L"Locks=3",
      L""}},
    {"negative and extreme values",
     [](const Api& a, Job j) { a.AddSlide(j, -1, 2147483647, INT32_MIN); },
     1, 0, 0,
     {L"[Slide1]", L"SlideIndex=-1", L"ShapeCount=1", L"", L"[Slide1Shape1]", L"ShapeId=2147483647",
      L"Locks=-2147483648", L""}},
};

TEST_F(LockJob, JobFileContent) {
  for (const Scenario& s : kScenarios) {
    SCOPED_TRACE(s.name);
    Job job = api.Open(deck.c_str());
    ASSERT_NE(job, nullptr);
    s.report(api, job);
    const std::wstring file = JobFile();
    EXPECT_EQ(api.Process(job), -1);
    std::vector<std::wstring> lines = PresentationLines(s.slides, s.masters, s.layouts);
    lines.insert(lines.end(), s.lines.begin(), s.lines.end());
    EXPECT_EQ(test::ReadFileBytes(file), test::JobFileBytes(lines));
    api.Close(job);
  }
}

TEST_F(LockJob, NameOutsideEveryCodePageIsWrittenUnchanged) {
  const std::wstring name = scratch / L"\u0915\u0916-\u4E2D-\U0001F600.pptx";
  test::WriteFileBytes(name, "deck");
  Job job = api.Open(name.c_str());
  ASSERT_NE(job, nullptr);
  const std::wstring file = JobFile();
  ASSERT_EQ(api.Process(job), -1);
  std::vector<std::wstring> lines = PresentationLines(0, 0, 0);
  lines[1] = L"FileName=" + name;
  EXPECT_EQ(test::ReadFileBytes(file), test::JobFileBytes(lines));
  api.Close(job);
}

TEST_F(LockJob, JobFileFromOpenToClose) {
  Job job = api.Open(deck.c_str());
  ASSERT_NE(job, nullptr);
  const std::wstring file = JobFile();
  EXPECT_EQ(test::ReadFileBytes(file), "\xFF\xFE");
  api.AddSlide(job, 1, 1, 1);
  EXPECT_EQ(test::ReadFileBytes(file), "\xFF\xFE") << "a report reached the disk before a save";

  ASSERT_EQ(api.Process(job), -1);
  const std::string first = test::ReadFileBytes(file);
  api.AddSlide(job, 1, 2, 1);
  ASSERT_EQ(api.Process(job), -1);
  const std::string second = test::ReadFileBytes(file);
  EXPECT_GT(second.size(), first.size());
  EXPECT_EQ(test::ReadFileBytes(Recorded(file, L".job")), second) << "the second run saw the second save";
  EXPECT_EQ(test::ReadFileBytes(Recorded(file, L".runs")), "xx");

  api.AddSlide(job, 9, 9, 9);  // after the last save: lost
  EXPECT_EQ(test::ReadFileBytes(file), second);
  api.Close(job);
  EXPECT_FALSE(test::FileExists(file));
  EXPECT_TRUE(test::ListFolder(temp).empty());
}

TEST_F(LockJob, NoJobForWhatIsNotAFile) {
  const std::wstring folder = scratch / L"folder.pptx";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring missing = scratch / L"missing.pptx";
  for (const wchar_t* name : {missing.c_str(), folder.c_str(), L"", static_cast<const wchar_t*>(nullptr)}) {
    EXPECT_EQ(api.Open(name), nullptr) << (name ? name : L"(null)");
  }
  EXPECT_TRUE(test::ListFolder(temp).empty()) << "a job file was left behind";
}

TEST_F(LockJob, NullHandleDoesNothing) {
  api.AddSlide(nullptr, 1, 1, 1);
  api.AddMaster(nullptr, 1, 1, 1);
  api.AddLayout(nullptr, 1, 1, 1);
  EXPECT_EQ(api.Process(nullptr), 0);
  api.Close(nullptr);
  EXPECT_TRUE(test::ListFolder(record).empty());
}

TEST_F(LockJob, RunnerGetsTheQuotedPathTwiceWhileTheMutexExists) {
  SetEnvironmentVariableW(L"PINVALE_RUNNER_LINGER", L"300");
  Job job = api.Open(deck.c_str());
  ASSERT_NE(job, nullptr);
  const std::wstring file = JobFile();
  ASSERT_EQ(api.Process(job), -1);
  EXPECT_TRUE(test::FileExists(Recorded(file, L".done"))) << "returned before the runner ended";
  EXPECT_EQ(RecordedText(file, L".cmdline"), L"\"" + file + L"\" \"" + file + L"\"");
  EXPECT_EQ(RecordedText(file, L".argv"), file + L"\n" + file + L"\n");
  EXPECT_EQ(RecordedText(file, L".mutex"), L"1");
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Keelmark Op");
  EXPECT_EQ(mutex, nullptr) << "the operation mutex outlived the call";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  if (mutex) CloseHandle(mutex);
  api.Close(job);
}

// Another process that opened the operation mutex meanwhile can take it after the call:
// the library released it, so it is neither owned by the host's thread nor abandoned.
TEST_F(LockJob, OperationMutexIsReleasedForOthersWhoHoldIt) {
  SetEnvironmentVariableW(L"PINVALE_RUNNER_LINGER", L"2000");
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"PinvaleWaiterReady");
  HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"PinvaleWaiterQuit");
  test::Child waiter(L"mutex_waiter.exe", L"\"Keelmark Op\" PinvaleWaiterReady PinvaleWaiterQuit");
  Job job = api.Open(deck.c_str());
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(api.Process(job), -1);
  ASSERT_EQ(WaitForSingleObject(ready, 0), WAIT_OBJECT_0) << "the waiter never saw the mutex";
  SetEvent(quit);
  EXPECT_EQ(waiter.Wait(), 0u);
  api.Close(job);
  CloseHandle(ready);
  CloseHandle(quit);
}

// Where the runner is looked for: the install path as stored, else beside the library.
TEST_F(LockJob, RunnerFolderFromTheInstallPath) {
  SetEnvironmentVariableW(L"PINVALE_RUNNER_DIR", runner_folder.c_str());
  struct Case {
    const wchar_t* name;
    std::wstring value;
    DWORD type;
    std::int32_t result;
  };
  const Case cases[] = {
      {L"no trailing backslash", runner_folder, REG_SZ, -1},
      {L"trailing backslash", runner_folder + L"\\", REG_SZ, -1},
      {L"expandable, taken unexpanded", L"%PINVALE_RUNNER_DIR%", REG_EXPAND_SZ, 0},
      {L"another folder", test::BinDir(), REG_SZ, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    install.SetString(c.value, c.type);
    Job job = api.Open(deck.c_str());
    ASSERT_NE(job, nullptr);
    const std::wstring file = JobFile();
    EXPECT_EQ(api.Process(job), c.result);
    EXPECT_EQ(test::FileExists(Recorded(file, L".done")), c.result == -1);
    EXPECT_EQ(test::ReadFileBytes(file), test::JobFileBytes(PresentationLines(0, 0, 0))) << "job not saved";
    api.Close(job);
  }
}

TEST_F(LockJob, RunnerBesideTheLibraryWithoutAnInstallPath) {
  // A copy of the library in a folder with the runner; the install path missing, then empty.
  const std::wstring folder = scratch / L"install\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(test::LibraryPath().c_str(), (folder + L"Pinvale.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((runner_folder + L"\\Sealwork.exe").c_str(), (folder + L"Sealwork.exe").c_str(), FALSE));
  HMODULE copy = LoadLibraryW((folder + L"Pinvale.dll").c_str());
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy, library.get());
  auto open = reinterpret_cast<OpenFn*>(reinterpret_cast<void*>(GetProcAddress(copy, "OpenPresentation")));
  auto process = reinterpret_cast<ProcessFn*>(reinterpret_cast<void*>(GetProcAddress(copy, "ProcessPresentation")));
  auto close = reinterpret_cast<CloseFn*>(reinterpret_cast<void*>(GetProcAddress(copy, "ClosePresentation")));

  install.RemoveValue();
  for (bool empty_value : {false, true}) {
    SCOPED_TRACE(empty_value ? "empty value" : "no value");
    if (empty_value) install.SetString(L"");
    Job job = open(deck.c_str());
    const std::wstring file = JobFile();
    EXPECT_EQ(process(job), -1);
    EXPECT_TRUE(test::FileExists(Recorded(file, L".done")));
    close(job);
  }
  FreeLibrary(copy);
}

TEST_F(LockJob, NoRunnerStarted) {
  const std::wstring fake = scratch / L"fake\\";
  CreateDirectoryW(fake.c_str(), nullptr);
  test::WriteFileBytes(fake + L"Sealwork.exe", "not a program");
  struct Case {
    const char* name;
    std::wstring folder;
    bool mutex_name_taken;
  };
  const Case cases[] = {
      {"runner missing", scratch / L"nowhere", false},
      {"not a program", fake, false},
      {"mutex name held by an event", runner_folder, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    install.SetString(c.folder);
    HANDLE event = c.mutex_name_taken ? CreateEventW(nullptr, TRUE, FALSE, L"Keelmark Op") : nullptr;
    Job job = api.Open(deck.c_str());
    const std::wstring file = JobFile();
    EXPECT_EQ(api.Process(job), 0);
    EXPECT_EQ(test::ReadFileBytes(file), test::JobFileBytes(PresentationLines(0, 0, 0)));
    EXPECT_TRUE(test::ListFolder(record).empty()) << "a runner ran";
    api.Close(job);
    if (event) CloseHandle(event);
  }
}

TEST_F(LockJob, InstallPathOfAnotherTypeRaisesTheRegistryErrorAfterTheSave) {
  install.SetDword(1);
  Job job = api.Open(deck.c_str());
  ASSERT_NE(job, nullptr);
  api.AddSlide(job, 1, 1, 1);
  const std::wstring file = JobFile();
  test::FailureCatcher catcher;
  EXPECT_EQ(api.Process(job), 0);
  const test::Failure& f = catcher.failure();
  EXPECT_TRUE(f.raised);
  EXPECT_EQ(f.flags & EXCEPTION_NONCONTINUABLE, static_cast<DWORD>(EXCEPTION_NONCONTINUABLE));
  EXPECT_EQ(f.error_class, 3u);
  EXPECT_EQ(f.message, L"Invalid data type for 'InstallPath'");
  EXPECT_GT(test::ReadFileBytes(file).size(), 2u) << "the job was not saved first";
  EXPECT_TRUE(test::ListFolder(record).empty());
  api.Close(job);
}

std::wstring SystemMessage(DWORD code) {
  wchar_t text[512] = {};
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512,
                           nullptr);
  while (n > 0 && text[n - 1] <= L' ') --n;
  return std::wstring(text, n);
}

TEST_F(LockJob, UnusableTemporaryFolderRaisesAnIoError) {
  const std::wstring gone = scratch / L"gone\\";
  SetEnvironmentVariableW(L"TMP", gone.c_str());
  SetEnvironmentVariableW(L"TEMP", gone.c_str());
  test::FailureCatcher catcher;
  EXPECT_EQ(api.Open(deck.c_str()), nullptr);
  const test::Failure& f = catcher.failure();
  ASSERT_TRUE(f.raised);
  EXPECT_EQ(f.code, 0xE0504E56u);
  EXPECT_EQ(f.error_class, 1u);
  EXPECT_EQ(f.message, SystemMessage(ERROR_DIRECTORY)) << "got: " << std::string(f.message.begin(), f.message.end());
}

TEST_F(LockJob, UnwritableJobFileRaisesTheFileCreationError) {
  Job job = api.Open(deck.c_str());
  ASSERT_NE(job, nullptr);
  const std::wstring file = JobFile();
  // Held open without sharing, the file cannot be rewritten.
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  test::FailureCatcher catcher;
  EXPECT_EQ(api.Process(job), 0);
  CloseHandle(held);
  const test::Failure& f = catcher.failure();
  ASSERT_TRUE(f.raised);
  EXPECT_EQ(f.error_class, 2u);
  EXPECT_EQ(f.message, L"Cannot create file \"" + file + L"\". " + SystemMessage(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(test::ReadFileBytes(file), "\xFF\xFE");
  EXPECT_TRUE(test::ListFolder(record).empty()) << "a runner ran";
  api.Close(job);
}

TEST_F(LockJob, SeparateJobsOnSeveralThreads) {
  constexpr int kThreads = 4, kShapes = 300;
  auto run = [&](int t) {
    const std::wstring name = scratch / (L"deck" + std::to_wstring(t) + L".pptx");
    test::WriteFileBytes(name, "deck");
    Job job = api.Open(name.c_str());
    for (int i = 0; i < kShapes; ++i) {
      api.AddSlide(job, (i * 7 + t) % 11, i, t);
      api.AddLayout(job, i % 3, i / 3, -t);
    }
    std::int32_t result = api.Process(job);
    api.Close(job);
    return result;
  };
  auto recorded_jobs = [&] {
    std::vector<std::string> jobs;
    for (const std::wstring& name : test::ListFolder(record))
      if (name.size() > 4 && name.substr(name.size() - 4) == L".job") jobs.push_back(test::ReadFileBytes(record + name));
    std::sort(jobs.begin(), jobs.end());
    return jobs;
  };

  for (int t = 0; t < kThreads; ++t) ASSERT_EQ(run(t), -1);
  const std::vector<std::string> one_at_a_time = recorded_jobs();
  ASSERT_EQ(one_at_a_time.size(), static_cast<std::size_t>(kThreads));
  for (const std::wstring& name : test::ListFolder(record)) DeleteFileW((record + name).c_str());

  std::vector<std::int32_t> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back([&, t] { results[t] = run(t); });
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t], -1);
  EXPECT_EQ(recorded_jobs(), one_at_a_time);
}

// Handles that are open in this process: GetHandleInformation succeeds exactly for them.
int CountHandles() {
  int count = 0;
  for (ULONG_PTR h = 4; h < 0x4000; h += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++count;
  }
  return count;
}

SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

TEST_F(LockJob, ThousandJobsLeaveNoHandleOrMemoryBehind) {
  auto cycle = [&] {
    Job job = api.Open(deck.c_str());
    for (int i = 0; i < 20; ++i) {
      api.AddSlide(job, i % 4, i, 1);
      api.AddMaster(job, 1, i, 2);
      api.AddLayout(job, 2, i, 3);
    }
    api.Process(job);
    api.Close(job);
  };
  // Without a runner the cycle still saves, reads the registry and makes the mutex.
  install.SetString(scratch / L"nowhere");
  for (int i = 0; i < 50; ++i) cycle();
  const int handles = CountHandles();
  const SIZE_T memory = WorkingSet();
  for (int i = 0; i < 1000; ++i) cycle();
  EXPECT_EQ(CountHandles(), handles);
  EXPECT_LT(WorkingSet(), memory + 2 * 1024 * 1024) << "working set grew from " << memory;

  install.SetString(runner_folder);
  cycle();
  const int with_runner = CountHandles();
  for (int i = 0; i < 20; ++i) cycle();
  EXPECT_EQ(CountHandles(), with_runner);
  EXPECT_EQ(CountHandles(), handles);
  EXPECT_TRUE(test::ListFolder(temp).empty());
}

}  // namespace

#include "lockjob/MainUnit.h"

#include <memory>

#include "common/exported_string.h"
#include "common/install_path.h"
#include "common/win_types.h"
#include "library/export_boundary.h"
#include "lockjob/job_file.h"
#include "lockjob/runner_launch.h"
#include "lockjob/runner_path.h"

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOW) == 68);
#endif

namespace pinvale {
namespace {

std::unique_ptr<TPresentation> OpenJob(std::u16string file_name) {
  if (!FileExists(file_name)) return nullptr;
  auto job = std::make_unique<TPresentation>();
  job->FFileName = std::move(file_name);
  job->FIniFileName = CreateJobFileName();
  CreateUnicodeFile(job->FIniFileName);
  WritePresentationSection(*job);
  return job;
}

std::int32_t ProcessJob(TPresentation& job) {
  SaveIniFile(job.FIniFile, job.FIniFileName);
  std::u16string folder = ReadInstallPath();
  if (folder.empty()) folder = FolderOf(GetLibraryFileName());
  const std::u16string runner = RunnerPath(std::move(folder));

  OperationMutex mutex;
  if (!mutex) return 0;
  UniqueHandle process = StartProcess(runner, RunnerCommandLine(job.FIniFileName));
  if (!process) return 0;
  WaitForSingleObject(process.get(), INFINITE);
  return -1;  // the process handle, then the mutex, are closed on the way out
}

}  // namespace
}  // namespace pinvale

using namespace pinvale;

TPresentation* __stdcall OpenPresentation(const wchar_t* FileName) {
  return ExportBoundary<TPresentation*>(nullptr,
                                        [&] { return OpenJob(ReadExportString(Utf16(FileName))).release(); });
}

// A null handle does nothing: hosts that lost their job must not take PowerPoint down.
void __stdcall AddSlideLockInfo(TPresentation* Presentation, std::int32_t SlideIndex, std::int32_t ShapeId,
                                std::int32_t Locks) {
  if (Presentation) ExportBoundary([&] { RecordSlideLock(*Presentation, SlideIndex, ShapeId, Locks); });
}

void __stdcall AddSlideMasterLockInfo(TPresentation* Presentation, std::int32_t MasterIndex, std::int32_t ShapeId,
                                      std::int32_t Locks) {
  if (Presentation) ExportBoundary([&] { RecordSlideMasterLock(*Presentation, MasterIndex, ShapeId, Locks); });
}

void __stdcall AddSlideLayoutLockInfo(TPresentation* Presentation, std::int32_t LayoutIndex, std::int32_t ShapeId,
                                      std::int32_t Locks) {
  if (Presentation) ExportBoundary([&] { RecordSlideLayoutLock(*Presentation, LayoutIndex, ShapeId, Locks); });
}

std::int32_t __stdcall ProcessPresentation(TPresentation* Presentation) {
  if (!Presentation) return 0;
  return ExportBoundary<std::int32_t>(0, [&] { return ProcessJob(*Presentation); });
}

void __stdcall ClosePresentation(TPresentation* Presentation) {
  if (!Presentation) return;
  ExportBoundary([&] {
    std::unique_ptr<TPresentation> job(Presentation);
    DeleteFileW(Wide(job->FIniFileName));  // a file already gone is no concern of the host's
  });
}

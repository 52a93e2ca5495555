#pragma once
// The lock-job exports. The job handle is the address of one TPresentation.
#include <cstdint>

#include "lockjob/job_record.h"

extern "C" {
pinvale::TPresentation* __stdcall OpenPresentation(const wchar_t* FileName);
void __stdcall AddSlideLockInfo(pinvale::TPresentation* Presentation, std::int32_t SlideIndex, std::int32_t ShapeId,
                                std::int32_t Locks);
void __stdcall AddSlideMasterLockInfo(pinvale::TPresentation* Presentation, std::int32_t MasterIndex,
                                      std::int32_t ShapeId, std::int32_t Locks);
void __stdcall AddSlideLayoutLockInfo(pinvale::TPresentation* Presentation, std::int32_t LayoutIndex,
                                      std::int32_t ShapeId, std::int32_t Locks);
std::int32_t __stdcall ProcessPresentation(pinvale::TPresentation* Presentation);
void __stdcall ClosePresentation(pinvale::TPresentation* Presentation);
}

#pragma once
// The lock job: which lock flags the host wants for which shape of which slide, slide
// master or slide layout, and the INI store that becomes the job file.
#include <cstdint>
#include <string>
#include <vector>

#include "common/hash_index.h"
#include "lockjob/ini_store.h"

namespace pinvale {

struct TLockInfo {
  std::int32_t FIndex;    // the shape id as the host gave it
  std::int32_t FLocks;    // the flags last reported for it
  std::int32_t FIniIndex;  // its 1-based position in its owner's FShapeLockInfos
};
using TLockInfos = std::vector<TLockInfo>;

struct TSlide {
  std::int32_t FSlideIndex;
  TLockInfos FShapeLockInfos;
  std::int32_t FIniIndex;  // 1-based position in FSlides: the section number
};
struct TSlideMaster {
  std::int32_t FMasterIndex;
  TLockInfos FShapeLockInfos;
  std::int32_t FIniIndex;
};
struct TSlideLayout {
  std::int32_t FLayoutIndex;
  TLockInfos FShapeLockInfos;
  std::int32_t FIniIndex;
};
using TSlides = std::vector<TSlide>;
using TSlideMasters = std::vector<TSlideMaster>;
using TSlideLayouts = std::vector<TSlideLayout>;

// Finds owners by their index and shapes by their id in constant time; gives the same
// answer as a scan from the first element, since both arrays hold each key once. It also
// keeps each owner's and shape's section in the store, so that a repeated report goes
// straight to its lines.
struct TOwnerLookup {
  HashIndex FOwners;
  std::vector<IniStore::SectionId> FOwnerSections;               // parallel to the owner array
  std::vector<HashIndex> FShapes;                                 // parallel to the owner array
  std::vector<std::vector<IniStore::SectionId>> FShapeSections;  // parallel to FShapeLockInfos
};

struct TPresentation {
  std::u16string FFileName;
  std::u16string FIniFileName;
  IniStore FIniFile;
  TSlides FSlides;
  TSlideMasters FSlideMasters;
  TSlideLayouts FSlideLayouts;
  TOwnerLookup FSlideLookup;
  TOwnerLookup FSlideMasterLookup;
  TOwnerLookup FSlideLayoutLookup;
};

// Writes the "Presentation" section of a new job: the file name and three zero counts.
void WritePresentationSection(TPresentation& job);

void RecordSlideLock(TPresentation& job, std::int32_t slide_index, std::int32_t shape_id, std::int32_t locks);
void RecordSlideMasterLock(TPresentation& job, std::int32_t master_index, std::int32_t shape_id, std::int32_t locks);
void RecordSlideLayoutLock(TPresentation& job, std::int32_t layout_index, std::int32_t shape_id, std::int32_t locks);

// Heap memory the job holds, the store included.
std::size_t JobMemoryBytes(const TPresentation& job);

}  // namespace pinvale

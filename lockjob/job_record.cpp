#include "lockjob/job_record.h"

#include <string_view>

#include "common/decimal.h"

namespace pinvale {
namespace {

constexpr std::u16string_view kPresentation = u"Presentation";

// What differs between slides, slide masters and slide layouts.
template <class Owner>
struct OwnerKind;

template <>
struct OwnerKind<TSlide> {
  static constexpr auto kIndex = &TSlide::FSlideIndex;
  static constexpr std::u16string_view kStem = u"Slide", kIndexKey = u"SlideIndex", kCountKey = u"SlideCount";
};
template <>
struct OwnerKind<TSlideMaster> {
  static constexpr auto kIndex = &TSlideMaster::FMasterIndex;
  static constexpr std::u16string_view kStem = u"SlideMaster", kIndexKey = u"MasterIndex",
                                       kCountKey = u"SlideMasterCount";
};
template <>
struct OwnerKind<TSlideLayout> {
  static constexpr auto kIndex = &TSlideLayout::FLayoutIndex;
  static constexpr std::u16string_view kStem = u"SlideLayout", kIndexKey = u"LayoutIndex",
                                       kCountKey = u"SlideLayoutCount";
};

// A section name built without touching the heap: stem, number, and optionally "Shape", number.
class SectionName {
 public:
  SectionName(std::u16string_view stem, std::int32_t number) { Append(stem), Append(DecimalText(number).view()); }
  SectionName(const SectionName& owner, std::int32_t shape) : SectionName(owner) {
    Append(u"Shape"), Append(DecimalText(shape).view());
  }
  std::u16string_view view() const { return std::u16string_view(text_, size_); }

 private:
  void Append(std::u16string_view part) {
    for (char16_t c : part) text_[size_++] = c;
  }
  char16_t text_[64];  // the longest stem, "Shape" and two 32-bit numbers fit
  std::size_t size_ = 0;
};

std::uint64_t IdHash(std::int32_t id) { return MixHash(static_cast<std::uint32_t>(id)); }

template <class Owner>
void RecordLock(IniStore& store, std::vector<Owner>& owners, TOwnerLookup& lookup, std::int32_t owner_index,
                std::int32_t shape_id, std::int32_t locks) {
  using Kind = OwnerKind<Owner>;
  std::uint32_t o = lookup.FOwners.Find(IdHash(owner_index),
                                        [&](std::uint32_t id) { return owners[id].*Kind::kIndex == owner_index; });
  if (o == HashIndex::kNone) {
    o = static_cast<std::uint32_t>(owners.size());
    Owner owner{};
    owner.*Kind::kIndex = owner_index;
    owner.FIniIndex = static_cast<std::int32_t>(o + 1);
    owners.push_back(std::move(owner));
    lookup.FShapes.emplace_back();
    lookup.FShapeSections.emplace_back();
    lookup.FOwners.Insert(IdHash(owner_index), o,
                          [&](std::uint32_t id) { return IdHash(owners[id].*Kind::kIndex); });
    store.WriteInteger(kPresentation, Kind::kCountKey, static_cast<std::int32_t>(owners.size()));
    lookup.FOwnerSections.push_back(store.FindOrAddSection(SectionName(Kind::kStem, owners[o].FIniIndex).view()));
  }
  Owner& owner = owners[o];
  TLockInfos& shapes = owner.FShapeLockInfos;
  HashIndex& shape_lookup = lookup.FShapes[o];
  std::vector<IniStore::SectionId>& shape_sections = lookup.FShapeSections[o];
  const IniStore::SectionId owner_section = lookup.FOwnerSections[o];

  std::uint32_t s =
      shape_lookup.Find(IdHash(shape_id), [&](std::uint32_t id) { return shapes[id].FIndex == shape_id; });
  if (s == HashIndex::kNone) {
    s = static_cast<std::uint32_t>(shapes.size());
    shapes.push_back({shape_id, 0, static_cast<std::int32_t>(s + 1)});
    shape_sections.push_back(
        store.FindOrAddSection(SectionName(SectionName(Kind::kStem, owner.FIniIndex), shapes[s].FIniIndex).view()));
    shape_lookup.Insert(IdHash(shape_id), s, [&](std::uint32_t id) { return IdHash(shapes[id].FIndex); });
  }
  TLockInfo& shape = shapes[s];
  shape.FLocks = locks;

  store.WriteInteger(owner_section, Kind::kIndexKey, owner.*Kind::kIndex);
  store.WriteInteger(owner_section, u"ShapeCount", static_cast<std::int32_t>(shapes.size()));
  store.WriteInteger(shape_sections[s], u"ShapeId", shape.FIndex);
  store.WriteInteger(shape_sections[s], u"Locks", shape.FLocks);
}

template <class Owner>
std::size_t OwnersMemory(const std::vector<Owner>& owners, const TOwnerLookup& lookup) {
  std::size_t bytes = owners.capacity() * sizeof(Owner) + lookup.FOwners.MemoryBytes() +
                      lookup.FOwnerSections.capacity() * sizeof(IniStore::SectionId) +
                      lookup.FShapes.capacity() * sizeof(HashIndex) +
                      lookup.FShapeSections.capacity() * sizeof(std::vector<IniStore::SectionId>);
  for (const Owner& owner : owners) bytes += owner.FShapeLockInfos.capacity() * sizeof(TLockInfo);
  for (const HashIndex& shapes : lookup.FShapes) bytes += shapes.MemoryBytes();
  for (const auto& sections : lookup.FShapeSections) bytes += sections.capacity() * sizeof(IniStore::SectionId);
  return bytes;
}

}  // namespace

void WritePresentationSection(TPresentation& job) {
  job.FIniFile.WriteString(kPresentation, u"FileName", job.FFileName);
  job.FIniFile.WriteInteger(kPresentation, u"SlideCount", static_cast<std::int32_t>(job.FSlides.size()));
  job.FIniFile.WriteInteger(kPresentation, u"SlideMasterCount", static_cast<std::int32_t>(job.FSlideMasters.size()));
  job.FIniFile.WriteInteger(kPresentation, u"SlideLayoutCount", static_cast<std::int32_t>(job.FSlideLayouts.size()));
}

void RecordSlideLock(TPresentation& job, std::int32_t slide_index, std::int32_t shape_id, std::int32_t locks) {
  RecordLock(job.FIniFile, job.FSlides, job.FSlideLookup, slide_index, shape_id, locks);
}

void RecordSlideMasterLock(TPresentation& job, std::int32_t master_index, std::int32_t shape_id, std::int32_t locks) {
  RecordLock(job.FIniFile, job.FSlideMasters, job.FSlideMasterLookup, master_index, shape_id, locks);
}

void RecordSlideLayoutLock(TPresentation& job, std::int32_t layout_index, std::int32_t shape_id, std::int32_t locks) {
  RecordLock(job.FIniFile, job.FSlideLayouts, job.FSlideLayoutLookup, layout_index, shape_id, locks);
}

std::size_t JobMemoryBytes(const TPresentation& job) {
  return sizeof(TPresentation) + (job.FFileName.capacity() + job.FIniFileName.capacity()) * sizeof(char16_t) +
         job.FIniFile.MemoryBytes() + OwnersMemory(job.FSlides, job.FSlideLookup) +
         OwnersMemory(job.FSlideMasters, job.FSlideMasterLookup) +
         OwnersMemory(job.FSlideLayouts, job.FSlideLayoutLookup);
}

}  // namespace pinvale

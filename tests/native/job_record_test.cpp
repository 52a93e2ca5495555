// The job record against a plain model that scans from the first element, as the job
// file's rules are stated: both must write the same file for any sequence of reports.
#include "lockjob/job_record.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/decimal.h"

namespace {

using pinvale::Decimal;

struct ModelIni {
  std::vector<std::pair<std::u16string, std::vector<std::pair<std::u16string, std::u16string>>>> sections;
  void Write(const std::u16string& section, const std::u16string& key, const std::u16string& value) {
    auto s = sections.begin();
    while (s != sections.end() && s->first != section) ++s;
    if (s == sections.end()) s = sections.insert(s, {section, {}});
    auto k = s->second.begin();
    while (k != s->second.end() && k->first != key) ++k;
    if (k == s->second.end())
      s->second.push_back({key, value});
    else
      k->second = value;
  }
  std::u16string Text() const {
    std::u16string text;
    for (const auto& [name, lines] : sections) {
      text += u"[" + name + u"]\r\n";
      for (const auto& [key, value] : lines) text += key + u"=" + value + u"\r\n";
      text += u"\r\n";
    }
    return text;
  }
};

struct ModelOwner {
  int index;
  std::vector<std::pair<int, int>> shapes;  // id, locks
};

struct ModelJob {
  ModelIni ini;
  std::vector<ModelOwner> owners[3];
  static constexpr const char16_t* kStem[3] = {u"Slide", u"SlideMaster", u"SlideLayout"};
  static constexpr const char16_t* kIndexKey[3] = {u"SlideIndex", u"MasterIndex", u"LayoutIndex"};
  static constexpr const char16_t* kCountKey[3] = {u"SlideCount", u"SlideMasterCount", u"SlideLayoutCount"};

  explicit ModelJob(const std::u16string& name) {
    ini.Write(u"Presentation", u"FileName", name);
    for (auto key : kCountKey) ini.Write(u"Presentation", key, u"0");
  }
  void Add(int kind, int index, int shape, int locks) {
    auto& list = owners[kind];
    std::size_t o = 0;
    while (o < list.size() && list[o].index != index) ++o;
    if (o == list.size()) {
      list.push_back({index, {}});
      ini.Write(u"Presentation", kCountKey[kind], Decimal(list.size()));
    }
    auto& shapes = list[o].shapes;
    std::size_t s = 0;
    while (s < shapes.size() && shapes[s].first != shape) ++s;
    if (s == shapes.size()) shapes.push_back({shape, 0});
    shapes[s].second = locks;
    const std::u16string section = kStem[kind] + Decimal(o + 1);
    ini.Write(section, kIndexKey[kind], Decimal(index));
    ini.Write(section, u"ShapeCount", Decimal(shapes.size()));
    ini.Write(section + u"Shape" + Decimal(s + 1), u"ShapeId", Decimal(shape));
    ini.Write(section + u"Shape" + Decimal(s + 1), u"Locks", Decimal(locks));
  }
};

void Add(pinvale::TPresentation& job, int kind, int index, int shape, int locks) {
  switch (kind) {
    case 0: return pinvale::RecordSlideLock(job, index, shape, locks);
    case 1: return pinvale::RecordSlideMasterLock(job, index, shape, locks);
    default: return pinvale::RecordSlideLayoutLock(job, index, shape, locks);
  }
}

TEST(JobRecord, WritesWhatTheScanningModelWrites) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 200; ++round) {
    pinvale::TPresentation job;
    job.FFileName = u"C:\\Decks\\Deck" + Decimal(round) + u".pptx";
    pinvale::WritePresentationSection(job);
    ModelJob model(job.FFileName);
    // Small ranges so that owners and shapes repeat; now and then the extremes.
    const int owners = 1 + round % 9, shapes = 1 + round % 23, reports = round * 3;
    for (int r = 0; r < reports; ++r) {
      const int kind = random() % 3;
      int index = static_cast<int>(random() % owners) - 2;
      int shape = static_cast<int>(random() % shapes);
      int locks = static_cast<int>(random());
      if (random() % 50 == 0) index = INT32_MIN;
      if (random() % 50 == 0) shape = INT32_MAX;
      Add(job, kind, index, shape, locks);
      model.Add(kind, index, shape, locks);
    }
    ASSERT_EQ(job.FIniFile.Text(), model.ini.Text()) << "round " << round;
  }
}

TEST(JobRecord, PositionsAreTheSectionNumbers) {
  pinvale::TPresentation job;
  pinvale::RecordSlideLock(job, 5, 10, 1);
  pinvale::RecordSlideLock(job, 2, 10, 1);
  pinvale::RecordSlideLock(job, 5, 11, 1);
  pinvale::RecordSlideLock(job, 5, 10, 3);
  ASSERT_EQ(job.FSlides.size(), 2u);
  EXPECT_EQ(job.FSlides[0].FSlideIndex, 5);
  EXPECT_EQ(job.FSlides[0].FIniIndex, 1);
  EXPECT_EQ(job.FSlides[1].FIniIndex, 2);
  ASSERT_EQ(job.FSlides[0].FShapeLockInfos.size(), 2u);
  EXPECT_EQ(job.FSlides[0].FShapeLockInfos[0].FLocks, 3);
  EXPECT_EQ(job.FSlides[0].FShapeLockInfos[1].FIniIndex, 2);
  EXPECT_TRUE(job.FSlideMasters.empty());
}

}  // namespace

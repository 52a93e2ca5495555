// The caption and format steps over 1 MiB of UTF-16 text dense with markers and
// placeholders, against one memcpy of the same bytes. "vs_memcpy" is the time of one
// step divided by the time of one copy; bytes_per_second counts the input text.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "text/Localizer.h"

namespace {

constexpr std::size_t kTextBytes = 1 << 20;

// About one marker or placeholder every six code units.
const std::u16string& Text() {
  static const std::u16string text = [] {
    const std::u16string piece = u"Shape %s1%<1310>on slide %s2%<9>is<13><10>locked<10>by <9>%s1%.<13>";
    std::u16string t;
    while (t.size() < kTextBytes / sizeof(char16_t)) t += piece;
    t.resize(kTextBytes / sizeof(char16_t));
    return t;
  }();
  return text;
}

// Seconds for one copy of the text, the unit of "vs_memcpy".
double CopySeconds() {
  static const double seconds = [] {
    const std::u16string& text = Text();
    std::vector<char16_t> target(text.size());
    using Clock = std::chrono::steady_clock;
    int copies = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
      std::memcpy(target.data(), text.data(), kTextBytes);
      benchmark::DoNotOptimize(target.data());
      benchmark::ClobberMemory();
      ++copies;
      now = Clock::now();
    } while (now - start < std::chrono::milliseconds(500));
    return std::chrono::duration<double>(now - start).count() / copies;
  }();
  return seconds;
}

void Report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kTextBytes);
  state.counters["vs_memcpy"] =
      benchmark::Counter(CopySeconds(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Memcpy(benchmark::State& state) {
  const std::u16string& text = Text();
  std::vector<char16_t> target(text.size());
  for (auto _ : state) {
    std::memcpy(target.data(), text.data(), kTextBytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  Report(state);
}

void CaptionStep(benchmark::State& state) {
  const std::u16string& text = Text();
  for (auto _ : state) benchmark::DoNotOptimize(pinvale::GetLocaleCaption(0, 0, text));
  Report(state);
}

void FormatStep(benchmark::State& state) {
  const std::u16string& text = Text();
  for (auto _ : state) benchmark::DoNotOptimize(pinvale::FormatLocaleCaption(0, 0, text, u"Title 1", u"7"));
  Report(state);
}

// Only the two placeholder replace-alls, on text that has been through the marker step.
void PlaceholdersOnly(benchmark::State& state) {
  const std::u16string caption = pinvale::GetLocaleCaption(0, 0, Text());
  for (auto _ : state) {
    std::u16string s = caption;
    pinvale::ReplaceAll(s, pinvale::Placeholder1, u"Title 1");
    pinvale::ReplaceAll(s, pinvale::Placeholder2, u"7");
    benchmark::DoNotOptimize(s);
  }
  Report(state);
}

BENCHMARK(Memcpy);
BENCHMARK(CaptionStep);
BENCHMARK(FormatStep);
BENCHMARK(PlaceholdersOnly);

}  // namespace

BENCHMARK_MAIN();

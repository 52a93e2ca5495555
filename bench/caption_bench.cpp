// The caption and format steps over 1 MiB of UTF-16 text dense with markers and
// placeholders, against one memcpy of the same bytes. Each iteration times one copy and
// then one step, so that both see the same machine load; "vs_memcpy" is the step's time
// over the copy's, and bytes_per_second counts the step's input text.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "text/Localizer.h"

namespace {

constexpr std::size_t kTextBytes = 1 << 20;

// A marker or placeholder about every six code units.
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

template <class Step>
void AgainstCopy(benchmark::State& state, Step step) {
  using Clock = std::chrono::steady_clock;
  const std::u16string& text = Text();
  std::vector<char16_t> target(text.size());
  double copy_seconds = 0;
  double step_seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    std::memcpy(target.data(), text.data(), kTextBytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
    const auto copied = Clock::now();
    step(text);
    const auto done = Clock::now();
    copy_seconds += std::chrono::duration<double>(copied - start).count();
    const double seconds = std::chrono::duration<double>(done - copied).count();
    step_seconds += seconds;
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kTextBytes);
  state.counters["vs_memcpy"] = step_seconds / copy_seconds;
  state.counters["memcpy_GBps"] = static_cast<double>(state.iterations()) * kTextBytes / copy_seconds / 1e9;
}

void Memcpy(benchmark::State& state) {
  std::vector<char16_t> again(Text().size());
  AgainstCopy(state, [&](const std::u16string& text) {
    std::memcpy(again.data(), text.data(), kTextBytes);
    benchmark::DoNotOptimize(again.data());
    benchmark::ClobberMemory();
  });
}

void CaptionStep(benchmark::State& state) {
  AgainstCopy(state,
              [](const std::u16string& text) { benchmark::DoNotOptimize(pinvale::GetLocaleCaption(0, 0, text)); });
}

void FormatStep(benchmark::State& state) {
  AgainstCopy(state, [](const std::u16string& text) {
    benchmark::DoNotOptimize(pinvale::FormatLocaleCaption(0, 0, text, u"Title 1", u"7"));
  });
}

// The format step's two placeholder passes alone, on text already through the marker
// step (the copy that they work on is timed with them).
void PlaceholderPasses(benchmark::State& state) {
  const std::u16string caption = pinvale::GetLocaleCaption(0, 0, Text());
  AgainstCopy(state, [&](const std::u16string&) {
    std::u16string s = caption;
    pinvale::ReplaceAll(s, pinvale::Placeholder1, u"Title 1");
    pinvale::ReplaceAll(s, pinvale::Placeholder2, u"7");
    benchmark::DoNotOptimize(s);
  });
}

BENCHMARK(Memcpy)->UseManualTime();
BENCHMARK(CaptionStep)->UseManualTime();
BENCHMARK(FormatStep)->UseManualTime();
BENCHMARK(PlaceholderPasses)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();

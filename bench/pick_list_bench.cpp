// Loading a picklist of 100,000 items (about 5 MB) from a real file and reading its items, beside
// the least any reader must do: read the same file and find each opening tag. The counter
// "ratio" of BM_LoadAndParseVsBaseline is load-and-parse time over baseline time, both measured
// in the same iterations. The stages follow on their own: the reader on text in memory and the
// two whole-text conversions of the code page.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "testing/temp_root_file_system.h"
#include "testing/test_double_byte_code_page.h"
#include "testing/windows1252_code_page.h"
#include "picklist/pick_list_records.h"
#include "picklist/pick_list_store.h"

namespace {

constexpr int kItemCount = 100000;
constexpr char kDataPath[] = "C:\\Data";
constexpr char kLeaders[] = "C:\\Data\\TLeaders.txt";

// Items of 40 to 50 bytes, a few with characters of the upper half of Windows-1252.
std::vector<std::string> MakeItems() {
  static const char* const kParts[] = {"Hex bolt M8x40 DIN 933", "Washer \xd8 8.4 ISO 7089", "Nut M8 ISO 4032 class 8",
                                       "Bracket, galvanised", "Cover plate 2 mm \xe9tage 3"};
  std::vector<std::string> items;
  items.reserve(kItemCount);
  char number[16];
  for (int i = 0; i < kItemCount; ++i) {
    std::snprintf(number, sizeof number, "%06d", i);
    std::string item = std::string("Pos ") + number + " - " + kParts[i % 5];
    item.resize(40 + i % 11, '.');
    items.push_back(std::move(item));
  }
  return items;
}

// One temporary tree with the file, shared by every benchmark of the run.
struct PickListFile {
  PickListFile() {
    const std::string text = BuildPickList(MakeItems()) + '\0';
    bytes = text.size();
    if (!files.WriteRealFile(kLeaders, text)) std::abort();
  }
  TempRootFileSystem files;
  size_t bytes = 0;
};

PickListFile& File() {
  static PickListFile file;
  return file;
}

size_t ReadAndScan(FileSystem& files) {
  std::string bytes;
  if (FAILED(files.ReadWholeFile(kLeaders, &bytes))) std::abort();
  size_t count = 0;
  for (size_t pos = bytes.find(kRecordOpenTag); pos != std::string::npos; pos = bytes.find(kRecordOpenTag, pos)) {
    ++count;
    pos += kRecordOpenTag.size();
  }
  return count;
}

size_t LoadAndParse(FileSystem& files, const CodePage& codePage) {
  PickListStore store(files, codePage);
  const std::u16string listText = store.Load(kDataPath);
  // What the pick dialog does before it fills its list.
  const std::string text = codePage.ToAnsi(listText);
  return FindPickListItems(codePage, text).size();
}

void CheckCount(benchmark::State& state, size_t count) {
  if (count != static_cast<size_t>(kItemCount)) state.SkipWithError("wrong item count");
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(File().bytes));
}

void BM_ReadAndScan(benchmark::State& state) {
  PickListFile& file = File();
  for (auto _ : state) CheckCount(state, ReadAndScan(file.files));
  SetBytes(state);
}

void BM_LoadAndParse(benchmark::State& state) {
  PickListFile& file = File();
  const Windows1252CodePage codePage;
  for (auto _ : state) CheckCount(state, LoadAndParse(file.files, codePage));
  SetBytes(state);
}

void BM_LoadAndParseVsBaseline(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  PickListFile& file = File();
  const Windows1252CodePage codePage;
  Clock::duration baseline{};
  Clock::duration loadAndParse{};
  for (auto _ : state) {
    const auto start = Clock::now();
    CheckCount(state, ReadAndScan(file.files));
    const auto middle = Clock::now();
    CheckCount(state, LoadAndParse(file.files, codePage));
    const auto end = Clock::now();
    baseline += middle - start;
    loadAndParse += end - middle;
  }
  const double baselineMs = std::chrono::duration<double, std::milli>(baseline).count();
  const double loadAndParseMs = std::chrono::duration<double, std::milli>(loadAndParse).count();
  state.counters["baseline_ms"] = benchmark::Counter(baselineMs, benchmark::Counter::kAvgIterations);
  state.counters["load_parse_ms"] = benchmark::Counter(loadAndParseMs, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = baselineMs > 0 ? loadAndParseMs / baselineMs : 0;
}

// The reader alone on text already in memory: the single-byte fast path and the character walk
// of a double-byte page.
void ParseInMemory(benchmark::State& state, const CodePage& codePage) {
  const std::string text = BuildPickList(MakeItems());
  for (auto _ : state) CheckCount(state, ParsePickList(codePage, text).size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_ParseWindows1252(benchmark::State& state) {
  ParseInMemory(state, Windows1252CodePage());
}
void BM_ParseDoubleByte(benchmark::State& state) {
  ParseInMemory(state, TestDoubleByteCodePage());
}

// The two conversions of the whole text that load and parse go through: to the wide form kept
// by the add-in at load, back to the ANSI form the records are read from.
void BM_ConvertToWide(benchmark::State& state) {
  const Windows1252CodePage codePage;
  const std::string text = BuildPickList(MakeItems());
  for (auto _ : state) benchmark::DoNotOptimize(codePage.ToWide(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_ConvertToAnsi(benchmark::State& state) {
  const Windows1252CodePage codePage;
  const std::u16string text = codePage.ToWide(BuildPickList(MakeItems()));
  for (auto _ : state) benchmark::DoNotOptimize(codePage.ToAnsi(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_ReadAndScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndParseVsBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseWindows1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDoubleByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToWide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToAnsi)->Unit(benchmark::kMillisecond);

}  // namespace

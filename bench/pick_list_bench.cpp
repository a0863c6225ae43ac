// Loading a picklist of 100,000 items (about 5 MB) from a real file and reading its items, beside
// the least any reader must do: read the same file and find each opening tag; once for a file in
// the ANSI code page and once for a UTF-8 file with the byte order mark whose items hold a
// diameter sign, a "less or equal" and a Japanese word. The counter "ratio" of
// BM_LoadAndParseVsBaseline is load-and-parse time over baseline time, both measured in the same
// iterations. The stages follow on their own: the reader on text in memory and the whole-text
// conversions of the code page and of UTF-8.
// A shared list: BM_SaveMergedVsPlain saves 100,000 items after this add-in changed 1,000 of them,
// once into the file as the store last read it (plain) and once after another add-in changed
// 1,000 others meanwhile (merged), in the same iterations; its counter "ratio" is merged over
// plain. BM_OpenCheckUnchanged is what the pick dialog pays at opening when nobody changed the file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/utf8.h"
#include "testing/temp_root_file_system.h"
#include "testing/test_double_byte_code_page.h"
#include "testing/windows1252_code_page.h"
#include "pick_list/pick_list_records.h"
#include "pick_list/pick_list_store.h"

namespace {

constexpr int kItemCount = 100000;
constexpr char kDataPath[] = "C:\\Data";
constexpr char kLeaders[] = "C:\\Data\\TLeaders.txt";
constexpr char kUtf8DataPath[] = "C:\\Utf8";
constexpr char kUtf8Leaders[] = "C:\\Utf8\\TLeaders.txt";
constexpr char kSharedDataPath[] = "C:\\Shared";
constexpr char kSharedLeaders[] = "C:\\Shared\\TLeaders.txt";

// Items of 40 to 50 bytes, a few with characters of the upper half of Windows-1252, or in UTF-8
// with characters that no ANSI code page holds together.
std::vector<std::string> MakeItems(bool utf8 = false) {
  static const char* const kAnsiParts[] = {"Hex bolt M8x40 DIN 933", "Washer \xd8 8.4 ISO 7089",
                                           "Nut M8 ISO 4032 class 8", "Bracket, galvanised",
                                           "Cover plate 2 mm \xe9tage 3"};
  static const char* const kUtf8Parts[] = {"Hex bolt M8x40 DIN 933", "Washer \xE2\x8C\x80 8.4 ISO 7089",
                                           "Nut M8 \xE2\x89\xA4 class 8", "Bracket \xE5\x9B\xB3\xE9\x9D\xA2",
                                           "Cover plate 2 mm \xC3\xA9tage 3"};
  const char* const* kParts = utf8 ? kUtf8Parts : kAnsiParts;
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

// One temporary tree with both files, shared by every benchmark of the run.
struct PickListFile {
  PickListFile() {
    const std::string text = BuildPickList(MakeItems()) + '\0';
    bytes = text.size();
    const std::string utf8 = std::string(kUtf8Mark) + BuildPickList(MakeItems(true)) + '\0';
    utf8Bytes = utf8.size();
    if (!files.WriteRealFile(kLeaders, text) || !files.WriteRealFile(kUtf8Leaders, utf8)) std::abort();
  }
  TempRootFileSystem files;
  size_t bytes = 0;
  size_t utf8Bytes = 0;
};

PickListFile& File() {
  static PickListFile file;
  return file;
}

size_t ReadAndScan(FileSystem& files, const char* path) {
  std::string bytes;
  if (FAILED(files.ReadWholeFile(path, &bytes))) std::abort();
  size_t count = 0;
  for (size_t pos = bytes.find(kRecordOpenTag); pos != std::string::npos; pos = bytes.find(kRecordOpenTag, pos)) {
    ++count;
    pos += kRecordOpenTag.size();
  }
  return count;
}

size_t LoadAndParse(FileSystem& files, const CodePage& codePage, const char* dataPath) {
  PickListStore store(files, codePage);
  const std::u16string listText = store.Load(dataPath);
  // What the pick dialog does before it fills its list.
  const std::string text = Utf16ToUtf8(listText);
  return FindRecordItems(std::string_view(text)).size();
}

void CheckCount(benchmark::State& state, size_t count) {
  if (count != static_cast<size_t>(kItemCount)) state.SkipWithError("wrong item count");
}

// Argument 0: the ANSI file; 1: the UTF-8 file.
bool Utf8File(const benchmark::State& state) {
  return state.range(0) != 0;
}
const char* LeadersOf(const benchmark::State& state) {
  return Utf8File(state) ? kUtf8Leaders : kLeaders;
}
const char* DataPathOf(const benchmark::State& state) {
  return Utf8File(state) ? kUtf8DataPath : kDataPath;
}

void SetBytes(benchmark::State& state) {
  const size_t bytes = Utf8File(state) ? File().utf8Bytes : File().bytes;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_ReadAndScan(benchmark::State& state) {
  PickListFile& file = File();
  for (auto _ : state) CheckCount(state, ReadAndScan(file.files, LeadersOf(state)));
  SetBytes(state);
}

void BM_LoadAndParse(benchmark::State& state) {
  PickListFile& file = File();
  const Windows1252CodePage codePage;
  for (auto _ : state) CheckCount(state, LoadAndParse(file.files, codePage, DataPathOf(state)));
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
    CheckCount(state, ReadAndScan(file.files, LeadersOf(state)));
    const auto middle = Clock::now();
    CheckCount(state, LoadAndParse(file.files, codePage, DataPathOf(state)));
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

// The two conversions of the whole text that load and parse go through: to the UTF-16 form kept
// by the add-in at load, back to the ANSI form the records are read from.
void BM_ConvertToWide(benchmark::State& state) {
  const Windows1252CodePage codePage;
  const std::string text = BuildPickList(MakeItems());
  for (auto _ : state) benchmark::DoNotOptimize(codePage.ToUtf16(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_ConvertToAnsi(benchmark::State& state) {
  const Windows1252CodePage codePage;
  const std::u16string text = codePage.ToUtf16(BuildPickList(MakeItems()));
  for (auto _ : state) benchmark::DoNotOptimize(codePage.ToAnsi(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_ReadAndScan)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndParse)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndParseVsBaseline)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseWindows1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDoubleByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToWide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToAnsi)->Unit(benchmark::kMillisecond);

// The two conversions of UTF-8: the file to the UTF-16 text at load, the UTF-16 text to the
// dialog's UTF-8 before the reader.
void BM_Utf8ToWide(benchmark::State& state) {
  const std::string text = BuildPickList(MakeItems(true));
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToUtf16(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_WideToUtf8(benchmark::State& state) {
  const std::u16string text = Utf8ToUtf16(BuildPickList(MakeItems(true)));
  for (auto _ : state) benchmark::DoNotOptimize(Utf16ToUtf8(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_Utf8ToWide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideToUtf8)->Unit(benchmark::kMillisecond);

// The base list, ours with 500 items removed and 500 added, theirs with 500 others removed and
// 500 others added: the two differ in 2,000 items, each from the base in 1,000.
struct SharedLists {
  SharedLists() {
    const std::vector<std::string> items = MakeItems();
    base = BuildPickList(items) + '\0';
    std::vector<std::string> oursItems(items.begin() + 500, items.end());
    std::vector<std::string> theirsItems(items.begin(), items.begin() + 1000);
    theirsItems.insert(theirsItems.end(), items.begin() + 1500, items.end());
    for (int i = 0; i < 500; ++i) {
      oursItems.push_back("Added here " + std::to_string(i));
      theirsItems.push_back("Added there " + std::to_string(i));
    }
    ours = Windows1252CodePage().ToUtf16(BuildPickList(oursItems));
    theirs = BuildPickList(theirsItems) + '\0';
  }
  std::string base, theirs;
  std::u16string ours;
};

// One save of `lists.ours` after a load of the base; `merged`: theirs in the file by then.
std::chrono::steady_clock::duration TimedSave(benchmark::State& state, TempRootFileSystem& files,
                                              const SharedLists& lists, bool merged) {
  const Windows1252CodePage codePage;
  PickListStore store(files, codePage);
  if (!files.WriteRealFile(kSharedLeaders, lists.base)) std::abort();
  store.Load(kSharedDataPath);
  if (merged && !files.WriteRealFile(kSharedLeaders, lists.theirs)) std::abort();
  std::u16string text = lists.ours;
  const auto start = std::chrono::steady_clock::now();
  store.Save(kSharedDataPath, &text, false);
  const auto took = std::chrono::steady_clock::now() - start;
  if (FindRecordItems(std::u16string_view(text)).size() != 100000u) {
    state.SkipWithError("wrong item count after the save");
  }
  return took;
}

void BM_SaveMergedVsPlain(benchmark::State& state) {
  static const SharedLists lists;
  PickListFile& file = File();
  std::chrono::steady_clock::duration plain{}, merged{};
  for (auto _ : state) {
    plain += TimedSave(state, file.files, lists, false);
    merged += TimedSave(state, file.files, lists, true);
  }
  const double plainMs = std::chrono::duration<double, std::milli>(plain).count();
  const double mergedMs = std::chrono::duration<double, std::milli>(merged).count();
  state.counters["plain_ms"] = benchmark::Counter(plainMs, benchmark::Counter::kAvgIterations);
  state.counters["merged_ms"] = benchmark::Counter(mergedMs, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = plainMs > 0 ? mergedMs / plainMs : 0;
}

void BM_OpenCheckUnchanged(benchmark::State& state) {
  PickListFile& file = File();
  const Windows1252CodePage codePage;
  PickListStore store(file.files, codePage);
  std::u16string text = store.Load(kDataPath);
  for (auto _ : state) {
    if (store.TakeOthersChanges(kDataPath, &text)) state.SkipWithError("the file did not change");
  }
}

BENCHMARK(BM_SaveMergedVsPlain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenCheckUnchanged)->Unit(benchmark::kMicrosecond);

}  // namespace

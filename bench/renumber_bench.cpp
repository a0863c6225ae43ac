// The Renumber tool's cost. ComputeLabels runs on every change in the dialog: measured whole, its
// ordering and its labels apart, beside a bare std::stable_sort of the same (key, index) pairs
// and beside the repeated search for the smallest remaining key that it replaces. The whole
// operation against the in-process simulated host gives the host calls per selected leader.
// The orders by position, the report of repeated and missing numbers and the Number tool's
// "continue" are measured over 100,000 leaders: reading the tips from the host, a change of
// order in the dialog, the report, and reading a whole drawing's labels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "parts_list/parts_list.h"
#include "renumber/callout_table.h"
#include "renumber/label_census.h"
#include "renumber/leader_reads.h"
#include "renumber/renumber_dialog.h"
#include "renumber/renumber_labels.h"
#include "renumber/renumber_selection.h"
#include "simhost/sim_host.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/windows1252_code_page.h"

namespace {

const RenumberChoices kChoices{NumericLeaders, true, 1, Arabic};

// Leaders numbered at random from 1 to n (repeats and gaps), one in twenty without a number.
std::vector<RenumberItem> Selection(size_t n) {
  std::mt19937 random(7);
  std::vector<RenumberItem> items(n);
  for (size_t i = 0; i < n; ++i) {
    items[i].isLeader = true;
    items[i].graphicId = static_cast<int32_t>(i + 1);
    ReadLeaderLabel(random() % 20 == 0 ? "Note" : std::to_string(1 + random() % n), &items[i]);
  }
  return items;
}

using KeyIndex = std::pair<int32_t, int32_t>;

std::vector<KeyIndex> Pairs(std::vector<RenumberItem>& items) {
  RenumberOrder order;
  OrderRenumberKeys(items, kChoices, order);
  std::vector<KeyIndex> pairs;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].sortKey >= 1 && items[i].sortKey <= kLastRenumberKey) {
      pairs.emplace_back(items[i].sortKey, static_cast<int32_t>(i));
    }
  }
  return pairs;
}

void StableSort(std::vector<KeyIndex>& pairs) {
  std::stable_sort(pairs.begin(), pairs.end(), [](const KeyIndex& a, const KeyIndex& b) { return a.first < b.first; });
}

// The documented way: search all items for the smallest remaining key, take it, again.
void RepeatedSearch(std::vector<RenumberItem>& items, const RenumberChoices& c) {
  RenumberOrder keysOnly;
  OrderRenumberKeys(items, c, keysOnly);  // sets every item's key
  for (int32_t k = 0;; ++k) {
    size_t best = items.size();
    for (size_t i = 0; i < items.size(); ++i) {
      const int32_t key = items[i].sortKey;
      if (key >= 1 && key <= kLastRenumberKey && (best == items.size() || key < items[best].sortKey)) best = i;
    }
    if (best == items.size()) return;
    NumberToLabel(c.startAt + k, c.format, &items[best].newLabel);
    items[best].sortKey = 0;
  }
}

void SetItems(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_ComputeLabels(benchmark::State& state) {
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  RenumberOrder order;
  order.reserve(items.size());
  for (auto _ : state) benchmark::DoNotOptimize(ComputeLabels(items, kChoices, order));
  SetItems(state);
}

void BM_OrderingOnly(benchmark::State& state) {
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  RenumberOrder order;
  order.reserve(items.size());
  for (auto _ : state) {
    OrderRenumberKeys(items, kChoices, order);
    benchmark::DoNotOptimize(order.data());
  }
  SetItems(state);
}

void BM_LabelsOnly(benchmark::State& state) {
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  RenumberOrder order;
  OrderRenumberKeys(items, kChoices, order);
  for (auto _ : state) {
    for (size_t k = 0; k < order.size(); ++k) {
      NumberToLabel(static_cast<int32_t>(k) + 1, Arabic, &items[order[k] & 0xFFFFFFFFu].newLabel);
    }
    benchmark::DoNotOptimize(items.data());
  }
  SetItems(state);
}

void BM_StableSortPairs(benchmark::State& state) {
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  const std::vector<KeyIndex> unsorted = Pairs(items);
  std::vector<KeyIndex> pairs;
  pairs.reserve(unsorted.size());
  for (auto _ : state) {
    pairs.assign(unsorted.begin(), unsorted.end());
    StableSort(pairs);
    benchmark::DoNotOptimize(pairs.data());
  }
  SetItems(state);
}

// Both in the same iterations; "ratio" is the ordering's time over stable_sort's.
void BM_OrderingVsStableSort(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  const std::vector<KeyIndex> unsorted = Pairs(items);
  std::vector<KeyIndex> pairs;
  pairs.reserve(unsorted.size());
  RenumberOrder order;
  order.reserve(items.size());
  Clock::duration sorting{}, ordering{};
  for (auto _ : state) {
    const auto start = Clock::now();
    pairs.assign(unsorted.begin(), unsorted.end());
    StableSort(pairs);
    const auto middle = Clock::now();
    OrderRenumberKeys(items, kChoices, order);
    const auto end = Clock::now();
    benchmark::DoNotOptimize(pairs.data());
    benchmark::DoNotOptimize(order.data());
    sorting += middle - start;
    ordering += end - middle;
  }
  const double sortingUs = std::chrono::duration<double, std::micro>(sorting).count();
  const double orderingUs = std::chrono::duration<double, std::micro>(ordering).count();
  state.counters["stable_sort_us"] = benchmark::Counter(sortingUs, benchmark::Counter::kAvgIterations);
  state.counters["ordering_us"] = benchmark::Counter(orderingUs, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = sortingUs > 0 ? orderingUs / sortingUs : 0;
}

void BM_RepeatedSearch(benchmark::State& state) {
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    RepeatedSearch(items, kChoices);
    benchmark::DoNotOptimize(items.data());
  }
  SetItems(state);
}

// A renumber with OK of n selected leaders in the simulated host; the counters are host calls per
// leader, before the dialog (reading) and after it (writing), fixed calls included.
void BM_RenumberHostCalls(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  SimHost host;
  const int32_t drawing = host.AddDrawing();
  host.SetActiveDrawing(drawing);
  std::vector<int32_t> ids;
  for (int32_t i = 0; i < n; ++i) ids.push_back(host.AddGraphic(drawing, {u"TCW25DimLead", u"7"}));
  host.Select(ids);
  Windows1252CodePage codePage;
  ScriptedDialogRunner runner;
  runner.DeclareEdit(kRenumberStartAt);
  int64_t reading = 0, writing = 0;
  for (auto _ : state) {
    host.ClearCalls();
    const int64_t before = host.CallCount();
    int64_t atDialog = 0;
    runner.Then([&](ScriptedDialog&) { atDialog = host.CallCount(); });
    runner.Click(kIdOk);
    RenumberChanges changes;
    HostRef<HostApp> app = host.App();
    // All leaders: each is labelled again, also one whose last label was a range text.
    if (FAILED(
            RenumberSelection(*app, RenumberOptions{AllLeaders, true, false}, runner, codePage, nullptr, &changes))) {
      state.SkipWithError("renumber failed");
    }
    reading += atDialog - before;
    writing += host.CallCount() - atDialog;
  }
  const double perLeader = static_cast<double>(state.iterations()) * n;
  state.counters["reading_per_leader"] = static_cast<double>(reading) / perLeader;
  state.counters["writing_per_leader"] = static_cast<double>(writing) / perLeader;
  state.counters["calls_per_leader"] = static_cast<double>(reading + writing) / perLeader;
}

// A drawing of n leaders numbered at random, their tips scattered over the sheet, all selected.
struct PlacedLeaders {
  explicit PlacedLeaders(int32_t n) {
    drawing = host.AddDrawing();
    host.SetActiveDrawing(drawing);
    std::mt19937 random(11);
    for (int32_t i = 0; i < n; ++i) {
      const SimPoint tip{static_cast<double>(random() % 20000) / 100, static_cast<double>(random() % 14000) / 100, 0};
      ids.push_back(host.AddLeaderAt(drawing, codePage.ToUtf16(std::to_string(1 + random() % n)), tip));
    }
    host.Select(ids);
  }
  SimHost host;
  Windows1252CodePage codePage;
  int32_t drawing = 0;
  std::vector<int32_t> ids;
};

// What reading the tips adds to opening the dialog: ReadLeaderTips over the selected leaders.
void BM_ReadTips(benchmark::State& state) {
  PlacedLeaders scene(static_cast<int32_t>(state.range(0)));
  std::vector<RenumberItem> items(scene.ids.size());
  for (size_t i = 0; i < items.size(); ++i) items[i] = RenumberItem{true, Arabic, 1, 0, "", scene.ids[i]};
  HostRef<HostDrawing> drawing = scene.host.Drawing(scene.drawing);
  std::vector<LeaderTip> tips;
  for (auto _ : state) {
    ReadLeaderTips(*drawing, items, nullptr, &tips);
    benchmark::DoNotOptimize(tips.data());
  }
  SetItems(state);
}

// A change of order in the dialog once the tips are in: the ranks and the labels afresh.
void BM_ChangeOfOrder(benchmark::State& state) {
  const auto n = static_cast<size_t>(state.range(0));
  std::vector<RenumberItem> items = Selection(n);
  std::mt19937 random(3);
  std::vector<LeaderTip> tips(n);
  for (LeaderTip& tip : tips) tip = {true, (random() % 20000) / 100.0, (random() % 14000) / 100.0};
  RenumberOrder order;
  std::vector<uint32_t> ranks;
  int32_t orderBy = OrderByRows;
  for (auto _ : state) {
    RankByPosition(tips, orderBy, 2.5, &ranks);
    benchmark::DoNotOptimize(ComputeLabelsInOrder(items, kChoices, orderBy, ranks, order));
    benchmark::DoNotOptimize(TakingOrderText(items, order, kCensusEntriesShown));
    orderBy = orderBy == OrderByRows ? OrderByColumns : OrderByRows;
  }
  SetItems(state);
}

void BM_CensusReport(benchmark::State& state) {
  std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(LabelCensusReport(items, Arabic));
  SetItems(state);
}

// "Continue" at the Number tool's start: every leader's text of the drawing read and weighed.
void BM_ContinueOverDrawing(benchmark::State& state) {
  PlacedLeaders scene(static_cast<int32_t>(state.range(0)));
  HostRef<HostDrawing> drawing = scene.host.Drawing(scene.drawing);
  for (auto _ : state) {
    HighestLabel highest(Arabic);
    if (FAILED(ReadHighestLabel(
            *drawing, [](HRESULT hr) { return hr; }, &highest))) {
      state.SkipWithError("reading failed");
    }
    benchmark::DoNotOptimize(highest.Continue(1));
  }
  SetItems(state);
}

BENCHMARK(BM_ReadTips)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeOfOrder)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CensusReport)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContinueOverDrawing)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeLabels)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderingOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LabelsOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StableSortPairs)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderingVsStableSort)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepeatedSearch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepeatedSearch)->Arg(100000)->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenumberHostCalls)->Arg(10)->Arg(1000)->Arg(10000)->Iterations(2)->Unit(benchmark::kMillisecond);

// The parts list: a spreadsheet's CSV of 10,000 rows read (decoded, split, each item read as a
// label); the check of 100,000 selected callouts against a list of half as many parts; the export
// of 100,000 callouts as a table; and the clockwise order of 100,000 tips.
void BM_ReadPartsList(benchmark::State& state) {
  std::string csv = "\xEF\xBB\xBFPos;Description;Qty;Material\r\n";
  for (int64_t i = 1; i <= state.range(0); ++i) {
    csv += std::to_string(1 + i % 999) + ";\"Bolt M" + std::to_string(i % 30) + "x70, zinc\";4;8.8\r\n";
  }
  Windows1252CodePage codePage;
  for (auto _ : state) benchmark::DoNotOptimize(ReadPartsList(csv, codePage, Arabic, {}));
}

void BM_PartsCheck(benchmark::State& state) {
  const std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  PartsList parts;
  for (int32_t i = 1; i <= state.range(0); i += 2) parts.items.push_back(i);
  for (auto _ : state) benchmark::DoNotOptimize(PartsCheckReport(items, Arabic, parts));
}

void BM_ExportTable(benchmark::State& state) {
  const std::vector<RenumberItem> items = Selection(static_cast<size_t>(state.range(0)));
  std::vector<LeaderTip> tips(items.size());
  std::vector<uint32_t> rows(items.size());
  for (uint32_t i = 0; i < rows.size(); ++i) rows[i] = i, tips[i] = {true, i * 0.25, 1000.0 - i * 0.5};
  for (auto _ : state) benchmark::DoNotOptimize(CalloutTable(items, rows, tips, ';'));
}

void BM_ClockwiseOrder(benchmark::State& state) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> place(0.0, 400.0);
  std::vector<LeaderTip> tips(static_cast<size_t>(state.range(0)));
  for (LeaderTip& tip : tips) tip = {true, place(random), place(random)};
  std::vector<uint32_t> ranks;
  for (auto _ : state) RankByPosition(tips, OrderClockwise, 2.5, &ranks);
}

BENCHMARK(BM_ReadPartsList)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartsCheck)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTable)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClockwiseOrder)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

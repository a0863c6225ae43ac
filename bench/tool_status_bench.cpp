// One UpdateToolStatus poll per tool against the in-process simulated host: the time a poll
// takes and the host calls it makes (the counter "host_calls" is per poll).
#include <benchmark/benchmark.h>

#include "addin/tool/tool_table.h"
#include "testing/tool_session.h"

namespace {

// A drawing of 200 graphics whose selection holds ten graphics, the last of them a leader.
void FillDrawing(ToolSession& s) {
  std::vector<int32_t> selected;
  for (int i = 0; i < 200; ++i) {
    const int32_t id = s.AddGraphic({i == 199 ? u"TCW25DimLead" : u"GRAPHIC", u"part"});
    if (i >= 190) selected.push_back(id);
  }
  s.host.Select(selected);
}

void PollTool(benchmark::State& state, int32_t tool, bool placing) {
  ToolSession s;
  FillDrawing(s);
  if (placing) s.Run(tool);
  HostRef<HostTool> thisTool = s.host.Tool(tool);
  const int64_t before = s.host.CallCount();
  for (auto _ : state) {
    ToolStatus status;
    benchmark::DoNotOptimize(s.tool.UpdateToolStatus(thisTool.get(), &status));
    s.host.ClearCalls();  // the record would otherwise grow with every poll
  }
  state.counters["host_calls"] =
      benchmark::Counter(static_cast<double>(s.host.CallCount() - before), benchmark::Counter::kAvgIterations);
}

void BM_PollNumber(benchmark::State& state) {
  PollTool(state, NumberTool, false);
}
void BM_PollNumberPlacing(benchmark::State& state) {
  PollTool(state, NumberTool, true);
}
void BM_PollPicklist(benchmark::State& state) {
  PollTool(state, PicklistTool, false);
}
void BM_PollObject(benchmark::State& state) {
  PollTool(state, ObjectTool, false);
}
void BM_PollRenumber(benchmark::State& state) {
  PollTool(state, RenumberTool, false);
}
void BM_PollOptions(benchmark::State& state) {
  PollTool(state, OptionsTool, false);
}

BENCHMARK(BM_PollNumber);
BENCHMARK(BM_PollNumberPlacing);
BENCHMARK(BM_PollPicklist);
BENCHMARK(BM_PollObject);
BENCHMARK(BM_PollRenumber);
BENCHMARK(BM_PollOptions);

}  // namespace

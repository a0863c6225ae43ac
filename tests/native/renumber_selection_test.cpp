// The Renumber operation against the in-process simulated host: the host calls it makes, the
// quiet endings, the running number it hands on, and every host call of reading and writing
// failing (or giving no object) in turn.
#include "renumber/renumber_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "renumber/renumber_dialog.h"
#include "simhost/sim_host.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/windows1252_code_page.h"

namespace {

constexpr HRESULT kHostFault = static_cast<HRESULT>(0x8004F00D);
constexpr HRESULT kCloseFailed = static_cast<HRESULT>(0x8004F00E);

// A drawing whose selection holds "7|#|Note": leaders with these texts, "#" a graphic of another
// type (its text "part"), and a user who answers the dialog as scripted.
struct Scene {
  explicit Scene(const std::string& texts) {
    drawing = host.AddDrawing();
    host.SetActiveDrawing(drawing);
    std::istringstream in(texts);
    for (std::string text; std::getline(in, text, '|');) {
      const bool leader = text != "#";
      ids.push_back(
          host.AddGraphic(drawing, {leader ? u"TCW25DimLead" : u"GRAPHIC", codePage.ToUtf16(leader ? text : "part")}));
    }
    host.Select(ids);
    added = Texts();
    runner.DeclareEdit(kRenumberStartAt);
    runner.DeclareEdit(kRenumberPreview);
  }
  HRESULT Renumber(RenumberOptions stored = {}) {
    HostRef<HostApp> app = host.App();
    return RenumberSelection(*app, stored, runner, codePage, nullptr, &changes);
  }
  std::string Texts() const {
    std::string texts;
    for (int32_t id : ids) texts += (texts.empty() ? "" : "|") + codePage.ToAnsi(host.Model().Graphic(id)->info);
    return texts;
  }
  std::vector<std::string> CallNames() const {
    std::vector<std::string> names;
    for (const SimCall& call : host.Calls()) names.push_back(call.name);
    return names;
  }

  SimHost host;
  Windows1252CodePage codePage;
  ScriptedDialogRunner runner;
  int32_t drawing = 0;
  std::vector<int32_t> ids;
  std::string added;  // the texts as they were put in
  RenumberChanges changes;
};

TEST(RenumberSelection, ReadsEachGraphicAndWritesEachLabelUnderOneUndoStep) {
  Scene s("2|#|1|Note");
  s.runner.Type(kRenumberStartAt, "5");
  s.runner.Click(kIdOk);
  EXPECT_EQ(S_OK, s.Renumber({NumericLeaders, true, false}));
  EXPECT_EQ("6|part|5|Note", s.Texts());
  const std::vector<std::string> item = {"IHostSelection.PickItem", "IHostGraphic.ReadGraphicId",
                                         "IHostGraphic.ReadTypeName"};
  const std::vector<std::string> text = {"IHostGraphic.ReadPropertyList", "IHostPropertyList.PickProperty",
                                         "IHostProperty.GetPropertyValue"};
  // The undo record notes each leader before its text changes.
  const std::vector<std::string> write = {"IHostGraphicList.FindById",      "IHostUndoRecord.NoteChangedGraphic",
                                          "IHostGraphic.ReadPropertyList",  "IHostPropertyList.PickProperty",
                                          "IHostProperty.SetPropertyValue", "IHostGraphic.UpdateGraphic"};
  std::vector<std::string> expected = {"IHostApp.ReadActiveDrawing", "IHostDrawing.ReadSelection",
                                       "IHostSelection.CountItems"};
  for (const auto* part : {&item, &text, &item, &item, &text, &item, &text}) {
    expected.insert(expected.end(), part->begin(), part->end());
  }
  expected.insert(expected.end(), {"IHostDrawing.ReadGraphicList", "IHostDrawing.OpenUndoRecord"});
  for (const auto* part : {&write, &write}) expected.insert(expected.end(), part->begin(), part->end());
  expected.insert(expected.end(),
                  {"IHostUndoRecord.CloseUndoRecord", "IHostDrawing.ReadActiveView", "IHostView.RefreshView"});
  EXPECT_EQ(expected, s.CallNames());
  EXPECT_EQ(1, s.host.RefreshCount());
  EXPECT_EQ(0, s.host.LiveHandles());
  ASSERT_TRUE(s.host.Undo());
  EXPECT_EQ(s.added, s.Texts()) << "one step takes every label back";
  EXPECT_FALSE(s.host.Undo());
}

TEST(RenumberSelection, EndsQuietlyOrWithTheNoLeadersMessage) {
  const struct {
    const char* texts;
    bool noDrawing;
    size_t messages, dialogs;
  } cases[] = {{"1", true, 0, 0}, {"", false, 0, 0}, {"#|#", false, 1, 0}, {"5|3", false, 0, 1 /* Cancel */}};
  for (const auto& c : cases) {
    Scene s(c.texts);
    if (c.noDrawing) s.host.SetActiveDrawing(0);
    s.runner.Type(kRenumberStartAt, "40");
    s.runner.Click(kIdCancel);
    EXPECT_EQ(S_OK, s.Renumber()) << c.texts;
    EXPECT_EQ(s.added, s.Texts()) << c.texts;
    EXPECT_TRUE(s.host.UndoCaptions().empty()) << c.texts;
    EXPECT_EQ(c.dialogs, s.runner.ShownTemplates().size()) << c.texts;
    ASSERT_EQ(c.messages, s.runner.Messages().size()) << c.texts;
    if (c.messages > 0) {
      EXPECT_EQ(kNoLeadersMessage, s.runner.Messages()[0].text);
      EXPECT_EQ("Tallyline - Renumber", s.runner.Messages()[0].caption);
      EXPECT_EQ(kMbOk, s.runner.Messages()[0].flags);
    }
    EXPECT_FALSE(s.changes.settings || s.changes.runningNumber || s.changes.numberFormat) << c.texts;
  }
}

TEST(RenumberSelection, ConfirmedChoicesAndTheRunningNumberHandedOn) {
  const struct {
    const char* texts;
    RenumberOptions stored;
    const char* startAt;
    const char* after;
    std::optional<int32_t> runningNumber;
  } cases[] = {
      {"3|1|2", {NumericLeaders, true, true}, "1", "3|1|2", 4},  // written even where unchanged
      {"5|7|9", {SameFormatLeaders, false, true}, "1", "1|3|5", 6},
      {"5|7|9", {NumericLeaders, false, false}, "1", "1|3|5", std::nullopt},
      {"1|2", {AllLeaders, true, true}, "2147483647", "E!Range 1 - 999|E!Range 1 - 999", INT32_MAX},
  };
  for (const auto& c : cases) {
    Scene s(c.texts);
    s.runner.Type(kRenumberStartAt, c.startAt);
    s.runner.Click(kIdOk);
    EXPECT_EQ(S_OK, s.Renumber(c.stored));
    EXPECT_EQ(c.after, s.Texts());
    for (int32_t id : s.ids) EXPECT_EQ(1, s.host.UpdateCount(id)) << c.texts;
    ASSERT_TRUE(s.changes.settings);
    EXPECT_EQ(c.stored.objects, s.changes.settings->objects);
    EXPECT_EQ(c.stored.fixOrder, s.changes.settings->fixOrder);
    EXPECT_EQ(c.stored.resetRunning, s.changes.settings->resetRunning);
    EXPECT_EQ(c.runningNumber, s.changes.runningNumber) << c.texts;
    EXPECT_EQ(c.runningNumber ? std::optional<int32_t>(Arabic) : std::nullopt, s.changes.numberFormat);
  }
}

// Tips are read from the host only when an order needs them: at the opening for a stored order
// of rows or columns, or once the user picks one; a leader without a vertex child comes last.
TEST(RenumberSelection, PositionOrdersReadTheTipsOnlyWhenNeeded) {
  const struct {
    int32_t storedOrder;
    int clicked;  // an order button the user clicks, 0 for none
    const char* after;
    long tipReads;
  } cases[] = {
      {OrderByLabels, 0, "3|1|2|4", 0},
      {OrderBySelection, 0, "1|2|3|4", 0},
      {OrderByRows, 0, "2|1|3|4", 3},
      {OrderByLabels, kRenumberOrderButtons[OrderByColumns], "2|3|1|4", 3},
  };
  for (const auto& c : cases) {
    Scene s("");
    s.ids = {s.host.AddLeaderAt(s.drawing, u"30", {40, 100, 0}), s.host.AddLeaderAt(s.drawing, u"10", {60, 100.5, 0}),
             s.host.AddLeaderAt(s.drawing, u"20", {10, 99.5, 0}),
             s.host.AddGraphic(s.drawing, {u"TCW25DimLead", u"40"})};
    s.host.Select(s.ids);
    s.runner.Type(kRenumberStartAt, "1");
    if (c.clicked != 0) {  // the system's auto radio button unchecks the rest of its group
      s.runner.Then([&c](ScriptedDialog& d) {
        for (int id : kRenumberOrderButtons) d.SetCheck(id, id == c.clicked ? kChecked : kUnchecked);
      });
      s.runner.Click(c.clicked);
    }
    s.runner.Click(kIdOk);
    EXPECT_EQ(S_OK, s.Renumber({NumericLeaders, true, false, LabelStyle{}, 1, c.storedOrder, "0.4"}));
    EXPECT_EQ(c.after, s.Texts()) << c.storedOrder;
    const std::vector<std::string> names = s.CallNames();
    EXPECT_EQ(c.tipReads, std::count(names.begin(), names.end(), "IHostVertex.ReadY")) << c.storedOrder;
    ASSERT_TRUE(s.changes.settings);
    EXPECT_EQ(c.clicked != 0 ? OrderByColumns : c.storedOrder, s.changes.settings->order);
    EXPECT_EQ("0.4", s.changes.settings->tolerance);
    EXPECT_EQ(0, s.host.LiveHandles());
  }
}

// Every host call of a renumber with OK fails in turn, and every call that gives an object gives
// none. A failure while reading ends before the dialog; one while writing ends at that leader
// with the undo record closed over what was written, whatever the close itself gives.
TEST(RenumberSelection, EveryHostCallFailingOrGivingNoObject) {
  const char* const before = "7|#|Note|5|9";
  const std::vector<std::string> old = {"7", "part", "Note", "5", "9"}, after = {"2", "part", "4", "1", "3"};
  const struct Fault {
    const char* name;
    bool none, closeFails;
  } faults[] = {{"failing", false, false}, {"giving none", true, false}, {"failing, the close too", false, true}};
  const auto play = [](Scene& s, const std::function<void(SimHost&)>& arm) {
    s.runner.Type(kRenumberStartAt, "1");
    s.runner.Click(kIdOk);
    s.host.ClearCalls();
    arm(s.host);
    return s.Renumber({AllLeaders, true, true});
  };
  Scene clean(before);
  ASSERT_EQ(S_OK, play(clean, [](SimHost&) {}));
  const std::vector<std::string> calls = clean.CallNames();
  const auto indexOf = [&calls](const char* name) {
    return std::find(calls.begin(), calls.end(), name) - calls.begin();
  };
  const auto firstWrite = indexOf("IHostDrawing.ReadGraphicList"), open = indexOf("IHostDrawing.OpenUndoRecord"),
             close = indexOf("IHostUndoRecord.CloseUndoRecord");
  int points = 0;
  for (ptrdiff_t i = 0; i < static_cast<ptrdiff_t>(calls.size()); ++i) {
    for (const Fault& f : faults) {
      if ((f.none && !clean.host.Calls()[i].gaveObject) || (f.closeFails && (i <= open || i >= close))) continue;
      const std::string what = calls[i] + " (call " + std::to_string(i + 1) + ") " + f.name;
      Scene s(before);
      const HRESULT hr = play(s, [&](SimHost& h) {
        f.none ? h.GiveNoObject(i + 1) : h.FailCall(i + 1, kHostFault);
        if (f.closeFails) h.FailCall(i + 2, kCloseFailed);  // the close after the failing write
      });
      ++points;
      EXPECT_EQ(0, s.host.LiveHandles()) << what;
      if (f.none && i == 0) {  // no active drawing: nothing to do
        EXPECT_EQ(S_OK, hr) << what;
        continue;
      }
      EXPECT_EQ(f.none ? E_POINTER : kHostFault, hr) << what;
      EXPECT_FALSE(s.changes.runningNumber) << what;
      EXPECT_EQ(0, s.host.RefreshCount()) << what;
      EXPECT_EQ(i >= firstWrite, s.changes.settings.has_value()) << what << ": the dialog's choices";
      // The leaders whose SetPropertyValue came before the failure carry their new labels.
      auto written = std::count(calls.begin(), calls.begin() + i, "IHostProperty.SetPropertyValue");
      std::string expected;
      for (size_t k = 0; k < old.size(); ++k) {
        expected += (k == 0 ? "" : "|") + (old[k] != "part" && written-- > 0 ? after[k] : old[k]);
      }
      EXPECT_EQ(expected, s.Texts()) << what;
      const bool closed = i > open && i != close && !f.closeFails;
      EXPECT_EQ(closed ? 1u : 0u, s.host.UndoCaptions().size()) << what;
      if (closed) {
        s.host.Undo();
        EXPECT_EQ(s.added, s.Texts()) << what << ", undone";
      }
    }
  }
  EXPECT_GT(points, 70);
}

// A selection whose count is absurd (a host that miscounts) and whose first item fails: the
// operation hands on the host's failure and never sizes anything by the count alone.
TEST(RenumberSelection, AnAbsurdCountWithAFailingFirstItemGivesTheHostsFailure) {
  struct Selection : HostSelection {
    explicit Selection(int32_t count) : count(count) {}
    HRESULT CountItems(int32_t* out) override { return *out = count, S_OK; }
    HRESULT PickItem(int32_t, HostRef<HostGraphic>*) override { return kHostFault; }
    HRESULT ClearSelection() override { return S_OK; }
    int32_t count;
  };
  struct Drawing : HostDrawing {
    explicit Drawing(int32_t count) : count(count) {}
    HRESULT ReadGraphicList(HostRef<HostGraphicList>*) override { return E_NOTIMPL; }
    HRESULT ReadSelection(HostRef<HostSelection>* out) override {
      return *out = std::make_unique<Selection>(count), S_OK;
    }
    HRESULT ReadActiveView(HostRef<HostView>*) override { return E_NOTIMPL; }
    HRESULT OpenUndoRecord(const std::u16string&, HostRef<HostUndoRecord>*) override { return E_NOTIMPL; }
    int32_t count;
  };
  struct App : HostApp {
    explicit App(int32_t count) : count(count) {}
    HRESULT ReadActiveDrawing(HostRef<HostDrawing>* out) override {
      return *out = std::make_unique<Drawing>(count), S_OK;
    }
    HRESULT ReadToolList(HostRef<HostToolList>*) override { return E_NOTIMPL; }
    HRESULT ReadVersionText(int32_t, std::u16string*) override { return E_NOTIMPL; }
    HRESULT SubscribeEvents(int32_t, int32_t*) override { return E_NOTIMPL; }
    HRESULT UnsubscribeEvents(int32_t) override { return E_NOTIMPL; }
    HRESULT QueryAddinServices(HostRef<HostAddinServices>*) override { return E_NOTIMPL; }
    HRESULT QueryCommands(HostRef<HostCommands>*) override { return E_NOTIMPL; }
    int32_t count;
  };
  for (const int32_t count : {INT32_MAX, 50'000'000, 1}) {
    App app(count);
    ScriptedDialogRunner runner;
    Windows1252CodePage codePage;
    RenumberChanges changes;
    EXPECT_EQ(kHostFault, RenumberSelection(app, {}, runner, codePage, nullptr, &changes)) << count;
    EXPECT_TRUE(runner.ShownTemplates().empty()) << count;
  }
}

}  // namespace

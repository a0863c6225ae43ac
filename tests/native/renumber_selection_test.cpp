// The Renumber operation against the in-process simulated host: the host calls it makes, the
// quiet endings, the running number it hands on, and every host call of reading and writing
// failing (or giving no object) in turn.
#include "renumber/renumber_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "renumber/renumber_dialog.h"
#include "simhost/sim_host.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/windows1252_code_page.h"

namespace {

constexpr HRESULT kInjected = static_cast<HRESULT>(0x8004F00D);
constexpr HRESULT kCloseFailed = static_cast<HRESULT>(0x8004F00E);
constexpr char kNotALeader[] = "<graphic>";

// A drawing whose selection holds the given texts (leaders, or graphics of another type), and
// a user who answers the dialog as scripted.
struct Scene {
  explicit Scene(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) added.push_back(text == kNotALeader ? "part" : text);
    drawing = host.AddDrawing();
    host.SetActiveDrawing(drawing);
    for (const std::string& text : texts) {
      SimGraphicSpec spec;
      spec.typeName = text == kNotALeader ? u"GRAPHIC" : u"TCW25DimLead";
      spec.info = codePage.ToWide(text == kNotALeader ? "part" : text);
      ids.push_back(host.AddGraphic(drawing, spec));
    }
    host.Select(ids);
    runner.DeclareEdit(kRenumberStartAt);
    runner.DeclareEdit(kRenumberPreview);
  }
  HRESULT Renumber(RenumberSettings stored = {}, const HostStillHeld& stillHeld = nullptr) {
    HostRef<HostApp> app = host.App();
    return RenumberSelection(*app, stored, runner, codePage, stillHeld, &changes);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int32_t id : ids) texts.push_back(codePage.ToAnsi(host.Model().Graphic(id)->info));
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
  std::vector<std::string> added;  // the texts as they were put in
  RenumberChanges changes;
};

TEST(RenumberSelection, ReadsEachGraphicAndWritesEachLabelUnderOneUndoStep) {
  Scene s({"2", kNotALeader, "1", "Note"});
  s.runner.Type(kRenumberStartAt, "5");
  s.runner.Click(kIdOk);
  EXPECT_EQ(S_OK, s.Renumber({NumericLeaders, true, false}));
  EXPECT_EQ((std::vector<std::string>{"6", "part", "5", "Note"}), s.Texts());
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
  for (int leader = 0; leader < 2; ++leader) expected.insert(expected.end(), write.begin(), write.end());
  expected.insert(expected.end(),
                  {"IHostUndoRecord.CloseUndoRecord", "IHostDrawing.ReadActiveView", "IHostView.RefreshView"});
  EXPECT_EQ(expected, s.CallNames());
  EXPECT_EQ(1, s.host.RefreshCount());
  EXPECT_EQ(0, s.host.LiveHandles());
  EXPECT_EQ(std::vector<std::u16string>{u"TL Renumber"}, s.host.UndoCaptions());
  ASSERT_TRUE(s.host.Undo());
  EXPECT_EQ(s.added, s.Texts()) << "one step takes every label back";
}

TEST(RenumberSelection, EndsQuietlyOrWithTheNoLeadersMessage) {
  const struct {
    std::string name;
    std::vector<std::string> texts;
    bool noDrawing;
    size_t messages;
    size_t dialogs;
  } cases[] = {
      {"no drawing", {"1"}, true, 0, 0},
      {"empty selection", {}, false, 0, 0},
      {"graphics but no leader", {kNotALeader, kNotALeader}, false, 1, 0},
      {"Cancel", {"5", "3"}, false, 0, 1},
  };
  for (const auto& c : cases) {
    Scene s(c.texts);
    if (c.noDrawing) s.host.SetActiveDrawing(0);
    s.runner.Type(kRenumberStartAt, "40");
    s.runner.Click(kIdCancel);
    EXPECT_EQ(S_OK, s.Renumber()) << c.name;
    EXPECT_EQ(s.added, s.Texts()) << c.name;
    EXPECT_TRUE(s.host.UndoCaptions().empty()) << c.name;
    EXPECT_EQ(c.dialogs, s.runner.ShownTemplates().size()) << c.name;
    ASSERT_EQ(c.messages, s.runner.Messages().size()) << c.name;
    if (c.messages > 0) {
      EXPECT_EQ(kNoLeadersMessage, s.runner.Messages()[0].text);
      EXPECT_EQ("Tallyline - Renumber", s.runner.Messages()[0].caption);
      EXPECT_EQ(kMbOk, s.runner.Messages()[0].flags);
    }
    EXPECT_FALSE(s.changes.settings || s.changes.runningNumber || s.changes.numberFormat) << c.name;
  }
}

TEST(RenumberSelection, ConfirmedChoicesAndTheRunningNumberHandedOn) {
  constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
  const struct {
    std::vector<std::string> texts;
    RenumberSettings stored;
    std::string startAt;
    std::vector<std::string> after;
    std::optional<int32_t> runningNumber;
  } cases[] = {
      {{"3", "1", "2"}, {NumericLeaders, true, true}, "1", {"3", "1", "2"}, 4},
      {{"5", "7", "9"}, {NumericLeaders, false, true}, "1", {"1", "3", "5"}, 6},
      {{"5", "7", "9"}, {NumericLeaders, false, false}, "1", {"1", "3", "5"}, std::nullopt},
      {{"1", "2"}, {NumericLeaders, true, true}, "2147483647", {"E!Range 1 - 999", "E!Range 1 - 999"}, kMax32},
  };
  for (const auto& c : cases) {
    Scene s(c.texts);
    s.runner.Type(kRenumberStartAt, c.startAt);
    s.runner.Click(kIdOk);
    EXPECT_EQ(S_OK, s.Renumber(c.stored));
    EXPECT_EQ(c.after, s.Texts());
    // A label equal to the old text is written all the same.
    for (int32_t id : s.ids) EXPECT_EQ(1, s.host.UpdateCount(id)) << c.texts.front();
    ASSERT_TRUE(s.changes.settings);
    EXPECT_EQ(c.stored.objects, s.changes.settings->objects);
    EXPECT_EQ(c.stored.fixOrder, s.changes.settings->fixOrder);
    EXPECT_EQ(c.stored.resetRunning, s.changes.settings->resetRunning);
    EXPECT_EQ(c.runningNumber, s.changes.runningNumber) << c.texts.front();
    EXPECT_EQ(c.runningNumber ? std::optional<int32_t>(Arabic) : std::nullopt, s.changes.numberFormat);
  }
}

// Every host call of a renumber with OK fails in turn, and every call that gives an object
// gives none. A failure while reading ends before the dialog; one while writing ends at that
// leader with the undo record closed over what was written.
TEST(RenumberSelection, EveryHostCallFailingOrGivingNoObject) {
  const std::vector<std::string> before = {"7", kNotALeader, "Note", "5", "9"};
  const std::vector<std::string> after = {"2", "part", "4", "1", "3"};
  const RenumberSettings stored{AllLeaders, true, true};
  const auto play = [&](const std::function<void(SimHost&)>& arm, Scene& s) {
    s.runner.Type(kRenumberStartAt, "1");
    s.runner.Click(kIdOk);
    s.host.ClearCalls();
    arm(s.host);
    return s.Renumber(stored);
  };
  Scene clean(before);
  ASSERT_EQ(S_OK, play([](SimHost&) {}, clean));
  ASSERT_EQ(after, clean.Texts());
  const std::vector<std::string> calls = clean.CallNames();
  const auto indexOf = [&calls](const std::string& name) {
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), name) - calls.begin());
  };
  const size_t firstWrite = indexOf("IHostDrawing.ReadGraphicList");
  const size_t open = indexOf("IHostDrawing.OpenUndoRecord");
  const size_t close = indexOf("IHostUndoRecord.CloseUndoRecord");
  const std::vector<size_t> writeOrder = {0, 2, 3, 4};  // the labelled leaders in selection order

  int points = 0;
  for (size_t i = 0; i < calls.size(); ++i) {
    const bool gaveObject = clean.host.Calls()[i].gaveObject;
    for (int variant = 0; variant < 3; ++variant) {
      const bool none = variant == 1, closeFails = variant == 2;
      if (none && !gaveObject) continue;
      if (closeFails && (i <= open || i >= close)) continue;  // the rescue close follows a failing write
      const std::string what = calls[i] + " (call " + std::to_string(i + 1) + ")" +
                               (none         ? " giving none"
                                : closeFails ? " failing, the close too"
                                             : " failing");
      Scene s(before);
      const HRESULT hr = play(
          [&](SimHost& h) {
            if (none) {
              h.GiveNoObject(static_cast<int64_t>(i) + 1);
            } else {
              h.FailCall(static_cast<int64_t>(i) + 1, kInjected);
            }
            if (closeFails) h.FailCall(static_cast<int64_t>(i) + 2, kCloseFailed);
          },
          s);
      ++points;
      if (none && i == 0) {  // no active drawing: nothing to do
        EXPECT_EQ(S_OK, hr) << what;
        EXPECT_EQ(s.added, s.Texts()) << what;
        continue;
      }
      EXPECT_EQ(none ? E_POINTER : kInjected, hr) << what;
      EXPECT_EQ(0, s.host.LiveHandles()) << what;
      EXPECT_FALSE(s.changes.runningNumber) << what;
      EXPECT_EQ(0, s.host.RefreshCount()) << what;
      const bool reading = i < firstWrite;
      EXPECT_EQ(reading ? 0u : 1u, s.runner.ShownTemplates().size()) << what;
      EXPECT_TRUE(s.runner.Messages().empty()) << what;
      EXPECT_EQ(!reading, s.changes.settings.has_value()) << what;
      // The leaders whose SetPropertyValue came before the failure carry their new labels.
      size_t written = 0;
      for (size_t k = 0; k < i; ++k) written += calls[k] == "IHostProperty.SetPropertyValue";
      std::vector<std::string> expected = s.added;
      for (size_t w = 0; w < written; ++w) expected[writeOrder[w]] = after[writeOrder[w]];
      EXPECT_EQ(expected, s.Texts()) << what;
      const bool recordClosed = i > open && i != close && !closeFails;
      EXPECT_EQ(recordClosed ? 1u : 0u, s.host.UndoCaptions().size()) << what;
      if (recordClosed) {
        s.host.Undo();
        EXPECT_EQ(s.added, s.Texts()) << what << ", undone";
      }
    }
  }
  EXPECT_GT(points, 70);
}

}  // namespace

// One picklist file shared by several add-ins: what a save writes when the file changed since the
// store read it, and two stores over one file in every order of their steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <chrono>
#include <vector>

#include "addin/tool/pick_list_glue.h"
#include "framework/failure_trace.h"
#include "pick_list/pick_list_dialog.h"
#include "pick_list/pick_list_records.h"
#include "pick_list/pick_list_store.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/temp_root_file_system.h"
#include "testing/windows1252_code_page.h"
#include "pick_list_folder.h"

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// The temporary tree, with a folder creation that runs out of memory when asked to.
class OutOfMemoryFiles : public TempRootFileSystem {
 public:
  HRESULT CreateFolder(const std::string& path) override {
    if (outOfMemory) throw std::bad_alloc();
    return TempRootFileSystem::CreateFolder(path);
  }
  bool outOfMemory = false;
};

std::string R(const std::string& item) {
  return "<TLT><NAME>" + item + "</NAME></TLT>\r\n";
}
std::u16string Utf16Record(const std::u16string& item) {
  return u"<TLT><NAME>" + item + u"</NAME></TLT>\r\n";
}

// The text less one record of each of `removed`, with a record of each of `added` at its end.
std::u16string Edited(std::u16string text, const std::vector<std::u16string>& removed,
                      const std::vector<std::u16string>& added) {
  for (const std::u16string& item : removed) {
    const size_t at = text.find(Utf16Record(item));
    if (at != std::u16string::npos) text.erase(at, Utf16Record(item).size());
  }
  for (const std::u16string& item : added) text += Utf16Record(item);
  return text;
}

std::string Utf16(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

// The lists that went beside the file, by their bytes.
std::vector<std::string> Beside(const TempRootFileSystem& files) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(files.RealPath("C:\\Data"))) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("TLeaders (not merged, ", 0) != 0 || name.substr(name.size() - 4) != ".txt") continue;
    std::string bytes;
    files.ReadRealFile("C:\\Data\\" + name, &bytes);
    found.push_back(bytes);
  }
  return found;
}

TEST(PickListSharing, SaveMergesWhatOthersSavedMeanwhile) {
  struct Case {
    const char* name;
    std::string loaded;                          // the file when the store loads it
    std::vector<std::u16string> removed, added;  // what the user changes then
    std::optional<std::string> now;              // the file when the store saves; none: it vanished
    std::string written;                         // the file afterwards
    std::vector<std::string> beside = {};
    HRESULT readFailure = S_OK;    // of the read at save
    bool lockHeld = false;         // by another add-in, all along
    bool outOfMemoryLoad = false;  // before the load knows the file's path
  };
  const std::string tee = R("Tee"), valve = R("Valve"), pump = R("Pump"), elbow = R("Elbow"), gate = R("Gate valve");
  const std::string mark = "\xEF\xBB\xBF", longItem = R(std::string(6000, 'x'));
  // clang-format off
  const Case cases[] = {
      {"nobody else saved: ours as it is", tee + '\0', {}, {u"Valve"}, tee + '\0', tee + valve + '\0'},
      {"ours untouched: never written", tee + '\0', {}, {}, gate + tee, gate + tee},
      {"both added", tee + '\0', {}, {u"Pump"}, gate + tee + '\0', gate + pump + tee + '\0'},
      {"we removed, they added", elbow + tee + '\0', {u"Elbow"}, {}, elbow + pump + tee + '\0', pump + tee + '\0'},
      {"they removed, we added", elbow + tee + '\0', {}, {u"Valve"}, tee + '\0', tee + valve + '\0'},
      {"duplicates: we add one, they remove one", tee + tee + '\0', {}, {u"Tee"}, tee + '\0', tee + tee + '\0'},
      {"both added the same text: once", tee + '\0', {}, {u"Valve"}, tee + valve + '\0', tee + valve + '\0'},
      {"both added a text, we more often: ours", std::string(1, '\0'), {}, {u"Tee", u"Tee"}, tee + '\0',
       tee + tee + '\0'},
      {"both removed a text, they more often: theirs", tee + tee + tee + '\0', {u"Tee"}, {}, tee + '\0', tee + '\0'},
      {"both removed the same text: once", tee + tee + valve + '\0', {u"Tee"}, {},
       tee + valve + pump + '\0', pump + tee + valve + '\0'},
      {"ANSI against UTF-8: the same item, and the file stays UTF-8", R("Caf\xe9") + '\0', {}, {u"Tee"},
       mark + R("Caf\xC3\xA9") + R("\xE2\x8C\x80 5") + '\0', mark + R("Caf\xC3\xA9") + tee + R("\xE2\x8C\x80 5") + '\0'},
      {"the file vanished: the whole list", tee + '\0', {}, {u"Valve"}, std::nullopt, tee + valve + '\0'},
      {"the file cannot be read: beside it", tee + '\0', {}, {u"Valve"}, tee + '\0', tee + '\0', {tee + valve + '\0'},
       HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)},
      {"the lock is held: beside it", tee + '\0', {}, {u"Valve"}, tee + '\0', tee + '\0', {tee + valve + '\0'}, S_OK,
       true},
      {"edited by hand: text outside records and a stray zero", tee + '\0', {}, {u"Valve"},
       "Heading\r\n" + tee + '\0' + pump + '\0', pump + tee + valve + '\0'},
      {"a UTF-16 file: read as Unicode, written as UTF-8", tee + '\0', {}, {u"Valve"},
       "\xFF\xFE" + Utf16(u"<TLT><NAME>Tee</NAME></TLT>\r\n<TLT><NAME>\u00d6l</NAME></TLT>\r\n"),
       mark + tee + valve + R("\xC3\x96l") + '\0'},
      {"a UTF-16 file without its mark, untouched", Utf16(u"<TLT><NAME>Tee</NAME></TLT>\r\n"), {}, {},
       Utf16(u"<TLT><NAME>Tee</NAME></TLT>\r\n"), Utf16(u"<TLT><NAME>Tee</NAME></TLT>\r\n")},
      {"a UTF-16 file without its mark, changed", Utf16(u"<TLT><NAME>Tee</NAME></TLT>\r\n"), {}, {u"Valve"},
       Utf16(u"<TLT><NAME>Tee</NAME></TLT>\r\n"), mark + tee + valve + '\0'},
      {"an item over 4,095 bytes stays whole", longItem + tee + '\0', {}, {u"Valve"}, longItem + pump + tee + '\0',
       pump + tee + valve + longItem + '\0'},
      {"out of memory before the path is known: merged as a list never read", tee + '\0', {}, {u"Valve"},
       tee + '\0', tee + valve + '\0', {}, S_OK, false, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OutOfMemoryFiles files;
    Windows1252CodePage codePage;
    PickListStore store(files, codePage);
    store.SetLockTimeout(0);
    StoredOptions members;
    members.DataPath = kDataPath;
    ASSERT_TRUE(files.WriteRealFile(kLeaders, c.loaded));
    files.outOfMemory = c.outOfMemoryLoad;
    LoadPickList(store, members);
    files.outOfMemory = false;
    members.PickListText = Edited(members.PickListText.value_or(u""), c.removed, c.added);
    if (c.now) {
      ASSERT_TRUE(files.WriteRealFile(kLeaders, *c.now));
    } else {
      fs::remove(files.RealPath(kLeaders));
    }
    std::unique_ptr<FileLock> other;
    if (c.lockHeld) {
      ASSERT_EQ(S_OK, files.LockFile(std::string(kLeaders) + kPickListLockSuffix, 0, &other));
    }
    files.FailNextRead(c.readFailure);
    SavePickList(store, members, true);
    std::string written = "(no file)";
    files.ReadRealFile(kLeaders, &written);
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(Beside(files), c.beside);
    EXPECT_FALSE(fs::exists(files.RealPath(std::string(kLeaders) + kPickListLockSuffix)) && !c.lockHeld)
        << "the lock is let go of";
  }
}

// Two add-ins over one file, each loading, changing the list in a dialog (which first takes what
// the other saved), confirming and closing, in every order of those steps.
TEST(PickListSharing, TwoStoresInEveryOrderLoseNothing) {
  enum Step { Load, Change, Confirm, Close };
  struct Side {
    std::u16string removed, added;
    TempRootFileSystem* files;
    Windows1252CodePage codePage;
    std::unique_ptr<PickListStore> store;
    StoredOptions members;
    int next = Load;
  };
  int orders = 0;
  // Bit k of `order` says which side takes step k; an order gives each side four steps.
  for (unsigned order = 0; order < 256; ++order) {
    if (__builtin_popcount(order) != 4) continue;
    ++orders;
    TempRootFileSystem files;
    ASSERT_TRUE(files.WriteRealFile(kLeaders, R("Elbow") + R("Tee") + '\0'));
    Side sides[2] = {{u"Elbow", u"Gate valve", &files}, {u"Tee", u"Pump", &files}};
    std::string steps;
    for (int k = 0; k < 8; ++k) {
      Side& side = sides[(order >> k) & 1];
      if (!side.store) side.store = std::make_unique<PickListStore>(files, side.codePage);
      side.members.DataPath = kDataPath;
      steps += std::string(1, "AB"[(order >> k) & 1]) + "LXCQ"[side.next];
      switch (side.next++) {
        case Load:
          LoadPickList(*side.store, side.members);
          break;
        case Change:
          side.store->TakeOthersChanges(kDataPath, &*side.members.PickListText);
          side.members.PickListText = Edited(*side.members.PickListText, {side.removed}, {side.added});
          break;
        case Confirm:
          SavePickList(*side.store, side.members, false);
          break;
        case Close:
          SavePickList(*side.store, side.members, true);
          break;
      }
    }
    // The order is the dialog's business (the edits here only append): the items count.
    std::string file;
    files.ReadRealFile(kLeaders, &file);
    std::vector<std::string_view> items = FindRecordItems(std::string_view(file));
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, (std::vector<std::string_view>{"Gate valve", "Pump"})) << steps;
    EXPECT_EQ(file.back(), '\0') << steps;
    EXPECT_TRUE(Beside(files).empty()) << steps;
  }
  EXPECT_EQ(70, orders);
}

// The pick dialog shows what another add-in saved since the load, and a change the user confirms
// there is saved at once; a confirmed dialog that changed nothing, or a cancelled one, writes nothing.
TEST(PickListSharing, DialogShowsOthersChangesAndSavesWhatIsConfirmed) {
  struct Case {
    const char* name;
    std::function<void(ScriptedDialogRunner&)> user;
    std::string written;
  };
  const std::string theirs = R("Gate valve") + R("Tee") + '\0';
  const Case cases[] = {
      {"OK after a typed text",
       [](ScriptedDialogRunner& runner) {
         runner.Type(kPickEdit, "Valve");
         runner.Click(kIdOk);
       },
       R("Gate valve") + R("Tee") + R("Valve") + '\0'},
      {"OK after a pick", [](ScriptedDialogRunner& runner) { runner.Click(kIdOk); }, theirs},
      {"Cancel after Add",
       [](ScriptedDialogRunner& runner) {
         runner.Type(kPickEdit, "Valve");
         runner.Click(kPickAdd);
         runner.Click(kIdCancel);
       },
       theirs},
  };
  // The file at load: shorter than theirs, and of the same size, when only the write time tells.
  for (const std::string& loaded : {R("Tee") + '\0', R("Gate xxxxx") + R("Tee") + '\0'})
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name + (" from " + loaded));
      TempRootFileSystem files;
      Windows1252CodePage codePage;
      PickListStore store(files, codePage);
      StoredOptions members;
      members.DataPath = kDataPath;
      ASSERT_TRUE(files.WriteRealFile(kLeaders, loaded));
      LoadPickList(store, members);
      const auto loadedTime = fs::last_write_time(files.RealPath(kLeaders));
      ASSERT_TRUE(files.WriteRealFile(kLeaders, theirs));  // another add-in saved meanwhile
      fs::last_write_time(files.RealPath(kLeaders), loadedTime + std::chrono::seconds(2));
      ScriptedDialogRunner runner;
      runner.DeclareListBox(kPickListBox, true);
      runner.DeclareEdit(kPickEdit);
      runner.Then([](ScriptedDialog& d) {
        EXPECT_EQ(d.ListGetAll(kPickListBox), (std::vector<std::string>{"Gate valve", "Tee"}));
      });
      c.user(runner);
      std::u16string pickText;
      EXPECT_EQ(S_OK, ShowPickList(store, members, pickText, runner, codePage));
      std::string written;
      files.ReadRealFile(kLeaders, &written);
      EXPECT_EQ(written, c.written);
    }
}

class TraceLines : public TraceSink {
 public:
  void Write(const std::string& line) noexcept override { lines.push_back(line); }
  std::vector<std::string> lines;
};

// The file port with the same computer and second for every side file, and the lock waits asked for.
class KeepingFiles : public TempRootFileSystem {
 public:
  std::string ComputerAndTime() override { return "PC-7 2026-03-01 14-05-09"; }
  HRESULT LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) override {
    lockWaits.push_back(timeoutMs);
    return TempRootFileSystem::LockFile(path, timeoutMs, lock);
  }
  std::vector<uint32_t> lockWaits;
};

std::vector<std::string> SortedItems(const std::string& bytes) {
  std::vector<std::string> items;
  for (const std::string_view item : FindRecordItems(std::string_view(bytes))) items.emplace_back(item);
  std::sort(items.begin(), items.end());
  return items;
}

// The sorted items of each file in `folder` whose name starts with `start`, in the order of their names.
std::vector<std::vector<std::string>> SideFiles(const TempRootFileSystem& files, const std::string& folder,
                                                const std::string& start) {
  std::map<std::string, std::vector<std::string>> found;
  std::error_code missing;
  for (const auto& entry : fs::directory_iterator(files.RealPath(folder), missing)) {
    std::string name = entry.path().filename().string(), bytes;
    if (name.rfind(start, 0) == 0 && files.ReadRealFile(folder + name, &bytes)) found[name] = SortedItems(bytes);
  }
  std::vector<std::vector<std::string>> lists;
  for (auto& [name, items] : found) lists.push_back(std::move(items));
  return lists;
}

// Every change the user confirms ends in the list or in a side file, and the user hears once why
// it is not in the list. Each row: the file at load, the world at start, before the first OK and
// before the host closes; two OKs (adding Valve, then Elbow) and the close.
TEST(PickListSharing, EveryConfirmedChangeEndsInTheListOrASideFile) {
  using Lists = std::vector<std::vector<std::string>>;
  using Step = std::function<void(KeepingFiles&, std::vector<std::unique_ptr<FileLock>>&)>;
  struct Case {
    const char* name;
    std::string loaded;
    Step atStart, beforeOk, beforeClose;
    std::optional<std::vector<std::string>> list;  // the list's items at the end; none: no list file
    Lists beside, local, damaged;                  // side files' items: not merged (data folder, user's), damaged
    const char* told;                              // what the one message says; empty: none
    bool unread = false;                           // each dialog says the shared list could not be read
    uint32_t lockTimeout = kPickListLockTimeoutMs;
    std::vector<uint32_t> lockWaits = {};  // checked where given
    Step inFirstDialog = nullptr;          // after the dialog took others' changes, before its OK
  };
  const Step none = [](KeepingFiles&, std::vector<std::unique_ptr<FileLock>>&) {};
  const auto failWrites = [](TempRootFileSystem::WriteFailure where, uint32_t error) -> Step {
    return [=](KeepingFiles& files, auto&) { files.FailWrites(where, HRESULT_FROM_WIN32(error), "C:\\Data"); };
  };
  const auto fileNow = [](std::string bytes) -> Step {
    return [=](KeepingFiles& files, auto&) { ASSERT_TRUE(files.WriteRealFile(kLeaders, bytes)); };
  };
  const auto holdLock = [](KeepingFiles& files, std::vector<std::unique_ptr<FileLock>>& held) {
    held.emplace_back();
    ASSERT_EQ(S_OK, files.TempRootFileSystem::LockFile(std::string(kLeaders) + kPickListLockSuffix, 0, &held.back()));
  };
  const Step letGo = [](KeepingFiles&, std::vector<std::unique_ptr<FileLock>>& held) { held.clear(); };
  const std::string tee = R("Tee"), pump = R("Pump");
  const std::vector<std::string> all = {"Elbow", "Tee", "Valve"}, withPump = {"Elbow", "Pump", "Tee", "Valve"};
  using Failure = TempRootFileSystem::WriteFailure;
  // clang-format off
  const Case cases[] = {
      {"all well", tee + '\0', none, none, none, all, {}, {}, {}, ""},
      {"read-only data folder: the user's folder", tee + '\0', none, failWrites(Failure::OnCreate, ERROR_ACCESS_DENIED),
       none, std::vector<std::string>{"Tee"}, {}, {all}, {}, "no right to write"},
      {"full disk: the user's folder", tee + '\0', none, failWrites(Failure::AfterHalf, kErrorDiskFull), none,
       std::vector<std::string>{"Tee"}, {}, {all}, {}, "disk is full"},
      {"the list's name a folder from the start", tee + '\0',
       [](KeepingFiles& files, auto&) {
         fs::remove(files.RealPath(kLeaders));
         fs::create_directory(files.RealPath(kLeaders));
       },
       none, none, std::nullopt, {{"Elbow", "Valve"}}, {}, {}, "cannot be read", true},
      {"held at start, free at the first dialog", tee + '\0',
       [](KeepingFiles& files, auto&) { files.FailNextRead(HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)); }, none, none,
       all, {}, {}, {}, ""},
      {"another host's side file of the same second: a name of its own", tee + '\0', holdLock, none,
       [](KeepingFiles& files, auto&) {
         ASSERT_TRUE(files.WriteRealFile("C:\\Data\\TLeaders (not merged, PC-7 2026-03-01 14-05-09).txt", ""));
       },
       std::vector<std::string>{"Tee"}, {all, {}}, {}, {}, "locked by another", false, 100},
      {"emptied by another", tee + pump + '\0', none, fileNow(""), none, withPump, {}, {}, {{}}, ""},
      {"filled with zeros", tee + pump + '\0', none, fileNow(std::string(60, '\0')), none, withPump, {}, {}, {{}}, ""},
      {"cut off inside a record while the dialog is open", tee + pump + '\0', none, none, none, withPump, {}, {},
       {{"Pump"}}, "", false, kPickListLockTimeoutMs, {}, fileNow(pump + "<TLT><NAME>Te")},
      {"a hand edit that removes an item", tee + pump + '\0', none, fileNow(tee), none, all, {}, {}, {}, ""},
      {"a lock held past its wait: tried at once after", tee + '\0', none, holdLock, none,
       std::vector<std::string>{"Tee"}, {all}, {}, {}, "locked by another program", false, 100, {100, 0, 0}},
      {"the lock let go after 200 ms: waited for", tee + '\0', none,
       [&](KeepingFiles& files, std::vector<std::unique_ptr<FileLock>>& held) {
         holdLock(files, held);
         std::thread([lock = std::move(held.back())]() mutable {
           std::this_thread::sleep_for(std::chrono::milliseconds(200));
           lock.reset();
         }).detach();
       },
       none, all, {}, {}, {}, ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeepingFiles files;
    Windows1252CodePage codePage;
    PickListStore store(files, codePage);
    store.SetLockTimeout(c.lockTimeout);
    StoredOptions members;
    members.DataPath = kDataPath;
    std::vector<std::unique_ptr<FileLock>> held;
    TraceLines trace;
    SetFailureTrace(TraceLevel::Codes, &trace);
    ASSERT_TRUE(files.WriteRealFile(kLeaders, c.loaded));
    c.atStart(files, held);
    LoadPickList(store, members);
    c.beforeOk(files, held);
    ScriptedDialogRunner runner;
    for (const char16_t* item : {u"Valve", u"Elbow"}) {
      EditSharedPickList(store, members, runner, [&](bool listUnread) {
        EXPECT_EQ(c.unread, listUnread) << "the dialog's caption";
        if (c.inFirstDialog && item[0] == u'V') c.inFirstDialog(files, held);
        members.PickListText = members.PickListText.value_or(u"") + Utf16Record(item);
        return S_OK;
      });
    }
    c.beforeClose(files, held);
    SavePickList(store, members, true);
    held.clear();
    SetFailureTrace(TraceLevel::Off, nullptr);
    // Each failure and each damaged file is traced with its path; all well, nothing is.
    const bool traced = std::any_of(trace.lines.begin(), trace.lines.end(), [](const std::string& line) {
      return line.rfind("picklist: ", 0) == 0 && line.find("C:\\Data\\TLeaders") != std::string::npos;
    });
    EXPECT_EQ(*c.told || !c.damaged.empty(), traced) << testing::PrintToString(trace.lines);
    if (!c.lockWaits.empty()) {
      EXPECT_EQ(files.lockWaits, c.lockWaits);
    }

    std::string file;
    std::optional<std::vector<std::string>> list;
    if (fs::is_regular_file(files.RealPath(kLeaders)) && files.ReadRealFile(kLeaders, &file)) list = SortedItems(file);
    EXPECT_EQ(list, c.list);
    EXPECT_EQ(SideFiles(files, "C:\\Data\\", "TLeaders (not merged, "), c.beside);
    EXPECT_EQ(SideFiles(files, files.UserDataFolder(), "TLeaders (not merged, "), c.local);
    EXPECT_EQ(SideFiles(files, "C:\\Data\\", "TLeaders (damaged, "), c.damaged);
    EXPECT_EQ(runner.Messages().size(), *c.told ? 1u : 0u) << "told once, and never at the close";
    if (*c.told && !runner.Messages().empty()) {
      EXPECT_NE(runner.Messages()[0].text.find(c.told), std::string::npos) << runner.Messages()[0].text;
      EXPECT_NE(runner.Messages()[0].text.find("C:\\Data"), std::string::npos) << "names the folder";
    }
  }
}

}  // namespace

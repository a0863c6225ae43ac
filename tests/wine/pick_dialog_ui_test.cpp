// The real pick dialog (template 104) as the Picklist tool opens it inside the host, answered by
// a user's window messages from a second thread.
#include <gtest/gtest.h>

#include <algorithm>

#include "addin_session.h"
#include "resources/resource_ids.h"
#include "tlhost/dialog_driver_win.h"

namespace {

const wchar_t kPickCaption[] = L"Tallyline - Pick Text from List";

std::string Records(std::initializer_list<const char*> items) {
  std::string text;
  for (const char* item : items) text += std::string("<TLT><NAME>") + item + "</NAME></TLT>\r\n";
  return text;
}

SessionStart WithPicklist(const std::string& records) {
  SessionStart start;
  start.pickListFile = records + '\0';
  return start;
}

std::vector<std::wstring> ListItems(const DialogUser& user) {
  std::vector<std::wstring> items;
  for (int i = 0; i < user.ListCount(IDC_PICK_LIST); ++i) items.push_back(user.ListText(IDC_PICK_LIST, i));
  return items;
}

// The file bytes of these items in code page `codePage`, as the system converts them.
std::string FileBytes(UINT codePage, const std::vector<std::wstring>& items) {
  std::wstring text;
  for (const std::wstring& item : items) text += L"<TLT><NAME>" + item + L"</NAME></TLT>\r\n";
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                                       &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr)));
  return (codePage == CP_UTF8 ? "\xEF\xBB\xBF" : "") + bytes + '\0';
}

// Types `typed` into the dialog of a session on `file` and confirms it, adding the text to the
// list; gives the list as the dialog showed it on OK.
std::vector<std::wstring> TypeAndConfirm(const std::string& file, const std::wstring& typed) {
  AddinSession s(WithPicklist(file));
  std::vector<std::wstring> items;
  DialogDriver driver(kPickCaption, [&](DialogUser& user) {
    user.Type(IDC_PICK_EDIT, typed);
    user.Click(IDC_PICK_ADD);
    items = ListItems(user);
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(std::u16string(typed.begin(), typed.end()), s.host.LeaderToolText()) << "the leader text is whole";
  return items;
}

TEST(PickDialog, LooksAsTheTemplateSaysAndIsSavedAsAPicture) {
  AddinSession s(WithPicklist(Records({"Valve", "pump", "Flange"})));
  DialogDriver driver(kPickCaption, [](DialogUser& user) {
    EXPECT_EQ((std::vector<std::wstring>{L"Flange", L"pump", L"Valve"}), ListItems(user)) << "sorted";
    EXPECT_EQ(0, user.ListSelection(IDC_PICK_LIST));
    EXPECT_EQ(L"Flange", user.Text(IDC_PICK_EDIT));
    EXPECT_FALSE(user.IsEnabled(IDC_PICK_ADD));
    EXPECT_TRUE(user.IsEnabled(IDC_PICK_REMOVE));
    EXPECT_EQ(BST_CHECKED, user.Check(IDC_PICK_AUTO_ADD));
    EXPECT_EQ(L"A&dd automatically on OK", user.Text(IDC_PICK_AUTO_ADD));
    wchar_t text[200] = {};
    GetWindowTextW(FindWindowExW(user.dialog(), nullptr, L"Static", nullptr), text, 200);
    EXPECT_STREQ(L"&Select an item from the list or TAB to the Editbox and type the text for the Leader", text);
    const LONG style = GetWindowLongW(GetDlgItem(user.dialog(), IDC_PICK_LIST), GWL_STYLE);
    EXPECT_TRUE(style & LBS_SORT);
    EXPECT_TRUE(style & LBS_NOTIFY);
    EXPECT_EQ(L"&Add", user.Text(IDC_PICK_ADD));
    EXPECT_EQ(L"&Remove", user.Text(IDC_PICK_REMOVE));
    user.SaveScreenshot(ExeFolder() + L"pick_dialog.png");
    user.Click(IDCANCEL);
  });
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(u"", s.host.LeaderToolText()) << "Cancel keeps the empty pick text";
}

TEST(PickDialog, SelectTypeAddRemoveAndOk) {
  AddinSession s(WithPicklist(Records({"Valve", "pump", "Flange"})));
  DialogDriver driver(kPickCaption, [](DialogUser& user) {
    user.SelectListEntry(IDC_PICK_LIST, 2);
    EXPECT_EQ(L"Valve", user.Text(IDC_PICK_EDIT));
    user.Type(IDC_PICK_EDIT, L"Gate");
    EXPECT_TRUE(user.IsEnabled(IDC_PICK_ADD)) << "typing enables Add";
    user.Click(IDC_PICK_ADD);
    EXPECT_FALSE(user.IsEnabled(IDC_PICK_ADD));
    EXPECT_EQ((std::vector<std::wstring>{L"Flange", L"Gate", L"pump", L"Valve"}), ListItems(user));
    EXPECT_EQ(1, user.ListSelection(IDC_PICK_LIST));
    user.SelectListEntry(IDC_PICK_LIST, 3);
    user.Click(IDC_PICK_REMOVE);
    EXPECT_EQ(2, user.ListSelection(IDC_PICK_LIST)) << "the new last item";
    EXPECT_EQ(L"pump", user.Text(IDC_PICK_EDIT));
    user.Type(IDC_PICK_EDIT, L"Tee 90");
    user.Click(IDOK);  // auto-add takes the typed text along
  });
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(u"Tee 90", s.host.LeaderToolText());
  s.Close();
  EXPECT_EQ(Records({"Flange", "Gate", "pump", "Tee 90"}) + '\0', AddinSession::ReadPickListFile());
}

TEST(PickDialog, CancelAfterChangesKeepsEverything) {
  const std::string records = Records({"b", "a"});
  AddinSession s(WithPicklist(records));
  DialogDriver driver(kPickCaption, [](DialogUser& user) {
    user.Type(IDC_PICK_EDIT, L"c");
    user.Click(IDC_PICK_ADD);
    user.SelectListEntry(IDC_PICK_LIST, 0);
    user.Click(IDC_PICK_REMOVE);
    user.Click(IDC_PICK_AUTO_ADD);
    user.Click(IDCANCEL);
  });
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  s.Close();
  EXPECT_EQ(records + '\0', AddinSession::ReadPickListFile()) << "file order and all";
}

// Run on code page 1252 and, by ctest's wine_ui_tests_cp932, on 932. A word of the system's own
// code page keeps the list ANSI; "\u2300", "\u2264" and a Japanese word, which no ANSI page holds
// together, turn it to UTF-8, and it comes back whole.
TEST(PickDialog, TypedCharactersReachTheLeaderAndTheFileWhole) {
  const std::wstring ownWord = GetACP() == 932 ? L"\u56f3\u9762" : L"Caf\u00e9";
  const std::wstring callout = L"\u2300 5 \u2264 \u56f3\u9762";
  const std::vector<std::wstring> ansiItems = TypeAndConfirm(Records({"Valve"}), ownWord);
  EXPECT_EQ(2u, ansiItems.size());
  const std::string ansiFile = AddinSession::ReadPickListFile();
  EXPECT_EQ(FileBytes(CP_ACP, ansiItems), ansiFile) << "still ANSI, code page " << GetACP();

  const std::vector<std::wstring> utf8Items = TypeAndConfirm(ansiFile, callout);
  EXPECT_EQ(3u, utf8Items.size());
  EXPECT_NE(utf8Items.end(), std::find(utf8Items.begin(), utf8Items.end(), ownWord)) << "read back from ANSI";
  const std::string utf8File = AddinSession::ReadPickListFile();
  EXPECT_EQ(FileBytes(CP_UTF8, utf8Items), utf8File);

  AddinSession s(WithPicklist(utf8File));
  DialogDriver driver(kPickCaption, [&](DialogUser& user) {
    EXPECT_EQ(utf8Items, ListItems(user)) << "read back from UTF-8";
    user.Click(IDCANCEL);
  });
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  s.Close();
  EXPECT_EQ(utf8File + '\0', AddinSession::ReadPickListFile()) << "as the session found it: not written";
}

TEST(PickDialog, TenThousandItemsOpenAndClose) {
  std::string records;
  for (int i = 0; i < 10000; ++i) records += "<TLT><NAME>Part " + std::to_string(i) + "</NAME></TLT>\r\n";
  AddinSession s(WithPicklist(records));
  DialogDriver driver(
      kPickCaption,
      [](DialogUser& user) {
        EXPECT_EQ(10000, user.ListCount(IDC_PICK_LIST));
        user.Click(IDOK);
      },
      60000);
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(u"Part 0", s.host.LeaderToolText());
}

// The list's name taken by a folder: the pick dialog says that the shared list could not be read,
// the OK that cannot save tells the user so in a message that names the folder, and the change
// goes beside the list when the host closes.
TEST(PickDialog, AListThatCannotBeReadIsSaidAndItsChangeKept) {
  const std::wstring folder = AddinSession::DataFolder();
  const std::wstring blocked = folder + L"TLeaders.txt";
  CreateDirectoryW(folder.c_str(), nullptr);
  DeleteFileW(blocked.c_str());  // an earlier session's list
  ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
  std::wstring told;
  {
    AddinSession s;
    DialogDriver pick(std::wstring(kPickCaption) + L" (the shared list could not be read)", [](DialogUser& user) {
      user.Type(IDC_PICK_EDIT, L"Valve");
      user.Click(IDOK);
    });
    DialogDriver message(L"Tallyline", [&told](DialogUser& user) {
      told = user.Text(0xFFFF);  // the static text of a system message box
      user.Click(IDOK);
    });
    EXPECT_EQ(S_OK, s.Run(kPicklist));
    EXPECT_TRUE(pick.Finish());
    EXPECT_TRUE(message.Finish());
    EXPECT_EQ(u"Valve", s.host.LeaderToolText());
  }
  EXPECT_NE(std::wstring::npos, told.find(folder.substr(0, folder.size() - 1) + L" cannot be read")) << told;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"TLeaders (not merged, *).txt").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search) << "the change waits beside the list";
  FindClose(search);
  DeleteFileW((folder + found.cFileName).c_str());
  RemoveDirectoryW(blocked.c_str());
}

}  // namespace

// The real pick dialog (template 104) as the Picklist tool opens it inside the host, answered by
// a user's window messages from a second thread.
#include <gtest/gtest.h>

#include "addin_session.h"
#include "resources/resource_ids.h"
#include "tlhost/dialog_driver_win.h"

namespace {

constexpr int32_t kPicklist = 1;
const wchar_t kCaption[] = L"Tallyline - Pick Text from List";

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

TEST(PickDialog, LooksAsTheTemplateSaysAndIsSavedAsAPicture) {
  AddinSession s(WithPicklist(Records({"Valve", "pump", "Flange"})));
  DialogDriver driver(kCaption, [](DialogUser& user) {
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
  DialogDriver driver(kCaption, [](DialogUser& user) {
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
  DialogDriver driver(kCaption, [](DialogUser& user) {
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

TEST(PickDialog, TenThousandItemsOpenAndClose) {
  std::string records;
  for (int i = 0; i < 10000; ++i) records += "<TLT><NAME>Part " + std::to_string(i) + "</NAME></TLT>\r\n";
  AddinSession s(WithPicklist(records));
  DialogDriver driver(
      kCaption,
      [](DialogUser& user) {
        EXPECT_EQ(10000, user.ListCount(IDC_PICK_LIST));
        user.Click(IDOK);
      },
      60000);
  EXPECT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(u"Part 0", s.host.LeaderToolText());
}

}  // namespace

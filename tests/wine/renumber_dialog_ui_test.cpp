// The real Renumber dialog (template 103) and the no-leaders message box as the Renumber tool
// opens them inside the host, answered by a user's window messages from a second thread.
#include <gtest/gtest.h>

#include "addin_session.h"
#include "resources/resource_ids.h"
#include "tlhost/dialog_driver_win.h"

namespace {

const wchar_t kRenumberCaption[] = L"Tallyline - Renumber";
constexpr int kMessageText = 0xFFFF;  // the static text of a system message box

std::vector<int32_t> SelectLeaders(AddinSession& s, std::initializer_list<const char16_t*> texts) {
  std::vector<int32_t> ids;
  for (const char16_t* text : texts) ids.push_back(s.AddGraphic(Graphic(u"TCW25DimLead", text)));
  s.host.Select(ids);
  return ids;
}

std::vector<std::u16string> Texts(AddinSession& s, const std::vector<int32_t>& ids) {
  std::vector<std::u16string> texts;
  for (int32_t id : ids) texts.push_back(s.Info(id));
  return texts;
}

TEST(RenumberDialog, ShowsALivePreviewAndIsSavedAsAPicture) {
  AddinSession s;
  const std::vector<int32_t> ids = SelectLeaders(s, {u"12", u"3", u"Note", u"7", u"7", u"B"});
  DialogDriver driver(kRenumberCaption, [](DialogUser& user) {
    EXPECT_EQ(L"Renumber 5 items.\r\nRange: 2 - 6", user.Text(IDC_RENUMBER_PREVIEW));
    // The field takes digits only; a typed letter is refused by the edit control itself.
    SendDlgItemMessageW(user.dialog(), IDC_RENUMBER_START_AT, WM_CHAR, L'x', 0);
    EXPECT_EQ(L"2", user.Text(IDC_RENUMBER_START_AT));
    user.Type(IDC_RENUMBER_START_AT, L"1");
    EXPECT_EQ(L"Renumber 5 items.\r\nRange: 1 - 5", user.Text(IDC_RENUMBER_PREVIEW));
    // The radio buttons of a group exclude each other.
    user.Click(IDC_RENUMBER_ALL);
    EXPECT_EQ(BST_UNCHECKED, user.Check(IDC_RENUMBER_NUMERIC));
    EXPECT_FALSE(user.IsEnabled(IDC_RENUMBER_FIX_ORDER));
    user.Click(IDC_RENUMBER_ROMAN);
    EXPECT_EQ(BST_UNCHECKED, user.Check(IDC_RENUMBER_ARABIC));
    EXPECT_EQ(L"Renumber 6 items.\r\nRange: i - vi", user.Text(IDC_RENUMBER_PREVIEW));
    user.SaveScreenshot(ExeFolder() + L"renumber_dialog.png");
    user.Click(IDCANCEL);
  });
  EXPECT_EQ(S_OK, s.Run(kRenumber));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ((std::vector<std::u16string>{u"12", u"3", u"Note", u"7", u"7", u"B"}), Texts(s, ids)) << "Cancel";
  EXPECT_TRUE(s.host.UndoCaptions().empty());
}

TEST(RenumberDialog, OkWritesOneUndoStepAndTheNumberToolGoesOn) {
  AddinSession s;
  const std::vector<int32_t> ids = SelectLeaders(s, {u"30", u"10", u"20"});
  DialogDriver driver(kRenumberCaption, [](DialogUser& user) {
    user.Type(IDC_RENUMBER_START_AT, L"1");
    user.Click(IDC_RENUMBER_RESET);
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.Run(kRenumber));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ((std::vector<std::u16string>{u"3", u"1", u"2"}), Texts(s, ids));
  EXPECT_EQ(std::vector<std::u16string>{u"TL Renumber"}, s.host.UndoCaptions());
  EXPECT_EQ(S_OK, s.Run(kNumber));
  EXPECT_EQ(u"4", s.host.LeaderToolText()) << "the Number tool continues the new sequence";
  EXPECT_EQ(S_OK, s.Run(kNumber));  // ends the placement
  ASSERT_TRUE(s.host.Undo());
  EXPECT_EQ((std::vector<std::u16string>{u"30", u"10", u"20"}), Texts(s, ids)) << "one step undoes every label";
}

TEST(RenumberDialog, NoLeadersMessageStandsAloneAndIsDismissed) {
  AddinSession s;
  s.host.Select({s.AddGraphic(Graphic(u"GRAPHIC", u"5"))});
  DialogDriver driver(kRenumberCaption, [](DialogUser& user) {
    EXPECT_EQ(
        L"No Leaders were found in the Selection. Operation Cancelled.\n\nTo use Renumber, make sure there are "
        L"one or more Leaders in the current Selection",
        user.Text(kMessageText));
    EXPECT_EQ(nullptr, GetWindow(user.dialog(), GW_OWNER)) << "no owner window";
    EXPECT_EQ(nullptr, GetDlgItem(user.dialog(), IDCANCEL)) << "OK only";
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.Run(kRenumber));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(u"5", s.Info(s.host.Model().Drawing(s.drawing)->graphics.front()));
}

// With a parts list set, the report checks the selected callouts against it; "Export..." saves
// the callout table through the system's Save dialog, and the Renumber dialog stays open.
TEST(RenumberDialog, ChecksThePartsListAndExportsTheCallouts) {
  const std::wstring folder = AddinSession::DataFolder();
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring parts = folder + L"parts.csv", table = folder + L"callouts.csv";
  HANDLE out = CreateFileW(parts.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::string list = "Item;Name\r\n1;Flange\r\n2;Bolt\r\n4;Nut\r\nx;?\r\n";
  DWORD done = 0;
  WriteFile(out, list.data(), static_cast<DWORD>(list.size()), &done, nullptr);
  CloseHandle(out);
  DeleteFileW(table.c_str());
  SessionStart start;
  start.settings = {{L"TLPartsList", parts}};
  AddinSession s(start);
  SelectLeaders(s, {u"1", u"2", u"3"});
  DialogDriver driver(kRenumberCaption, [&table](DialogUser& user) {
    EXPECT_EQ(L"No number twice, none missing.\r\nNo callout: 4. Not in the parts list: 3. Unreadable rows: 1.",
              user.Text(IDC_RENUMBER_REPORT));
    DialogDriver save(L"Save As", [&table](DialogUser& dialog) {
      for (const int fileName : {0x480, 0x47c}) SetDlgItemTextW(dialog.dialog(), fileName, table.c_str());
      dialog.Click(IDOK);
    });
    user.Click(IDC_RENUMBER_EXPORT);
    EXPECT_TRUE(save.Finish());
    user.Click(IDCANCEL);  // still open after the export
  });
  EXPECT_EQ(S_OK, s.Run(kRenumber));
  EXPECT_TRUE(driver.Finish());
  std::string written(4096, '\0');
  HANDLE in = CreateFileW(table.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, in) << "the table is where the user chose";
  ReadFile(in, &written[0], static_cast<DWORD>(written.size()), &done, nullptr);
  CloseHandle(in);
  written.resize(done);
  // The separator is the user's list separator: a comma in the session's English locale.
  EXPECT_EQ(0u, written.find("\xEF\xBB\xBFLabel,Number,Leader text,X,Y\r\n1,1,1,")) << written;
  EXPECT_NE(std::string::npos, written.find("\r\n3,3,3,")) << written;
  DeleteFileW(table.c_str());
  DeleteFileW(parts.c_str());
}

}  // namespace

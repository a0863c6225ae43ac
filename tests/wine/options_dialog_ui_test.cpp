// The real options dialog (template 102) and about box (template 108) inside the host, answered
// by a user's window messages from other threads: the preview and the focus as the system's
// controls report their changes, the nested dialogs owned by the options dialog, and the
// confirmed options in the next leader and in the stores.
#include <gtest/gtest.h>

#include "addin_session.h"
#include "resources/resource_ids.h"
#include "simhost/dialog_driver_win.h"

namespace {

constexpr int32_t kNumber = 0;
constexpr int32_t kOptions = 4;
const wchar_t kOptionsCaption[] = L"Tallyline Running Options";
const wchar_t kAboutCaption[] = L"Varnkit_TL - About";
const wchar_t kPickCaption[] = L"Tallyline - Pick Text from List";

std::string Records(std::initializer_list<const char*> items) {
  std::string text;
  for (const char* item : items) text += std::string("<TLT><NAME>") + item + "</NAME></TLT>\r\n";
  return text;
}

std::string Setting(const char* name) {
  char data[64] = {};
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Varnkit\\VKTL", name, RRF_RT_REG_SZ, nullptr, data, &size) != 0) {
    return "<none>";
  }
  return data;
}

// Runs the pick dialog behind "&List ..." of `options`: "Gate" typed, added, and OK.
void AddGateThroughTheList(DialogUser& options) {
  DialogDriver pick(kPickCaption, [&options](DialogUser& list) {
    EXPECT_EQ(options.dialog(), GetWindow(list.dialog(), GW_OWNER)) << "owned by the options dialog";
    list.Type(IDC_PICK_EDIT, L"Gate");
    list.Click(IDOK);
  });
  options.Click(IDC_OPTIONS_LIST);  // returns when the pick dialog has ended
  EXPECT_TRUE(pick.Finish());
}

TEST(OptionsDialog, PreviewsAsTheUserTypesAndKeepsWhatIsConfirmed) {
  AddinSession s;
  DialogDriver driver(kOptionsCaption, [](DialogUser& user) {
    EXPECT_EQ(L"Letters - A, B, C, D ...  Range A - ZZ (1 - 702)", user.ListText(IDC_OPTIONS_FORMAT, 1));
    EXPECT_EQ(L"DEMO: Path/Polyline Length (Simple graphics only)", user.ListText(IDC_OPTIONS_OBJECT_SOURCE, 2));
    EXPECT_EQ(0, user.ListSelection(IDC_OPTIONS_FORMAT));
    EXPECT_EQ(L"1", user.Text(IDC_OPTIONS_START));
    EXPECT_EQ(L"1", user.Text(IDC_OPTIONS_PREVIEW));
    EXPECT_EQ(IDC_OPTIONS_FORMAT, user.Focus()) << "the first tab stop";
    // The keyboard gives the field digits only; pasted text can be anything.
    user.Type(IDC_OPTIONS_START, L"12a");
    EXPECT_EQ(L"E!Range 1 - 999", user.Text(IDC_OPTIONS_PREVIEW));
    EXPECT_EQ(IDC_OPTIONS_START, user.Focus()) << "a field without a number takes the focus";
    user.Type(IDC_OPTIONS_START, L"28");
    user.SelectListEntry(IDC_OPTIONS_FORMAT, 1);
    EXPECT_EQ(L"AB", user.Text(IDC_OPTIONS_PREVIEW));
    user.SelectListEntry(IDC_OPTIONS_OBJECT_SOURCE, 1);
    user.Click(IDC_OPTIONS_CONVERT_POINT);
    EXPECT_EQ(BST_UNCHECKED, user.Check(IDC_OPTIONS_CONVERT_POINT)) << "checks itself";
    AddGateThroughTheList(user);
    EXPECT_TRUE(user.SaveScreenshot(ExeFolder() + L"options_dialog.png"));
    user.Click(IDOK);
  });
  VARIANT_BOOL result = 0;
  EXPECT_EQ(S_OK, s.Run(kOptions, &result));
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(1, result);
  EXPECT_EQ(S_OK, s.Run(kNumber));
  EXPECT_EQ(u"AB", s.host.LeaderToolText());
  EXPECT_EQ(S_OK, s.Run(kNumber));  // ends the placement
  s.Close();
  EXPECT_EQ("1", Setting("TLDefFormat"));
  EXPECT_EQ("1", Setting("TLDefObjDSource"));
  EXPECT_EQ("0", Setting("TLDefConvertPoint"));
  EXPECT_EQ(Records({"Gate"}) + '\0', AddinSession::ReadPickListFile());
}

TEST(OptionsDialog, FromTheLocalMenuTheVeryNextLeaderTakesTheNewFormatAndStart) {
  AddinSession s;
  EXPECT_EQ(S_OK, s.Run(kNumber));
  const int32_t first = s.host.PlaceLeader(2);
  s.PollAll();
  EXPECT_EQ(u"2", s.host.LeaderToolText());
  DialogDriver driver(kOptionsCaption, [](DialogUser& user) {
    EXPECT_EQ(L"2", user.Text(IDC_OPTIONS_START)) << "the running number";
    user.SelectListEntry(IDC_OPTIONS_FORMAT, 2);
    user.Type(IDC_OPTIONS_START, L"40");
    EXPECT_EQ(L"xl", user.Text(IDC_OPTIONS_PREVIEW));
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.DoLMCommand(1));  // "Tallyline Options"
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(u"xl", s.host.LeaderToolText()) << "written before the next leader";
  const int32_t second = s.host.PlaceLeader(2);
  s.PollAll();
  EXPECT_EQ(u"1", s.Info(first));
  EXPECT_EQ(u"xl", s.Info(second));
  EXPECT_EQ(u"xli", s.host.LeaderToolText());
}

TEST(OptionsDialog, NestedDialogsBelongToItAndCancelDropsEverything) {
  const std::string records = Records({"Valve"});
  AddinSession s([&] {
    SessionStart start;
    start.pickListFile = records + '\0';
    return start;
  }());
  DialogDriver driver(kOptionsCaption, [](DialogUser& options) {
    DialogDriver about(kAboutCaption, [&options](DialogUser& box) {
      EXPECT_EQ(options.dialog(), GetWindow(box.dialog(), GW_OWNER));
      EXPECT_FALSE(IsWindowEnabled(options.dialog())) << "the owner waits for the about box";
      EXPECT_EQ(IDCANCEL, box.Focus()) << "\"Close\" has the first focus";
      EXPECT_EQ(L"Close", box.Text(IDCANCEL));
      EXPECT_TRUE(box.SaveScreenshot(ExeFolder() + L"about_box.png"));
      box.Click(IDCANCEL);
    });
    options.Click(IDC_OPTIONS_ABOUT);
    EXPECT_TRUE(about.Finish());
    EXPECT_TRUE(IsWindowEnabled(options.dialog()));
    EXPECT_EQ(L"1", options.Text(IDC_OPTIONS_PREVIEW)) << "the about box changes nothing";
    AddGateThroughTheList(options);
    options.SelectListEntry(IDC_OPTIONS_FORMAT, 2);
    options.Click(IDC_OPTIONS_AUTO_PICK);
    options.Click(IDCANCEL);
  });
  EXPECT_EQ(S_OK, s.Run(kOptions));
  EXPECT_TRUE(driver.Finish());
  s.Close();
  EXPECT_EQ(records + '\0', AddinSession::ReadPickListFile());
  EXPECT_EQ("0", Setting("TLDefFormat"));
  EXPECT_EQ("1", Setting("TLPickAutoPick"));
}

}  // namespace

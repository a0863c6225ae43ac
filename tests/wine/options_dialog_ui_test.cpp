// The real options dialog (template 102) and about box (template 108) inside the host, answered
// by a user's window messages from other threads: the preview and the focus as the system's
// controls report their changes, the nested dialogs owned by the options dialog, and what OK and
// Cancel leave in the next leader and in the stores.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "addin_session.h"
#include "resources/resource_ids.h"
#include "tlhost/dialog_driver_win.h"

namespace {

const wchar_t kOptionsCaption[] = L"Tallyline Running Options";

std::string Setting(const char* name) {
  char data[64] = {};
  DWORD size = sizeof data;
  RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Varnkit\\VKTL", name, RRF_RT_REG_SZ, nullptr, data, &size);
  return data;
}

// Runs the dialog behind a button of `options` whose user `answer`s it; the click returns when
// that dialog has ended.
void Nested(DialogUser& options, int button, const wchar_t* caption, std::function<void(DialogUser&)> answer) {
  DialogDriver nested(caption, [&options, &answer](DialogUser& user) {
    EXPECT_EQ(options.dialog(), GetWindow(user.dialog(), GW_OWNER)) << "owned by the options dialog";
    EXPECT_FALSE(IsWindowEnabled(options.dialog())) << "which waits";
    answer(user);
  });
  options.Click(button);
  EXPECT_TRUE(nested.Finish());
}

void AddToList(DialogUser& options, const wchar_t* item) {
  Nested(options, IDC_OPTIONS_LIST, L"Tallyline - Pick Text from List", [item](DialogUser& pick) {
    pick.Type(IDC_PICK_EDIT, item);
    pick.Click(IDOK);
  });
}

TEST(OptionsDialog, CancelDropsEverythingAndOkKeepsEverything) {
  const std::string records = "<TLT><NAME>Valve</NAME></TLT>\r\n";
  AddinSession s([&] {
    SessionStart start;
    start.pickListFile = records + '\0';
    return start;
  }());
  DialogDriver cancelled(kOptionsCaption, [](DialogUser& options) {
    Nested(options, IDC_OPTIONS_ABOUT, L"Varnkit_TL - About", [](DialogUser& about) {
      EXPECT_EQ(IDCANCEL, about.Focus()) << "\"Close\" has the first focus";
      EXPECT_TRUE(about.SaveScreenshot(ExeFolder() + L"about_box.png"));
      about.Click(IDCANCEL);
    });
    AddToList(options, L"Gate");
    options.SelectListEntry(IDC_OPTIONS_FORMAT, 2);
    options.Click(IDCANCEL);
  });
  VARIANT_BOOL result = 0;
  EXPECT_EQ(S_OK, s.Run(kOptions, &result));
  EXPECT_TRUE(cancelled.Finish());
  EXPECT_EQ(1, result);
  EXPECT_EQ(S_OK, s.Run(kNumber));
  EXPECT_EQ(u"1", s.host.LeaderToolText());
  EXPECT_EQ(S_OK, s.Run(kNumber));  // ends the placement

  DialogDriver confirmed(kOptionsCaption, [](DialogUser& user) {
    EXPECT_EQ(L"Letters - A, B, C, D ...  Range A - ZZ (1 - 702)", user.ListText(IDC_OPTIONS_FORMAT, 1));
    EXPECT_EQ(IDC_OPTIONS_FORMAT, user.Focus()) << "the first tab stop";
    user.Type(IDC_OPTIONS_START, L"12a");  // pasted: typing gives digits only
    EXPECT_EQ(L"E!Range 1 - 999", user.Text(IDC_OPTIONS_PREVIEW));
    EXPECT_EQ(IDC_OPTIONS_START, user.Focus()) << "a field without a number takes the focus";
    user.Type(IDC_OPTIONS_START, L"28");
    user.SelectListEntry(IDC_OPTIONS_FORMAT, 1);
    EXPECT_EQ(L"AB", user.Text(IDC_OPTIONS_PREVIEW));
    EXPECT_TRUE(user.SaveScreenshot(ExeFolder() + L"options_dialog.png"));
    user.SelectListEntry(IDC_OPTIONS_OBJECT_SOURCE, 1);
    user.Click(IDC_OPTIONS_CONVERT_POINT);
    user.Click(IDC_OPTIONS_AUTO_PICK);
    EXPECT_EQ(BST_UNCHECKED, user.Check(IDC_OPTIONS_CONVERT_POINT)) << "checks itself";
    AddToList(user, L"Pump \u2300 5");  // a character no ANSI page holds: the list goes over to UTF-8
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.Run(kOptions));
  EXPECT_TRUE(confirmed.Finish());
  EXPECT_EQ(S_OK, s.Run(kNumber));
  EXPECT_EQ(u"AB", s.host.LeaderToolText());
  EXPECT_EQ(S_OK, s.Run(kNumber));
  s.Close();
  EXPECT_EQ("1 1 0 0 1", Setting("TLDefFormat") + ' ' + Setting("TLDefObjDSource") + ' ' +
                             Setting("TLDefConvertPoint") + ' ' + Setting("TLPickAutoPick") + ' ' +
                             Setting("TLPickAutoAdd"));
  EXPECT_EQ("\xEF\xBB\xBF<TLT><NAME>Pump \xE2\x8C\x80 5</NAME></TLT>\r\n" + records + '\0',
            AddinSession::ReadPickListFile());
}

TEST(OptionsDialog, FromTheLocalMenuTheVeryNextLeaderTakesTheNewFormatAndStart) {
  AddinSession s;
  EXPECT_EQ(S_OK, s.Run(kNumber));
  s.host.PlaceLeader(2);
  s.PollAll();
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
  const int32_t next = s.host.PlaceLeader(2);
  s.PollAll();
  EXPECT_EQ(u"xl", s.Info(next));
  EXPECT_EQ(u"xli", s.host.LeaderToolText());
}

// The label style beside the template's own controls: the sample shows the whole next label as the
// fields change; Cancel drops it, OK gives it to the very next leader, which then steps by it.
// The continue check box beside it likewise: Cancel drops it, OK stores it.
TEST(OptionsDialog, LabelStyleFieldsSampleOkAndCancel) {
  AddinSession s;
  DialogDriver cancelled(kOptionsCaption, [](DialogUser& user) {
    EXPECT_EQ(L"1", user.Text(IDC_OPTIONS_STEP));
    EXPECT_EQ(L"0", user.Text(IDC_OPTIONS_DIGITS));
    EXPECT_EQ(L"All letters  A - ZZ (1 - 702)", user.ListText(IDC_OPTIONS_LETTER_SET, 0));
    EXPECT_EQ(0, user.ListSelection(IDC_OPTIONS_LETTER_SET));
    EXPECT_EQ(BST_UNCHECKED, user.Check(IDC_OPTIONS_CONTINUE));
    user.Type(IDC_OPTIONS_PREFIX, L"P-");
    EXPECT_EQ(L"P-1", user.Text(IDC_OPTIONS_PREVIEW));
    user.Click(IDC_OPTIONS_CONTINUE);
    user.Click(IDCANCEL);
  });
  EXPECT_EQ(S_OK, s.Run(kOptions));
  EXPECT_TRUE(cancelled.Finish());
  EXPECT_EQ(S_OK, s.Run(kNumber));
  EXPECT_EQ(u"1", s.host.LeaderToolText());
  EXPECT_EQ(S_OK, s.Run(kNumber));

  DialogDriver confirmed(kOptionsCaption, [](DialogUser& user) {
    EXPECT_EQ(BST_UNCHECKED, user.Check(IDC_OPTIONS_CONTINUE)) << "Cancel dropped it";
    user.Type(IDC_OPTIONS_START, L"7");
    user.Type(IDC_OPTIONS_PREFIX, L"P-");
    user.Type(IDC_OPTIONS_DIGITS, L"3");
    EXPECT_EQ(L"P-007", user.Text(IDC_OPTIONS_PREVIEW));
    user.Type(IDC_OPTIONS_SUFFIX, L" \u2300");  // no ANSI page of the West holds it
    user.Type(IDC_OPTIONS_STEP, L"10");
    EXPECT_EQ(L"P-007 \u2300", user.Text(IDC_OPTIONS_PREVIEW));
    user.SelectListEntry(IDC_OPTIONS_FORMAT, 1);
    user.SelectListEntry(IDC_OPTIONS_LETTER_SET, 2);
    user.Type(IDC_OPTIONS_START, L"9");
    EXPECT_EQ(L"P-J \u2300", user.Text(IDC_OPTIONS_PREVIEW));
    EXPECT_TRUE(user.SaveScreenshot(ExeFolder() + L"options_dialog_label_style.png"));
    user.Type(IDC_OPTIONS_STEP, L"0");
    user.Click(IDOK);
    EXPECT_EQ(IDC_OPTIONS_STEP, user.Focus()) << "a step of 0 keeps the dialog open";
    user.Type(IDC_OPTIONS_STEP, L"10");
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.Run(kOptions));
  EXPECT_TRUE(confirmed.Finish());
  EXPECT_EQ(S_OK, s.Run(kNumber));
  EXPECT_EQ(u"P-J \u2300", s.host.LeaderToolText());
  s.host.PlaceLeader(2);
  s.PollAll();
  EXPECT_EQ(u"P-W \u2300", s.host.LeaderToolText()) << "19 without I, O, Q, S, X, Z";
  EXPECT_EQ(S_OK, s.Run(kNumber));

  DialogDriver continues(kOptionsCaption, [](DialogUser& user) {
    user.Click(IDC_OPTIONS_CONTINUE);
    EXPECT_EQ(BST_CHECKED, user.Check(IDC_OPTIONS_CONTINUE)) << "checks itself";
    user.Click(IDOK);
  });
  EXPECT_EQ(S_OK, s.Run(kOptions));
  EXPECT_TRUE(continues.Finish());
  s.Close();
  EXPECT_EQ("1", Setting("TLDefContinue"));
}

// The user selects the field's text and pastes `text` from the clipboard over it.
void PasteOver(DialogUser& user, int id, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  ASSERT_NE(nullptr, memory);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  ASSERT_TRUE(OpenClipboard(user.dialog()));
  EmptyClipboard();
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  CloseClipboard();
  SendDlgItemMessageW(user.dialog(), id, EM_SETSEL, 0, -1);
  SendDlgItemMessageW(user.dialog(), id, WM_PASTE, 0, 0);
}

// Both number fields take the characters of a 32-bit number and no more, however long a paste.
TEST(NumberFields, APasteOf64000DigitsKeepsEleven) {
  AddinSession s;
  s.host.Select({s.AddGraphic(Graphic(u"TCW25DimLead", u"3"))});
  const struct Field {
    int32_t tool;
    const wchar_t* caption;
    int id;
  } fields[] = {{kOptions, kOptionsCaption, IDC_OPTIONS_START},
                {kRenumber, L"Tallyline - Renumber", IDC_RENUMBER_START_AT}};
  for (const Field& field : fields) {
    DialogDriver driver(field.caption, [&field](DialogUser& user) {
      PasteOver(user, field.id, std::wstring(64000, L'7'));
      EXPECT_EQ(std::wstring(11, L'7'), user.Text(field.id)) << field.tool;
      user.Click(IDCANCEL);
    });
    EXPECT_EQ(S_OK, s.Run(field.tool)) << field.tool;
    EXPECT_TRUE(driver.Finish()) << field.tool;
  }
}

// An administrator's policy (as Group Policy writes it, a DWORD in the 64-bit view) shows its
// value in a disabled control, reaches the next leader, and is never written to the options.
TEST(OptionsDialog, AnEnforcedOptionShowsItsValueAndCannotBeChanged) {
  HKEY policies = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Varnkit\\VKTL", 0, nullptr, 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &policies, nullptr));
  const DWORD letters = 1;
  RegSetValueExW(policies, L"TLDefFormat", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&letters), sizeof letters);
  RegCloseKey(policies);
  {
    AddinSession s;
    DialogDriver options(kOptionsCaption, [](DialogUser& user) {
      EXPECT_FALSE(user.IsEnabled(IDC_OPTIONS_FORMAT));
      EXPECT_EQ(1, user.ListSelection(IDC_OPTIONS_FORMAT));
      EXPECT_TRUE(user.IsEnabled(IDC_OPTIONS_PREFIX)) << "what no policy sets stays free";
      user.Click(IDOK);
    });
    EXPECT_EQ(S_OK, s.Run(kOptions));
    EXPECT_TRUE(options.Finish());
    EXPECT_EQ(S_OK, s.Run(kNumber));
    EXPECT_EQ(u"A", s.host.LeaderToolText());
    EXPECT_EQ(S_OK, s.Run(kNumber));
  }
  EXPECT_EQ("", Setting("TLDefFormat")) << "an enforced option is never stored";
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Varnkit\\VKTL", KEY_WOW64_64KEY, 0);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Varnkit", KEY_WOW64_64KEY, 0);
}

}  // namespace

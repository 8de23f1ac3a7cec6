// The in-memory backend behaves as the Win32 one where the dialogs depend on it: texts in the
// language's narrow code page, controls from the real templates, automatic buttons, Enter and
// Esc, the edit and combo operations the log and drive list use.
#include <gtest/gtest.h>

#include "dialog/dialog.h"
#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"

namespace {

class PlainDialog : public CDialog {
public:
    PlainDialog(DialogBackend& backend, int templateId = IDD_MAIN) : CDialog(templateId, backend) {}
    using CDialog::ComboInsertString;
    using CDialog::ComboSetCurSel;
    using CDialog::EditReplaceSel;
    using CDialog::EditSetSel;
    using CDialog::EnableControl;
    using CDialog::GetControlTextLength;
    using CDialog::SetControlText;
};

TEST(StringLookup, GivesTheUsersLanguageInItsNarrowCodePage) {
    MemoryDialogHost english{GeneratedResourceCatalog()};
    EXPECT_EQ(english.LoadText(IDS_TARGET_NOT_FOUND), "Target is not found");
    EXPECT_EQ(english.LoadText(IDS_LINE_BREAK), "\r\n");

    MemoryDialogHost japanese(GeneratedResourceCatalog(), kLanguageJapanese);
    const std::string narrow = japanese.LoadText(IDS_TARGET_NOT_FOUND);
    // "対応" in Shift-JIS, then the rest; the UTF-8 form must not leak through.
    EXPECT_EQ(narrow.substr(0, 4), "\x91\xCE\x89\x9E");
    EXPECT_EQ(japanese.ToUtf8(narrow), "対応ドライブが接続されていません");
    EXPECT_TRUE(japanese.IsLeadByte(0x91));
    EXPECT_FALSE(japanese.IsLeadByte('A'));
    EXPECT_FALSE(english.IsLeadByte(0x91));
}

TEST(StringLookup, MissingIdGivesEmptyText) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    EXPECT_EQ(host.LoadText(104), "");  // between the ids in use
    EXPECT_EQ(host.LoadText(9999), "");
    MemoryDialogHost japanese(GeneratedResourceCatalog(), kLanguageJapanese);
    EXPECT_EQ(japanese.LoadText(104), "");
}

TEST(Templates, DialogsAreBuiltFromTheTemplateOfTheChosenLanguage) {
    MemoryDialogHost english{GeneratedResourceCatalog()};
    PlainDialog englishDialog(english);
    ASSERT_TRUE(english.Open(englishDialog));
    EXPECT_EQ(english.Caption(), "Velmora Drive Utility");
    EXPECT_EQ(english.Text(IDC_APPLY), "Apply");
    EXPECT_EQ(english.Text(kIdCancel), "Close");

    MemoryDialogHost japanese(GeneratedResourceCatalog(), kLanguageJapanese);
    PlainDialog japaneseDialog(japanese);
    ASSERT_TRUE(japanese.Open(japaneseDialog));
    EXPECT_EQ(japanese.TextUtf8(IDC_APPLY), "設定する");
    EXPECT_EQ(japanese.ToUtf8(japanese.Caption()), "Velmoraドライブユーティリティ");

    PlainDialog missing(english, 4242);
    EXPECT_FALSE(english.Open(missing));
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(Controls, AutomaticButtonsKeepTheirGroupAndDisabledOnesCannotBeClicked) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    PlainDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    EXPECT_TRUE(host.Click(IDC_SPEED_ON));
    EXPECT_TRUE(host.Click(IDC_AUDIO_LOW));
    EXPECT_TRUE(host.Click(IDC_SPEED_OFF));
    EXPECT_EQ(host.GetCheck(IDC_SPEED_ON), 0);
    EXPECT_EQ(host.GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_EQ(host.GetCheck(IDC_AUDIO_LOW), 1);  // another group: untouched

    EXPECT_TRUE(host.Click(IDC_SAVE_SPEED));
    EXPECT_EQ(host.GetCheck(IDC_SAVE_SPEED), 1);
    EXPECT_TRUE(host.Click(IDC_SAVE_SPEED));
    EXPECT_EQ(host.GetCheck(IDC_SAVE_SPEED), 0);

    dialog.EnableControl(IDC_SAVE_SPEED, false);
    EXPECT_FALSE(host.Click(IDC_SAVE_SPEED));
    EXPECT_EQ(host.GetCheck(IDC_SAVE_SPEED), 0);
    EXPECT_FALSE(host.Click(IDC_AUDIO_DESCRIPTION));  // a static text is not a button

    EXPECT_EQ(host.UnknownControlAccesses(), 0);
    dialog.EnableControl(1999, false);
    EXPECT_EQ(host.UnknownControlAccesses(), 1);
}

TEST(Controls, ReplacingTheSelectionAtTheEndAppendsAsTheLogPumpNeeds) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    PlainDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    for (const char* piece : {"Current drive setting", "\r\n", "ON"}) {
        const int end = dialog.GetControlTextLength(IDC_LOG_EDIT);
        dialog.EditSetSel(IDC_LOG_EDIT, end, end);
        dialog.EditReplaceSel(IDC_LOG_EDIT, piece, false);
    }
    EXPECT_EQ(host.Text(IDC_LOG_EDIT), "Current drive setting\r\nON");

    dialog.EditSetSel(IDC_LOG_EDIT, 0, 7);
    dialog.EditReplaceSel(IDC_LOG_EDIT, "Saved", false);
    EXPECT_EQ(host.Text(IDC_LOG_EDIT), "Saved drive setting\r\nON");
}

TEST(Controls, ComboItemsInsertedAtTheEndKeepTheirOrderDespiteTheSortedStyle) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    PlainDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    EXPECT_EQ(dialog.ComboInsertString(IDC_DRIVE_COMBO, -1, "G: B"), 0);
    EXPECT_EQ(dialog.ComboInsertString(IDC_DRIVE_COMBO, -1, "E: A"), 1);
    EXPECT_EQ(dialog.ComboInsertString(IDC_DRIVE_COMBO, 5, "X"), -1);
    EXPECT_EQ(host.ComboItems(IDC_DRIVE_COMBO), (std::vector<std::string>{"G: B", "E: A"}));
    dialog.ComboSetCurSel(IDC_DRIVE_COMBO, 0);
    EXPECT_EQ(host.ComboSelection(IDC_DRIVE_COMBO), 0);
    dialog.ComboSetCurSel(IDC_DRIVE_COMBO, 2);  // out of range clears the selection
    EXPECT_EQ(host.ComboSelection(IDC_DRIVE_COMBO), -1);
    EXPECT_FALSE(host.SelectComboItem(IDC_DRIVE_COMBO, 2));
}

TEST(Keys, EnterFollowsTheFocusAndEscCancels) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    PlainDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_EQ(host.FocusedControl(), kIdCancel);  // the first tab stop of the template

    host.SetFocus(IDC_LOG_EDIT);  // the log box wants Return for itself
    EXPECT_FALSE(host.PressKey(DialogKey::kEnter).handled);
    EXPECT_TRUE(host.IsOpen(dialog));

    host.SetFocus(IDC_DRIVE_COMBO);
    host.PressKey(DialogKey::kEnter);
    EXPECT_EQ(host.ResultOf(dialog), kIdOk);

    PlainDialog onClose(host);
    ASSERT_TRUE(host.Open(onClose));
    host.PressKey(DialogKey::kEnter);  // focus on Close presses Close
    EXPECT_EQ(host.ResultOf(onClose), kIdCancel);

    PlainDialog escaped(host);
    ASSERT_TRUE(host.Open(escaped));
    host.SetFocus(IDC_DRIVE_COMBO);
    host.PressKey(DialogKey::kEscape);
    EXPECT_EQ(host.ResultOf(escaped), kIdCancel);
}

}  // namespace

// The generated catalog against the texts and layouts the program must show.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"

namespace {

constexpr int kCancelId = 2;  // IDCANCEL: the Close button

constexpr uint32_t kPopup = 0x80000000u, kVisible = 0x10000000u, kCaption = 0x00C00000u,
                   kSysMenu = 0x00080000u, kModalFrame = 0x80u, kGroup = 0x00020000u,
                   kTabStop = 0x00010000u, kBorder = 0x00800000u, kVScroll = 0x00200000u,
                   kAppWindow = 0x00040000u;

const int kStringIds[] = {101, 102, 103, 107, 112, 116, 118, 119, 120, 121, 137, 138,
                          139, 140, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151,
                          160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171};

std::string Text(int id, uint16_t language) {
    const char* text = GeneratedResourceCatalog().FindString(id, language);
    return text ? text : "<missing>";
}

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id) {
    for (int i = 0; i < dialog.controlCount; ++i) {
        if (dialog.controls[i].id == id) {
            return &dialog.controls[i];
        }
    }
    return nullptr;
}

// Control ids in template order; group boxes and statics without id appear by kind.
std::vector<std::string> Order(const DialogTemplate& dialog) {
    std::vector<std::string> order;
    for (int i = 0; i < dialog.controlCount; ++i) {
        const ControlTemplate& c = dialog.controls[i];
        if (c.id != -1) {
            order.push_back(std::to_string(c.id));
        } else {
            order.push_back(c.kind == ControlKind::kGroupBox ? "group" : "static");
        }
    }
    return order;
}

TEST(StringTable, HoldsExactlyTheProgramsStringsInBothLanguages) {
    for (uint16_t language : {kLanguageEnglish, kLanguageJapanese}) {
        for (int id = 100; id <= 179; ++id) {
            bool expected =
                std::find(std::begin(kStringIds), std::end(kStringIds), id) != std::end(kStringIds);
            EXPECT_EQ(expected, GeneratedResourceCatalog().FindString(id, language) != nullptr)
                << "string " << id << " language " << language;
        }
    }
    EXPECT_EQ(nullptr, GeneratedResourceCatalog().FindString(IDS_COMPLETE, 1031));  // no German
}

TEST(StringTable, KeepsInnerQuotesLineBreaksAndFullAndHalfWidthCharacters) {
    EXPECT_EQ("\r\n", Text(IDS_LINE_BREAK, kLanguageEnglish));
    EXPECT_EQ("\r\n", Text(IDS_LINE_BREAK, kLanguageJapanese));
    EXPECT_EQ(
        "Setting up a disc now.\r\nPlease wait to end of setting up and push the \"Apply\" "
        "button again.",
        Text(IDS_SETTING_UP_APPLY, kLanguageEnglish));
    EXPECT_EQ(
        "Setting up a disc now.\r\nPlease wait to end of setting up and push the \"Restore "
        "Factory Default\" button.",
        Text(IDS_SETTING_UP_RESTORE, kLanguageEnglish));
    EXPECT_EQ("Velmora Drive Utility Version(&A)...", Text(IDS_ABOUTBOX, kLanguageEnglish));
    EXPECT_EQ("Velmoraドライブユーティリティのﾊﾞｰｼﾞｮﾝ情報(&A)...",
              Text(IDS_ABOUTBOX, kLanguageJapanese));
    EXPECT_EQ("最適記録倍速 ： ", Text(IDS_SPEED_LABEL, kLanguageJapanese));
    EXPECT_EQ("Optimal Writing Speed : ", Text(IDS_SPEED_LABEL, kLanguageEnglish));
    EXPECT_EQ(
        "再生速度が低速の環境を重視した記録を行います。\r\n"
        "低速で再生するオーディオ環境などに適したCD-R記録方式です。",
        Text(IDS_LOW_SPEED_DESCRIPTION, kLanguageJapanese));
    EXPECT_EQ("Target is not found", Text(IDS_TARGET_NOT_FOUND, kLanguageEnglish));
    EXPECT_EQ("対応ドライブが接続されていません", Text(IDS_TARGET_NOT_FOUND, kLanguageJapanese));
}

TEST(MainDialog, HasTheWindowStyleSizeFontAndCaptionOfEachLanguage) {
    const DialogTemplate* en = GeneratedResourceCatalog().FindDialog(IDD_MAIN, kLanguageEnglish);
    const DialogTemplate* ja = GeneratedResourceCatalog().FindDialog(IDD_MAIN, kLanguageJapanese);
    ASSERT_NE(nullptr, en);
    ASSERT_NE(nullptr, ja);
    for (const DialogTemplate* d : {en, ja}) {
        uint32_t wanted = kPopup | kVisible | kCaption | kSysMenu | kModalFrame;
        EXPECT_EQ(wanted, d->style & wanted);
        EXPECT_EQ(kAppWindow, d->exStyle);
        EXPECT_EQ(275, d->width);
    }
    EXPECT_EQ(263, en->height);
    EXPECT_EQ(273, ja->height);
    EXPECT_STREQ("Velmora Drive Utility", en->caption);
    EXPECT_STREQ("Velmoraドライブユーティリティ", ja->caption);
    EXPECT_STREQ("Verdana", en->fontName);
    EXPECT_EQ(8, en->fontPointSize);
    EXPECT_STREQ("ＭＳ Ｐゴシック", ja->fontName);
    EXPECT_EQ(9, ja->fontPointSize);
    EXPECT_EQ(128, ja->fontCharset);  // SHIFTJIS_CHARSET
    EXPECT_EQ(nullptr, GeneratedResourceCatalog().FindDialog(IDD_MAIN, 1031));
}

TEST(MainDialog, OrdersControlsForTabbingAsEachLanguageRequires) {
    std::vector<std::string> en = {"2",      "1000", "1006", "1007", "1008",  "1009",
                                   "static", "1020", "1021", "1022", "group", "group",
                                   "1023",   "1024", "1025", "1027"};
    std::vector<std::string> ja = {"2",      "1000",   "1006", "1007", "1008", "1009",
                                   "group",  "static", "1020", "1021", "1022", "group",
                                   "static", "1023",   "1024", "1025", "1027"};
    EXPECT_EQ(en, Order(*GeneratedResourceCatalog().FindDialog(IDD_MAIN, kLanguageEnglish)));
    EXPECT_EQ(ja, Order(*GeneratedResourceCatalog().FindDialog(IDD_MAIN, kLanguageJapanese)));
}

TEST(MainDialog, ControlKindsAndStylesMatchInBothLanguages) {
    for (uint16_t language : {kLanguageEnglish, kLanguageJapanese}) {
        const DialogTemplate& d = *GeneratedResourceCatalog().FindDialog(IDD_MAIN, language);
        SCOPED_TRACE(language);
        for (int i = 0; i < d.controlCount; ++i) {
            EXPECT_NE(ControlKind::kDefaultPushButton, d.controls[i].kind) << "no default button";
            bool radioGroupStart =
                d.controls[i].id == IDC_SPEED_ON || d.controls[i].id == IDC_AUDIO_HIGH;
            if (d.controls[i].kind == ControlKind::kRadioButton) {
                EXPECT_EQ(radioGroupStart, (d.controls[i].style & kGroup) != 0);
            }
        }
        const ControlTemplate* combo = FindControl(d, IDC_DRIVE_COMBO);
        ASSERT_NE(nullptr, combo);
        EXPECT_EQ(ControlKind::kComboBox, combo->kind);
        EXPECT_EQ(0x3u, combo->style & 0x3u);  // CBS_DROPDOWNLIST
        EXPECT_NE(0u, combo->style & 0x100u);  // CBS_SORT
        EXPECT_NE(0u, combo->style & kVScroll);
        const ControlTemplate* log = FindControl(d, IDC_LOG_EDIT);
        ASSERT_NE(nullptr, log);
        EXPECT_EQ(ControlKind::kEdit, log->kind);
        uint32_t logStyle = 0x4u | 0x40u | 0x80u | 0x800u | 0x1000u | kBorder | kVScroll;
        EXPECT_EQ(logStyle, log->style & logStyle);
        for (int id : {IDC_SAVE_SPEED, IDC_SAVE_AUDIO}) {
            ASSERT_NE(nullptr, FindControl(d, id));
            EXPECT_EQ(ControlKind::kCheckBox, FindControl(d, id)->kind);
        }
        for (int id : {kCancelId, IDC_APPLY, IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING}) {
            ASSERT_NE(nullptr, FindControl(d, id));
            EXPECT_EQ(ControlKind::kPushButton, FindControl(d, id)->kind);
            EXPECT_NE(0u, FindControl(d, id)->style & kTabStop);
        }
        const ControlTemplate* description = FindControl(d, IDC_AUDIO_DESCRIPTION);
        ASSERT_NE(nullptr, description);
        EXPECT_EQ(ControlKind::kStatic, description->kind);
        EXPECT_STREQ("", description->text);
    }
}

TEST(MainDialog, PlacesControlsWhereEachLanguageLaysThemOut) {
    const DialogTemplate& en = *GeneratedResourceCatalog().FindDialog(IDD_MAIN, kLanguageEnglish);
    const DialogTemplate& ja = *GeneratedResourceCatalog().FindDialog(IDD_MAIN, kLanguageJapanese);
    const ControlTemplate* enRestore = FindControl(en, IDC_RESTORE_DEFAULT);
    EXPECT_STREQ("Restore Factory Default", enRestore->text);
    EXPECT_EQ((std::vector<int>{62, 239, 82, 14}),
              (std::vector<int>{enRestore->x, enRestore->y, enRestore->width, enRestore->height}));
    const ControlTemplate* jaSave = FindControl(ja, IDC_SAVE_AUDIO);
    EXPECT_STREQ("Audio最適記録モードの設定をドライブに保存する", jaSave->text);
    EXPECT_EQ((std::vector<int>{31, 151, 162, 10}),
              (std::vector<int>{jaSave->x, jaSave->y, jaSave->width, jaSave->height}));
    EXPECT_STREQ("閉じる", FindControl(ja, kCancelId)->text);
    EXPECT_STREQ("Close", FindControl(en, kCancelId)->text);
}

TEST(AboutBox, HasIconNoticeAndDefaultOkInBothLanguages) {
    const DialogTemplate* en =
        GeneratedResourceCatalog().FindDialog(IDD_ABOUTBOX, kLanguageEnglish);
    const DialogTemplate* ja =
        GeneratedResourceCatalog().FindDialog(IDD_ABOUTBOX, kLanguageJapanese);
    ASSERT_NE(nullptr, en);
    ASSERT_NE(nullptr, ja);
    EXPECT_STREQ("Velmora Drive Utility Version Information", en->caption);
    EXPECT_STREQ("Velmoraドライブユーティリティのﾊﾞｰｼﾞｮﾝ情報", ja->caption);
    EXPECT_EQ(247, en->width);
    EXPECT_EQ(235, ja->width);
    EXPECT_EQ(0u, en->style & kVisible);
    for (const DialogTemplate* d : {en, ja}) {
        ASSERT_EQ(4, d->controlCount);
        const ControlTemplate& icon = d->controls[0];
        EXPECT_EQ(ControlKind::kIcon, icon.kind);
        EXPECT_STREQ("128", icon.text);
        EXPECT_EQ(11, icon.x);
        EXPECT_EQ(17, icon.y);
        EXPECT_EQ(0x80u, d->controls[1].style & 0x80u);  // SS_NOPREFIX
        EXPECT_EQ(40, d->controls[1].x);
        EXPECT_EQ(25, d->controls[2].y);
        const ControlTemplate& ok = d->controls[3];
        EXPECT_EQ(1, ok.id);
        EXPECT_EQ(ControlKind::kDefaultPushButton, ok.kind);
        EXPECT_STREQ("OK", ok.text);
    }
    EXPECT_STREQ("Velmora Drive Utility Version 1.18", en->controls[1].text);
    EXPECT_STREQ("Velmoraドライブユーティリティ version 1.18", ja->controls[1].text);
    EXPECT_EQ(190, en->controls[3].x);
    EXPECT_EQ(178, ja->controls[3].x);
}

}  // namespace

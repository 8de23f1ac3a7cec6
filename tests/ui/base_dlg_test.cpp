// The main window on the in-memory backend: start-up without drives, the About command, the
// window behaviours of its message map, the log pump and the audio controls' readiness.
#include <gtest/gtest.h>

#include <thread>

#include "platform/memory_dialog_host.h"
#include "res/resource_ids.h"
#include "ui/base_dlg.h"

namespace {

constexpr int kSettingControls[] = {IDC_APPLY,      IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING,
                                    IDC_SPEED_ON,   IDC_SPEED_OFF,       IDC_SAVE_SPEED,
                                    IDC_AUDIO_HIGH, IDC_AUDIO_LOW,       IDC_SAVE_AUDIO};

struct MainWindow {
    explicit MainWindow(uint16_t language = kLanguageEnglish)
        : host(language), log(host), dialog(host, log) {}
    MemoryDialogHost host;
    LogRing log;
    CBaseDlg dialog;
};

TEST(MainWindowStart, WithoutDrivesDisablesEverythingAndSaysTargetIsNotFound) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));

    for (int id : kSettingControls) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
    EXPECT_FALSE(w.host.IsEnabled(IDC_DRIVE_COMBO));
    EXPECT_TRUE(w.host.IsEnabled(kIdCancel));
    EXPECT_EQ(w.host.RunningTimers(), std::vector<unsigned>{0});
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "");  // shown by the timer, not written directly

    w.host.TickTimers(1);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "Target is not found");
    w.host.TickTimers(3);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "Target is not found");
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), "");
    EXPECT_EQ(w.host.UnknownControlAccesses(), 0);
}

TEST(MainWindowStart, JapaneseShowsTheJapaneseLineAndMenuItem) {
    MainWindow w(kLanguageJapanese);
    ASSERT_TRUE(w.host.Open(w.dialog));
    w.host.TickTimers(1);
    EXPECT_EQ(w.host.TextUtf8(IDC_LOG_EDIT), "対応ドライブが接続されていません");
    ASSERT_EQ(w.host.SystemMenu().size(), 2u);
    EXPECT_EQ(w.host.ToUtf8(w.host.SystemMenu()[1].text),
              "Velmoraドライブユーティリティのﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

TEST(MainWindowStart, AddsTheAboutItemAfterASeparatorAndSetsBothIcons) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    const std::vector<SystemMenuItem> menu = w.host.SystemMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_TRUE(menu[0].separator);
    EXPECT_FALSE(menu[1].separator);
    EXPECT_EQ(menu[1].commandId, 16u);
    EXPECT_EQ(menu[1].text, "Velmora Drive Utility Version(&A)...");

    const IconHandle icon = w.host.LoadIcon(IDR_MAINFRAME);
    EXPECT_NE(icon, 0u);
    EXPECT_EQ(w.host.Icon(true), icon);
    EXPECT_EQ(w.host.Icon(false), icon);
    EXPECT_EQ(static_cast<IconHandle>(w.host.QueryDragIcon().result), icon);
}

TEST(AboutCommand, OpensTheAboutBoxForIdSixteenWhateverItsLowFourBits) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    std::string aboutCaption;
    w.host.SetModalDriver([&](MemoryDialogHost& host, CDialog& about) {
        aboutCaption = host.Caption();
        EXPECT_EQ(about.Parent(), &w.dialog);
        EXPECT_TRUE(host.Click(kIdOk));
    });

    EXPECT_TRUE(w.host.SendSysCommand(IDM_ABOUTBOX).handled);
    EXPECT_TRUE(w.host.SendSysCommand(IDM_ABOUTBOX | 0xF).handled);
    EXPECT_EQ(w.host.OpenedTemplates(), (std::vector<int>{IDD_MAIN, IDD_ABOUTBOX, IDD_ABOUTBOX}));
    EXPECT_EQ(aboutCaption, "Velmora Drive Utility Version Information");
    EXPECT_TRUE(w.host.IsOpen(w.dialog));
    EXPECT_TRUE(w.host.DefaultSysCommands().empty());
}

TEST(AboutCommand, OtherSystemCommandsGoToTheDefaultHandling) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    EXPECT_FALSE(w.host.SendSysCommand(0x0020).handled);  // 32: not the About item
    EXPECT_FALSE(w.host.SendSysCommand(kScMinimize).handled);
    EXPECT_FALSE(w.host.SendSysCommand(kScClose).handled);
    EXPECT_EQ(w.host.DefaultSysCommands(), (std::vector<unsigned>{0x0020, kScMinimize, kScClose}));
    EXPECT_EQ(w.host.OpenedTemplates(), std::vector<int>{IDD_MAIN});
    EXPECT_EQ(w.host.ResultOf(w.dialog), kIdCancel);  // Close from the system menu cancels
}

TEST(AboutCommand, NoControlOrKeyOpensTheAboutBox) {
    MainWindow w;
    w.dialog.SetReadyFlagSource([] { return 1; });  // audio controls enabled, so clickable
    ASSERT_TRUE(w.host.Open(w.dialog));
    w.host.TickTimers(2);
    for (int id : {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO}) {
        EXPECT_TRUE(w.host.Click(id));
    }
    w.host.PressKey(DialogKey::kF1);
    EXPECT_EQ(w.host.OpenedTemplates(), std::vector<int>{IDD_MAIN});
}

TEST(MainWindowKeys, F1IsSwallowedEscAndEnterEndTheDialog) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    EXPECT_TRUE(w.host.PressKey(DialogKey::kF1).handled);
    EXPECT_TRUE(w.host.IsOpen(w.dialog));

    w.host.PressKey(DialogKey::kEscape);
    EXPECT_EQ(w.host.ResultOf(w.dialog), kIdCancel);
    EXPECT_TRUE(w.host.RunningTimers().empty());  // the destroy handler killed the log timer

    MainWindow enter;
    ASSERT_TRUE(enter.host.Open(enter.dialog));
    enter.host.SetFocus(IDC_LOG_EDIT);
    enter.host.PressKey(DialogKey::kEnter);
    EXPECT_TRUE(enter.host.IsOpen(enter.dialog));
    enter.host.SetFocus(IDC_SAVE_SPEED);
    enter.host.PressKey(DialogKey::kEnter);
    EXPECT_EQ(enter.host.ResultOf(enter.dialog), kIdOk);
}

TEST(MainWindowLook, OnlyTheDescriptionIsBlueOnATransparentBackground) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    const ControlColor description = w.host.QueryControlColor(IDC_AUDIO_DESCRIPTION);
    EXPECT_TRUE(description.setTextColor);
    EXPECT_EQ(description.textColor, 0x00FF0000u);  // RGB(0, 0, 255)
    EXPECT_TRUE(description.transparentBackground);
    for (int id : {IDC_LOG_EDIT, IDC_SPEED_ON, -1}) {
        const ControlColor other = w.host.QueryControlColor(id);
        EXPECT_FALSE(other.setTextColor) << id;
        EXPECT_FALSE(other.transparentBackground) << id;
    }
}

TEST(MainWindowLook, MinimisedPaintDrawsTheIconCentredOtherwiseDefault) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    EXPECT_FALSE(w.host.Paint().handled);
    EXPECT_EQ(w.host.DefaultPaints(), 1);

    w.host.SetMinimised(true);
    w.host.SetClientSize(101, 50);
    EXPECT_TRUE(w.host.Paint().handled);
    ASSERT_EQ(w.host.IconPaints().size(), 1u);
    EXPECT_EQ(w.host.IconPaints()[0].icon, w.host.LoadIcon(IDR_MAINFRAME));
    EXPECT_EQ(w.host.IconPaints()[0].x, 35);  // (101 - 32 + 1) / 2
    EXPECT_EQ(w.host.IconPaints()[0].y, 9);   // (50 - 32 + 1) / 2
}

TEST(AudioDescription, RadioClicksShowTheirDescription) {
    MainWindow w;
    w.dialog.SetReadyFlagSource([] { return 1; });
    ASSERT_TRUE(w.host.Open(w.dialog));
    w.host.TickTimers(1);
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_LOW));
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), w.host.LoadString(IDS_LOW_SPEED_DESCRIPTION));
    EXPECT_NE(w.host.Text(IDC_AUDIO_DESCRIPTION).find("\r\n"), std::string::npos);
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_HIGH));
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), w.host.LoadString(IDS_HIGH_SPEED_DESCRIPTION));
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_LOW), 0);
}

TEST(AudioReadiness, TheTimerFollowsTheReadyFlag) {
    MainWindow w;
    int ready = 1;
    w.dialog.SetReadyFlagSource([&] { return ready; });
    ASSERT_TRUE(w.host.Open(w.dialog));
    EXPECT_FALSE(w.host.IsEnabled(IDC_AUDIO_HIGH));  // start-up disabled them

    w.host.TickTimers(1);
    for (int id : {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO}) {
        EXPECT_TRUE(w.host.IsEnabled(id)) << id;
    }
    EXPECT_FALSE(w.host.IsEnabled(IDC_APPLY));  // no other control follows the flag
    ready = 0;
    w.host.TickTimers(1);
    for (int id : {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO}) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
}

TEST(LogPump, OnePiecePerTickInOrderLinesOnlyFromLineBreakPieces) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    w.host.TickTimers(1);  // "Target is not found"
    w.log.LogClear();
    for (int id : {IDS_CURRENT_SETTING, IDS_LINE_BREAK, IDS_SPEED_LABEL, IDS_ON, IDS_LINE_BREAK,
                   IDS_AUDIO_LABEL, IDS_HIGH_SPEED_MODE, IDS_COMPLETE}) {
        w.log.LogAppend(id);
    }
    w.host.TickTimers(3);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT),
              "Target is not foundCurrent drive setting\r\nOptimal Writing Speed : ");
    w.host.TickTimers(5);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT),
              "Target is not foundCurrent drive setting\r\nOptimal Writing Speed : ON\r\n"
              "Audio Optimized Write Mode : High speed playback modecomplete");
    w.host.TickTimers(2);
    EXPECT_EQ(w.log.LogHasPending(), 0);
}

TEST(CommandDone, WorkersPostToTheWindowThreadWhereTheMessageIsHandled) {
    MainWindow w;
    ASSERT_TRUE(w.host.Open(w.dialog));
    CommandDoneSink& sink = w.dialog;
    std::thread worker([&] { sink.PostCommandDone(); });
    worker.join();
    EXPECT_EQ(w.host.PumpPostedMessages(), 1);
    EXPECT_TRUE(w.host.Send(kWmCommandDone, 0, 0).handled);
}

}  // namespace

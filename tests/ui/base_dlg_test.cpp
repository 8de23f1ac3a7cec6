// The main window on the in-memory backend: start-up without drives, the About command, the
// window behaviours of its message map, the log pump and the audio controls' readiness.
#include <gtest/gtest.h>

#include <thread>

#include "tests/ui/main_window_rig.h"

namespace {

// The window without drives, opened at once.
struct MainWindow : MainWindowRig {
    explicit MainWindow(uint16_t language = kLanguageEnglish) : MainWindowRig(language) {
        EXPECT_TRUE(Open());
    }
    CBaseDlg& Dialog() { return *dialog; }
};

// The window with a drive at E whose watcher reports it ready.
struct ReadyMainWindow : MainWindowRig {
    ReadyMainWindow() {
        drives.AddDrive('E').ForceReadyByte(1);
        EXPECT_TRUE(Open());
        EXPECT_TRUE(WatcherReady(1));
    }
};

TEST(MainWindowStart, WithoutDrivesDisablesEverythingAndSaysTargetIsNotFound) {
    MainWindow w;

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
    w.host.TickTimers(1);
    EXPECT_EQ(w.host.TextUtf8(IDC_LOG_EDIT), "対応ドライブが接続されていません");
    ASSERT_EQ(w.host.SystemMenu().size(), 2u);
    EXPECT_EQ(w.host.ToUtf8(w.host.SystemMenu()[1].text),
              "Velmoraドライブユーティリティのﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

TEST(MainWindowStart, AddsTheAboutItemAfterASeparatorAndSetsBothIcons) {
    MainWindow w;
    const std::vector<SystemMenuItem> menu = w.host.SystemMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_TRUE(menu[0].separator);
    EXPECT_FALSE(menu[1].separator);
    EXPECT_EQ(menu[1].commandId, 16u);
    EXPECT_EQ(menu[1].text, "Velmora Drive Utility Version(&A)...");

    const IconHandle icon = w.host.LoadIconResource(IDR_MAINFRAME);
    EXPECT_NE(icon, 0u);
    EXPECT_EQ(w.host.Icon(true), icon);
    EXPECT_EQ(w.host.Icon(false), icon);
    EXPECT_EQ(static_cast<IconHandle>(w.host.QueryDragIcon().result), icon);
}

TEST(AboutCommand, OpensTheAboutBoxForIdSixteenWhateverItsLowFourBits) {
    MainWindow w;
    std::string aboutCaption;
    w.host.SetModalDriver([&](MemoryDialogHost& host, CDialog& about) {
        aboutCaption = host.Caption();
        EXPECT_EQ(about.Parent(), w.dialog.get());
        EXPECT_TRUE(host.Click(kIdOk));
    });

    EXPECT_TRUE(w.host.SendSysCommand(IDM_ABOUTBOX).handled);
    EXPECT_TRUE(w.host.SendSysCommand(IDM_ABOUTBOX | 0xF).handled);
    EXPECT_EQ(w.host.OpenedTemplates(), (std::vector<int>{IDD_MAIN, IDD_ABOUTBOX, IDD_ABOUTBOX}));
    EXPECT_EQ(aboutCaption, "Velmora Drive Utility Version Information");
    EXPECT_TRUE(w.host.IsOpen(*w.dialog));
    EXPECT_TRUE(w.host.DefaultSysCommands().empty());
}

TEST(AboutCommand, OtherSystemCommandsGoToTheDefaultHandling) {
    MainWindow w;
    EXPECT_FALSE(w.host.SendSysCommand(0x0020).handled);  // 32: not the About item
    EXPECT_FALSE(w.host.SendSysCommand(kScMinimize).handled);
    EXPECT_FALSE(w.host.SendSysCommand(kScClose).handled);
    EXPECT_EQ(w.host.DefaultSysCommands(), (std::vector<unsigned>{0x0020, kScMinimize, kScClose}));
    EXPECT_EQ(w.host.OpenedTemplates(), std::vector<int>{IDD_MAIN});
    EXPECT_EQ(w.host.ResultOf(*w.dialog), kIdCancel);  // Close from the system menu cancels
}

TEST(AboutCommand, NoControlOrKeyOpensTheAboutBox) {
    ReadyMainWindow w;  // audio controls enabled, so clickable
    w.host.TickTimers(2);
    for (int id : {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO}) {
        EXPECT_TRUE(w.host.Click(id));
    }
    w.host.PressKey(DialogKey::kF1);
    EXPECT_EQ(w.host.OpenedTemplates(), std::vector<int>{IDD_MAIN});
}

TEST(MainWindowKeys, F1IsSwallowedEscAndEnterEndTheDialog) {
    MainWindow w;
    EXPECT_TRUE(w.host.PressKey(DialogKey::kF1).handled);
    EXPECT_TRUE(w.host.IsOpen(*w.dialog));

    w.host.PressKey(DialogKey::kEscape);
    EXPECT_EQ(w.host.ResultOf(*w.dialog), kIdCancel);
    EXPECT_TRUE(w.host.RunningTimers().empty());  // the destroy handler killed the log timer

    MainWindow enter;
    enter.host.SetFocus(IDC_LOG_EDIT);
    enter.host.PressKey(DialogKey::kEnter);
    EXPECT_TRUE(enter.host.IsOpen(*enter.dialog));
    enter.host.SetFocus(IDC_SAVE_SPEED);
    enter.host.PressKey(DialogKey::kEnter);
    EXPECT_EQ(enter.host.ResultOf(*enter.dialog), kIdOk);
}

TEST(MainWindowLook, OnlyTheDescriptionIsBlueOnATransparentBackground) {
    MainWindow w;
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
    EXPECT_FALSE(w.host.Paint().handled);
    EXPECT_EQ(w.host.DefaultPaints(), 1);

    w.host.SetMinimised(true);
    w.host.SetClientSize(101, 50);
    EXPECT_TRUE(w.host.Paint().handled);
    ASSERT_EQ(w.host.IconPaints().size(), 1u);
    EXPECT_EQ(w.host.IconPaints()[0].icon, w.host.LoadIconResource(IDR_MAINFRAME));
    EXPECT_EQ(w.host.IconPaints()[0].x, 35);  // (101 - 32 + 1) / 2
    EXPECT_EQ(w.host.IconPaints()[0].y, 9);   // (50 - 32 + 1) / 2
}

TEST(AudioDescription, RadioClicksShowTheirDescription) {
    ReadyMainWindow w;
    w.host.TickTimers(1);
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_LOW));
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), w.host.LoadText(IDS_LOW_SPEED_DESCRIPTION));
    EXPECT_NE(w.host.Text(IDC_AUDIO_DESCRIPTION).find("\r\n"), std::string::npos);
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_HIGH));
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), w.host.LoadText(IDS_HIGH_SPEED_DESCRIPTION));
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_LOW), 0);
}

TEST(AudioReadiness, TheTimerFollowsTheWatchersReadyFlag) {
    MainWindowRig w;
    SimulatedDriveConfig noAudioMode;
    noAudioMode.supportsAudioMode = false;
    SimulatedDrive& drive = w.drives.AddDrive('E', noAudioMode);
    drive.ForceReadyByte(1);
    ASSERT_TRUE(w.Open());
    ASSERT_TRUE(w.WatcherReady(1));
    EXPECT_FALSE(w.host.IsEnabled(IDC_AUDIO_HIGH));  // the drive has no audio mode

    w.host.TickTimers(1);  // the flag alone decides
    for (int id : kAudioControls) {
        EXPECT_TRUE(w.host.IsEnabled(id)) << id;
    }
    w.dialog->EnableControl(IDC_AUDIO_LOW, false);  // the timer touches them only on a change
    w.host.TickTimers(1);
    EXPECT_FALSE(w.host.IsEnabled(IDC_AUDIO_LOW));

    drive.ForceReadyByte(2);  // anything but 1 is not ready
    ASSERT_TRUE(w.WatcherReady(0));
    w.host.TickTimers(1);
    for (int id : kAudioControls) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(w.host.IsEnabled(IDC_APPLY));  // no other control follows the flag
}

TEST(AudioReadiness, WithoutAWatcherTheFirstTickDisablesTheAudioControls) {
    MainWindowRig w;
    w.drives.AddDrive('E');
    w.transport.SetOpenRefusal(
        [opens = 0](const std::string& path) mutable { return path == "E:" && ++opens > 1; });
    ASSERT_TRUE(w.Open());  // listed, but the drive cannot be opened afterwards
    w.dialog->EnableControl(IDC_AUDIO_HIGH, true);
    w.host.TickTimers(1);
    EXPECT_FALSE(w.host.IsEnabled(IDC_AUDIO_HIGH));
    w.dialog->EnableControl(IDC_AUDIO_HIGH, true);
    w.host.TickTimers(1);  // state 2 already: left alone
    EXPECT_TRUE(w.host.IsEnabled(IDC_AUDIO_HIGH));
    EXPECT_EQ(w.watcher.IsReady(), 0);
}

TEST(LogPump, OnePiecePerTickInOrderLinesOnlyFromLineBreakPieces) {
    MainWindow w;
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

// The timer ticks every 2 ms only while lines wait; idle it slows down, and the next queued
// line brings the fast pace back before it has to be shown.
TEST(LogPump, TheTimerRunsFastOnlyWhileLinesWait) {
    MainWindow w;
    EXPECT_EQ(w.host.TimerPeriod(0), 2u);
    w.host.TickTimers(1);  // shows "Target is not found", nothing left
    EXPECT_EQ(w.host.TimerPeriod(0), 250u);

    w.log.LogAppend(IDS_CURRENT_SETTING);
    w.log.LogAppend(IDS_LINE_BREAK);
    EXPECT_EQ(w.host.TimerPeriod(0), 2u);
    w.host.TickTimers(1);
    EXPECT_EQ(w.host.TimerPeriod(0), 2u);  // one piece still waits
    w.host.TickTimers(1);
    EXPECT_EQ(w.host.TimerPeriod(0), 250u);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "Target is not foundCurrent drive setting\r\n");

    w.host.PressKey(DialogKey::kEscape);
    EXPECT_TRUE(w.host.RunningTimers().empty());
    w.dialog.reset();
    w.log.LogAppend(IDS_COMPLETE);  // the ring outlives the window: no call into it (ASan)
    EXPECT_EQ(w.log.LogHasPending(), 1);
}

TEST(CommandDone, WorkersPostToTheWindowThreadWhereTheMessageIsHandled) {
    MainWindow w;
    CommandDoneSink& sink = *w.dialog;
    std::thread worker([&] { sink.PostCommandDone(); });
    worker.join();
    EXPECT_EQ(w.host.PumpPostedMessages(), 1);
    EXPECT_TRUE(w.host.Send(kWmCommandDone, 0, 0).handled);
}

}  // namespace

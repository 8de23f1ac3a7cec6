// Start-up of the main window: discovery of the drives over C to Z with its retry, the list and
// its texts, the first drive opened with its watcher and report, the platform check, a failed
// mutex, and the lines a user must see when a drive cannot be opened.
#include <gtest/gtest.h>

#include "tests/ui/main_window_rig.h"

namespace {

const std::string kReport =
    "Current drive setting\r\nOptimal Writing Speed : OFF\r\n"
    "Audio Optimized Write Mode : High speed playback mode";

int ModelBufferReads(const SimulatedDrive& drive) {
    int count = 0;
    for (const ReceivedCommand& command : drive.Received()) {
        count += command.cdb[0] == 0x3C && command.cdb[2] == 0xF1 ? 1 : 0;
    }
    return count;
}

TEST(Discovery, WithoutAQualifyingDriveLooksTwice3500MsApartAndDisablesEverything) {
    MainWindowRig w;
    SimulatedDriveConfig otherModel;
    otherModel.modelText = "7315KT53    ";
    const SimulatedDrive& other = w.drives.AddDrive('D', otherModel);
    ASSERT_TRUE(w.Open());

    EXPECT_EQ(w.sleeps, std::vector<uint32_t>{3500});
    EXPECT_EQ(ModelBufferReads(other), 2);
    EXPECT_TRUE(w.host.ComboItems(IDC_DRIVE_COMBO).empty());
    EXPECT_FALSE(w.host.IsEnabled(IDC_DRIVE_COMBO));
    for (int id : kSettingControls) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
    EXPECT_EQ(w.transport.OpenHandles(), 0);
    EXPECT_EQ(w.LogAfterTicks(3), "Target is not found");
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), "");

    w.host.PressKey(DialogKey::kEscape);
    EXPECT_EQ(w.host.ResultOf(*w.dialog), kIdCancel);
    EXPECT_EQ(w.transport.Violations(), 0);
}

TEST(Discovery, ListsDrivesInLetterOrderAndOpensTheFirst) {
    MainWindowRig w;
    SimulatedDriveConfig g;
    g.product = "CD-R DRIVE G    ";
    w.drives.AddDrive('G', g);
    SimulatedDrive& e = w.drives.AddDrive('E');
    ASSERT_TRUE(w.Open());

    EXPECT_EQ(w.host.ComboItems(IDC_DRIVE_COMBO),
              (std::vector<std::string>{"E: VELMORA CD-R DRIVE      1.00",
                                        "G: VELMORA CD-R DRIVE G    1.00"}));
    EXPECT_EQ(w.host.ComboSelection(IDC_DRIVE_COMBO), 0);
    EXPECT_TRUE(w.sleeps.empty());
    EXPECT_EQ(w.transport.OpenPaths(), std::vector<std::string>{"E:"});
    EXPECT_EQ(w.drive.transportMode, kTransportModePassThrough);
    EXPECT_TRUE(Eventually([&] { return CountPageReads(e, 0) > 0; }));  // the watcher polls E
    EXPECT_EQ(w.host.RunningTimers(), std::vector<unsigned>{0});
    EXPECT_EQ(w.LogAfterTicks(7), kReport);
}

TEST(Discovery, TheEntryTextIsTheLetterAndInquiryBytes8To44AsSent) {
    MainWindowRig w;
    SimulatedDriveConfig longTail;
    longTail.inquiryTail = "ABCDEFGHIJKLMNOP";
    w.drives.AddDrive('F', longTail);
    SimulatedDriveConfig silent;
    silent.answersInquiry = false;
    w.drives.AddDrive('K', silent);
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.host.ComboItems(IDC_DRIVE_COMBO),
              (std::vector<std::string>{"F: VELMORA CD-R DRIVE      1.00ABCDEFGHI", "K: "}));
}

TEST(Discovery, AnIdentifierAfterAZeroByteOrWithoutItsSpacesIsNotSeen) {
    MainWindowRig w;
    SimulatedDriveConfig cut;
    cut.modelText = std::string("ABCD\0", 5) + "7305KT52    ";
    w.drives.AddDrive('C', cut);
    SimulatedDriveConfig noSpaces;
    noSpaces.modelText = "7305KT52xxxx";
    w.drives.AddDrive('D', noSpaces);
    SimulatedDriveConfig late;
    late.modelText = "IDENTIFICATION7305KT52    ";  // at reply bytes 30 to 41
    w.drives.AddDrive('E', late);
    SimulatedDriveConfig mute;
    mute.answersModelBuffer = false;
    w.drives.AddDrive('F', mute);
    w.drives.AddDrive('H');
    w.drives.RefuseOpen('H', true);
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.host.ComboItems(IDC_DRIVE_COMBO),
              std::vector<std::string>{"E: VELMORA CD-R DRIVE      1.00"});
    EXPECT_EQ(w.transport.OpenPaths(), std::vector<std::string>{"E:"});
}

// The identification read outlasts the wait bound: the drive must not be closed under it.
TEST(Discovery, NeverClosesADriveUnderACommandThatOutlastsTheWait) {
    MainWindowRig w;
    w.services.commandWaitMs = 5;
    SimulatedDrive& slow = w.drives.AddDrive('E');
    slow.SetCommandLatency({0x3C, 0xF1}, 60000);
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.transport.Violations(), 0);
    EXPECT_TRUE(w.host.ComboItems(IDC_DRIVE_COMBO).empty());  // counted as not answering
    EXPECT_EQ(ModelBufferReads(slow), 2);
}

TEST(PlatformCheck, AnUnknownPlatformStillDiscoversAndSaysSo) {
    MainWindowRig w;
    w.platformId = 0;
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.LogAfterTicks(2), "cannot get OS typeTarget is not found");
    EXPECT_EQ(w.drive.transportMode, kTransportModeUnset);

    MainWindowRig withDrive(kLanguageJapanese);
    withDrive.platformId = 3;
    withDrive.drives.AddDrive('E');
    ASSERT_TRUE(withDrive.Open());
    ASSERT_EQ(withDrive.host.ComboItems(IDC_DRIVE_COMBO).size(), 1u);
    EXPECT_EQ(withDrive.host.ToUtf8(withDrive.LogAfterTicks(9)),
              "【現在のドライブの設定】\r\n最適記録倍速 ： OFF\r\n"
              "Audio最適記録モード ： 高速再生重視モード\r\n不明なOSです");
}

TEST(PlatformCheck, Windows9xIsRefusedAndTheDriveButtonsAreDisabled) {
    MainWindowRig w;
    w.platformId = kOsPlatformWindows9x;
    const SimulatedDrive& e = w.drives.AddDrive('E');
    ASSERT_TRUE(w.Open());
    ASSERT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.host.MessageBoxes()[0].text, "Not support this OS");
    EXPECT_EQ(w.host.MessageBoxes()[0].title, "VelmoraDriveUtility");
    EXPECT_EQ(e.ReceivedCount(), 0u);
    EXPECT_TRUE(w.host.RunningTimers().empty());
    for (int id : {IDC_CHECK_SETTING, IDC_APPLY, IDC_RESTORE_DEFAULT}) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
    w.host.PressKey(DialogKey::kEscape);
    EXPECT_EQ(w.host.ResultOf(*w.dialog), kIdCancel);
}

TEST(MutexCreation, AFailureIsShownAndNothingIsLeftToClick) {
    MainWindowRig w(kLanguageJapanese);
    w.mutexFails = true;
    const SimulatedDrive& e = w.drives.AddDrive('E');
    ASSERT_TRUE(w.Open());
    ASSERT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.host.ToUtf8(w.host.MessageBoxes()[0].text), "ミューテックスの作成に失敗しました");
    EXPECT_EQ(e.ReceivedCount(), 0u);
    EXPECT_FALSE(w.host.Click(IDC_CHECK_SETTING));
    EXPECT_FALSE(w.host.Click(IDC_APPLY));
    EXPECT_FALSE(w.host.Click(IDC_RESTORE_DEFAULT));
}

TEST(StartupOpen, ADriveThatCannotBeOpenedIsReportedBelowTheError) {
    MainWindowRig w;
    w.drives.AddDrive('E');
    w.transport.SetOpenRefusal(
        [opens = 0](const std::string& path) mutable { return path == "E:" && ++opens > 1; });
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.LogAfterTicks(5), "unexpected error\r\ndevice open failed");
    for (int id : kSettingControls) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(w.host.MessageBoxes().empty());
    EXPECT_EQ(w.watcher.IsReady(), 0);
}

TEST(CheckSetting, PressedTwiceShowsTheReportOnce) {
    MainWindowRig w;
    w.drives.AddDrive('E');
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.LogAfterTicks(10), kReport);
    ASSERT_TRUE(w.host.Click(IDC_CHECK_SETTING));
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "");
    ASSERT_TRUE(w.host.Click(IDC_CHECK_SETTING));
    EXPECT_EQ(w.LogAfterTicks(2), "Current drive setting\r\n");
    EXPECT_EQ(w.LogAfterTicks(10), kReport);
}

}  // namespace

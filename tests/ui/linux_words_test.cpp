// The main window as the Linux program runs it: drives at the nodes sysfs lists and the Linux
// words for what the system refuses: a node the user may not open, held by another program, gone
// or failing; one discovery could not open beside a listed drive; a write the block node's filter
// refuses; a drive another writer has, or whose disc is mounted; a drive gone before Apply; and
// why no drive is listed.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/linux_access_messages.h"
#include "tests/settings/fake_drive_claims.h"
#include "tests/ui/main_window_rig.h"

namespace {

const DriveCandidate kThroughSg{"/dev/sg1", "/dev/sr0", false, "", "", "/dev/sr0", "11:0"};
const DriveCandidate kThroughSr{"/dev/sr1", "/dev/sr1", true, "", "", "/dev/sr1", "11:1"};

const std::string kDenied =
    "Permission denied opening %s: add your user to the cdrom group and log in again, or log in "
    "at this computer itself";
const std::string kNeedsSg =
    "Writing the settings was refused: this drive has no SCSI generic node (/dev/sg*), and through "
    "/dev/sr1 Linux lets only an administrator write.\r\nLoad the sg module (sudo modprobe sg) or "
    "run as administrator.";
const std::string kGone =
    "/dev/sg1 is no longer there: the drive was disconnected or switched off. Nothing more was "
    "sent to it. Connect it and start this program again.";

std::string Denied(const std::string& node) {
    return FillPlaceholder(kDenied, node);
}

struct LinuxWindow : MainWindowRig {
    explicit LinuxWindow(uint16_t language = kLanguageEnglish) : MainWindowRig(language) {
        services.accessMessages = &LinuxAccessMessages();
        services.listCandidates = [this] { return candidates; };
        services.claims = &claims;
    }
    SimulatedDrive& AddNode(const DriveCandidate& candidate,
                            const SimulatedDriveConfig& config = {}) {
        candidates.push_back(candidate);
        return drives.AddDrive(candidate.devicePath, config);
    }
    // Opened, watched and shown; commands from here on are the test's.
    void OpenAndSettle(SimulatedDrive& simulated) {
        ASSERT_TRUE(Open());
        ASSERT_TRUE(WatcherReady(1));
        host.TickTimers(10);
        simulated.ClearReceived();
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : host.MessageBoxes()) {
            texts.push_back(host.ToUtf8(box.text));
        }
        return texts;
    }
    int Count(const SimulatedDrive& simulated, uint8_t opcode) const {
        int count = 0;
        for (const ReceivedCommand& command : simulated.Received()) {
            count += command.cdb[0] == opcode ? 1 : 0;
        }
        return count;
    }
    std::vector<DriveCandidate> candidates;
    FakeDriveClaims claims;
};

TEST(LinuxWords, ANodeRefusedAtStartIsNamedWithTheCdromGroupInBothLanguages) {
    LinuxWindow w;
    w.AddNode(kThroughSg);
    w.transport.SetOpenRefusal(  // EACCES, from the second open on: discovery listed the drive
        [opens = 0](const std::string& path) mutable { return path == "/dev/sg1" && ++opens > 1; });
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.LogAfterTicks(5), "unexpected error\r\n" + Denied("/dev/sg1"));
    EXPECT_TRUE(w.host.MessageBoxes().empty());

    LinuxWindow ja(kLanguageJapanese);
    ja.AddNode(kThroughSg);
    ja.transport.SetOpenRefusal(
        [opens = 0](const std::string& path) mutable { return path == "/dev/sg1" && ++opens > 1; });
    ASSERT_TRUE(ja.Open());
    EXPECT_EQ(ja.host.ToUtf8(ja.LogAfterTicks(5)),
              "予期せぬエラーです。\r\n/dev/sg1 を開く権限がありません。ユーザーを cdrom "
              "グループに追加してログインし直すか、このコンピューターに直接ログインしてください");
}

TEST(LinuxWords, OnDriveSelectionTheLineAndTheBoxNameTheNodeOnlyForAMissingRight) {
    LinuxWindow w;
    w.AddNode(kThroughSg);
    w.AddNode(kThroughSr);
    ASSERT_TRUE(w.Open());
    w.drives.RefuseOpen("/dev/sr1", EACCES);
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{Denied("/dev/sr1")});
    EXPECT_EQ(w.LogAfterTicks(10), "unexpected error\r\n" + Denied("/dev/sr1"));

    // Refused for reasons other than rights: words of their own, naming the node.
    const std::pair<int, std::string> reasons[] = {
        {EBUSY,
         "/dev/sr1 is held by another program (a burning program, say) or its disc is "
         "mounted: close that program or unmount the disc, then choose the drive again"},
        {ENXIO,
         "/dev/sr1 is no longer there: the drive was disconnected or switched off. "
         "Connect it and start this program again"},
        {EIO,
         "/dev/sr1 could not be opened: the drive did not answer (input/output error). "
         "Check its cable and power, then choose the drive again"},
        {EINVAL, "device open failed"},
    };
    for (const auto& [error, words] : reasons) {
        w.drives.RefuseOpen("/dev/sr1", error);
        ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));
        ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
        EXPECT_EQ(w.BoxTexts().back(), words) << error;
    }
    EXPECT_EQ(w.transport.Violations(), 0);
}

// Beside a listed drive, one the user may not open and one another program holds are named with
// what to do, each on its own line after the report; a node that is simply not there is not.
TEST(LinuxWords, DevicesDiscoveryCouldNotOpenBesideAListedDriveAreNamed) {
    LinuxWindow w;
    w.AddNode(kThroughSg);
    w.AddNode(kThroughSr);
    w.AddNode(DriveCandidate{"/dev/sg3", "/dev/sr2", false});
    w.AddNode(DriveCandidate{"/dev/sg4", "/dev/sr3", false});
    w.drives.RefuseOpen("/dev/sr1", EACCES);
    w.drives.RefuseOpen("/dev/sg3", EBUSY);
    w.drives.RefuseOpen("/dev/sg4", ENOENT);
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(w.LogAfterTicks(20),
              "Current drive setting\r\nOptimal Writing Speed : OFF\r\n"
              "Audio Optimized Write Mode : High speed playback mode\r\n" +
                  Denied("/dev/sr1") +
                  "\r\n/dev/sg3 is held by another program (a burning "
                  "program, say) or its disc is mounted: close that program or unmount the disc, "
                  "then choose the drive again");
}

TEST(LinuxWords, WithNoDriveListedTheLogSaysWhetherThereIsNoneUnsupportedOnesOrAForbiddenOne) {
    LinuxWindow none;
    ASSERT_TRUE(none.Open());
    EXPECT_EQ(none.LogAfterTicks(2), "No optical drive found");

    LinuxWindow other;
    SimulatedDriveConfig otherModel;
    otherModel.modelText = "7315KT53    ";
    other.AddNode(kThroughSg, otherModel);
    ASSERT_TRUE(other.Open());
    EXPECT_EQ(other.LogAfterTicks(2),
              "Optical drives found, but none of them is a supported model");

    LinuxWindow forbidden;
    forbidden.AddNode(kThroughSr, otherModel);
    forbidden.AddNode(kThroughSg);
    forbidden.drives.RefuseOpen("/dev/sg1", EACCES);
    ASSERT_TRUE(forbidden.Open());
    EXPECT_EQ(forbidden.LogAfterTicks(2), Denied("/dev/sg1"));
    EXPECT_FALSE(forbidden.host.IsEnabled(IDC_DRIVE_COMBO));
}

// The block node's filter refuses WRITE BUFFER: one box naming the node and saying what to do, no
// retry, no audio write, no "complete"; the refused write is still read back.
TEST(LinuxWords, AWriteTheBlockNodeRefusesIsExplainedOnceAndNotRetried) {
    LinuxWindow w;
    SimulatedDrive& node = w.AddNode(kThroughSr);
    w.OpenAndSettle(node);
    w.drives.FailCommands("/dev/sr1", 0x3B, EPERM);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_LOW));
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{kNeedsSg});
    EXPECT_EQ(w.Count(node, 0x3B), 0);
    EXPECT_EQ(CountPageReads(node, 1), 1);
    EXPECT_EQ(w.LogAfterTicks(5), "");
    EXPECT_EQ(node.SettingsPage()[19], 0);
}

// Through an sg node a refusal is not the filter's: the Windows program's retries and box.
TEST(LinuxWords, ARefusalOnAGenericNodeKeepsTheUsualRetriesAndBox) {
    LinuxWindow w;
    SimulatedDrive& node = w.AddNode(kThroughSg);
    w.OpenAndSettle(node);
    w.drives.FailCommands("/dev/sg1", 0x3B, EPERM);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(CountPageReads(node, 1), 7);  // six speed read-backs and the audio one
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{"Cannot setting optimized write speed"});
}

// The drive went away between discovery and Apply: the system fails every command with ENODEV.
// The first such failure ends the apply with words of its own (not box 149, not 148), and the
// drive is neither polled nor opened again.
TEST(LinuxWords, ADriveGoneBeforeApplyEndsAtTheFirstFailedCommand) {
    LinuxWindow w;
    SimulatedDrive& node = w.AddNode(kThroughSg);
    w.OpenAndSettle(node);
    w.drives.FailCommands("/dev/sg1", -1, ENODEV);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_SAVE_SPEED));
    ASSERT_TRUE(Eventually([&] { return w.watcher.DriveGone() == 1; }));
    const int before = w.transport.Executed();
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{kGone});
    EXPECT_EQ(w.transport.Executed(), before + 1);
    EXPECT_EQ(w.LogAfterTicks(10).find("complete"), std::string::npos);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(w.transport.Executed(), before + 1);  // the watcher polls it no more

    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));  // not opened again
    EXPECT_EQ(w.BoxTexts().back(), kGone);
    EXPECT_EQ(w.transport.OpenHandles(), 0);
    EXPECT_EQ(w.transport.Executed(), before + 1);

    LinuxWindow ja(kLanguageJapanese);
    SimulatedDrive& jaNode = ja.AddNode(kThroughSg);
    ja.OpenAndSettle(jaNode);
    ja.drives.FailCommands("/dev/sg1", -1, ENODEV);
    ASSERT_TRUE(ja.host.Click(IDC_APPLY));
    EXPECT_EQ(ja.BoxTexts(), std::vector<std::string>{
                                 "/dev/sg1 が見つかりません。ドライブが取り外されたか電源が切られて"
                                 "います。これ以上は何も送信していません。接続してからこのプログラ"
                                 "ムを起動し直してください。"});
}

// Another of our programs keeps the drive's lock, or the system refuses the claim (a burning
// program; a mounted disc): a box says who has it, and the drive gets nothing.
TEST(LinuxWords, AnApplyThatCannotHaveTheDriveSaysWhoHasItAndSendsNothing) {
    LinuxWindow w;
    SimulatedDrive& node = w.AddNode(kThroughSg);
    w.OpenAndSettle(node);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_SAVE_SPEED));
    w.claims.lockOutcome = HoldOutcome::kBusy;
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    w.claims.lockOutcome = HoldOutcome::kHeld;
    w.claims.claimOutcome = HoldOutcome::kBusy;
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    w.claims.mountedNumber = "11:0";
    w.claims.mountPoint = "/media/user/DISC";
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.BoxTexts(),
              (std::vector<std::string>{
                  "/dev/sr0 is busy: another Velmora Drive Utility program (a window or "
                  "velmora-drive) is changing its settings. Nothing was written. Try again when it "
                  "has finished.",
                  "/dev/sr0 is in use by another program (a burning program, say). Nothing was "
                  "written, and the disc was not stopped. Try again when that program has "
                  "finished.",
                  "The disc in the drive is mounted at /media/user/DISC. Nothing was written, and "
                  "the disc was not stopped. Unmount or eject the disc, and try again."}));
    for (uint8_t opcode : {0x51, 0x1B, 0x3B}) {
        EXPECT_EQ(w.Count(node, opcode), 0) << int{opcode};
    }
    EXPECT_EQ(CountPageReads(node, 1), 0);
}

}  // namespace

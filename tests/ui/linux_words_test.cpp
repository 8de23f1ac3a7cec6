// The main window as the Linux program runs it: drives at the nodes sysfs lists and the Linux
// words for what the system refuses: a node the user may not open, a write the block node's
// filter refuses, a drive gone before Apply, and why no drive is listed.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "app/linux_access_messages.h"
#include "tests/ui/main_window_rig.h"

namespace {

const DriveCandidate kThroughSg{"/dev/sg1", "/dev/sr0", false};
const DriveCandidate kThroughSr{"/dev/sr1", "/dev/sr1", true};

const std::string kDenied =
    "Permission denied opening %s: add your user to the cdrom group and log in again, or log in "
    "at this computer itself";
const std::string kNeedsSg =
    "Writing the settings was refused: this drive has no SCSI generic node (/dev/sg*), and through "
    "/dev/sr* Linux lets only an administrator write.\r\nLoad the sg module (sudo modprobe sg) or "
    "run as administrator.";

std::string Denied(const std::string& node) {
    return FillPlaceholder(kDenied, node);
}

struct LinuxWindow : MainWindowRig {
    explicit LinuxWindow(uint16_t language = kLanguageEnglish) : MainWindowRig(language) {
        services.accessMessages = &LinuxAccessMessages();
        services.listCandidates = [this] { return candidates; };
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

    w.drives.RefuseOpen("/dev/sr1", ENOENT);  // gone, not forbidden: the usual words
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    EXPECT_EQ(w.BoxTexts().back(), "device open failed");
    EXPECT_EQ(w.transport.Violations(), 0);
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

// The block node's filter refuses WRITE BUFFER: one box saying what to do, no retry, no audio
// write, no "complete"; the refused write is still read back.
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

// The drive went away between discovery and Apply: every command fails with ENODEV. The apply
// ends with the usual box, nothing is shown as done, and the window goes on.
TEST(LinuxWords, ADriveGoneBeforeApplyEndsWithoutSuccess) {
    LinuxWindow w;
    SimulatedDrive& node = w.AddNode(kThroughSg);
    w.OpenAndSettle(node);
    w.drives.FailCommands("/dev/sg1", -1, ENODEV);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    ASSERT_FALSE(w.BoxTexts().empty());
    EXPECT_EQ(w.BoxTexts()[0], "Cannot setting optimized write speed");
    EXPECT_EQ(w.LogAfterTicks(10).find("complete"), std::string::npos);
    // No write reached the drive. (A watcher poll already under way when the drive went may
    // still have reached it, so the whole record is not asked to be empty.)
    EXPECT_EQ(w.Count(node, 0x3B), 0);
    ASSERT_TRUE(w.host.Click(IDC_CHECK_SETTING));
    EXPECT_EQ(w.LogAfterTicks(10), "unexpected error");
}

}  // namespace

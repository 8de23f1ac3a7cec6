// What an apply holds on the drive and when: the lock before anything is sent, the claim before
// anything that can change the drive, both to the last read-back; a lock or claim it cannot have
// sends nothing. And a drive the system says is gone ends the apply at its first failed command.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "settings/apply_settings.h"
#include "settings/current_settings.h"
#include "tests/settings/fake_drive_claims.h"
#include "tests/settings/settings_rig.h"

namespace {

DriveCandidate BlockNodeDrive() {
    DriveCandidate device = LetterCandidate('E');
    device.blockNode = "/dev/sr0";
    device.blockNumber = "11:0";
    return device;
}

struct CountingTrace : CommandTraceSink {
    void OnCommand(const TracedCommand& /*command*/) override { ++commands; }
    int commands = 0;
};

class WriteAccessTest : public SettingsRig {
protected:
    void SetUp() override {
        SettingsRig::SetUp();
        ReadCurrentSettings(context);
        drive.ClearReceived();
        frontEnd.ids.clear();  // the report's lines; the apply's come after
        claims.stamp = [this] { return std::to_string(drive.ReceivedCount()); };
        context.writeAccess = &access;
    }
    FakeDriveClaims claims;
    DriveWriteAccess access{claims, BlockNodeDrive()};
};

TEST_F(WriteAccessTest, TheLockAndTheClaimComeBeforeTheProbeAndLastToTheFinalReadBack) {
    frontEnd.speed = SettingChoice{true, 1, 1};
    frontEnd.audio = SettingChoice{true, 1, 0};
    EXPECT_TRUE(ApplySettings(context).succeeded);
    const std::string last = std::to_string(drive.ReceivedCount());
    EXPECT_EQ(claims.events, (std::vector<std::string>{"lock /dev/sr0 @0", "claim /dev/sr0 @0",
                                                       "release claim /dev/sr0 @" + last,
                                                       "release lock /dev/sr0 @" + last}));

    // Nothing that could change the drive (no setting to write, nothing to save): the lock only.
    claims.events.clear();
    frontEnd.speed = SettingChoice{false, 0, 0};
    frontEnd.audio = SettingChoice{true, 1, 0};
    readiness.ready = 0;
    ApplySettings(context);
    ASSERT_EQ(claims.events.size(), 2u);
    EXPECT_EQ(claims.events[0].rfind("lock", 0), 0u);
}

TEST_F(WriteAccessTest, ALockOrAClaimThatCannotBeHadSendsNothingAndSaysWhy) {
    frontEnd.speed = SettingChoice{true, 1, 1};
    claims.lockOutcome = HoldOutcome::kBusy;
    const ApplyResult locked = ApplySettings(context);
    EXPECT_EQ(locked.access.outcome, WriteAccessOutcome::kBusy);

    claims.lockOutcome = HoldOutcome::kHeld;
    claims.claimOutcome = HoldOutcome::kBusy;
    claims.mountedNumber = "11:0";
    claims.mountPoint = "/media/user/DISC";
    const ApplyResult claimed = ApplySettings(context);
    EXPECT_EQ(claimed.access.outcome, WriteAccessOutcome::kInUse);
    EXPECT_EQ(claimed.access.mountPoint, "/media/user/DISC");
    EXPECT_EQ(claims.events.back().rfind("release lock", 0), 0u);  // the lock was let go

    claims.claimOutcome = HoldOutcome::kFailed;
    claims.refusalError = EACCES;
    const ApplyResult unopened = ApplySettings(context);
    EXPECT_EQ(unopened.access.outcome, WriteAccessOutcome::kNotOpened);
    EXPECT_EQ(unopened.access.osError, EACCES);

    EXPECT_EQ(drive.ReceivedCount(), 0u);
    EXPECT_TRUE(frontEnd.alerts.empty());
    EXPECT_TRUE(frontEnd.ids.empty());
    EXPECT_FALSE(claimed.succeeded);
}

// Where a gone drive ends the operation (Linux), the first command the system fails so is the
// last one: no retries, no alerts. Elsewhere the usual six writes (apply_front_end_test).
TEST_F(WriteAccessTest, AGoneDriveEndsTheApplyAtTheFirstFailedCommand) {
    CountingTrace trace;
    state.trace = &trace;
    state.endOnGoneDrive = true;
    transport.FailCommands("E:", -1, ENXIO);
    frontEnd.speed = SettingChoice{true, 1, 1};
    const ApplyResult result = ApplySettings(context);
    EXPECT_TRUE(result.driveGone);
    EXPECT_EQ(trace.commands, 1);
    EXPECT_EQ(result.speedWrites, 0);
    EXPECT_TRUE(frontEnd.alerts.empty());
    EXPECT_TRUE(frontEnd.ids.empty());

    transport.FailCommands("E:", 0x3B, ENODEV);  // gone by the time of the write
    trace.commands = 0;
    const ApplyResult atWrite = ApplySettings(context);
    EXPECT_TRUE(atWrite.driveGone);
    EXPECT_EQ(atWrite.speedWrites, 1);
    EXPECT_EQ(drive.ReceivedCount(), static_cast<size_t>(trace.commands) - 1);
    EXPECT_TRUE(frontEnd.alerts.empty());
}

}  // namespace

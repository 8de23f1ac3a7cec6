// velmora-drive where other programs and the user's signals meet it: one open from a drive's
// identification to its last read-back, the drive access another program holds, a request to end
// between two writes, output that cannot be written, and each reason an open is refused.
#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "cli/exit_codes.h"
#include "tests/cli/cli_rig.h"

namespace {

// Counts the opens of each path on their way to the drives.
class OpenCountingTransport : public ScsiTransport {
public:
    explicit OpenCountingTransport(ScsiTransport& drives) : drives_(drives) {}
    OpenResult Open(const std::string& path) override {
        ++opens[path];
        return drives_.Open(path);
    }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        return drives_.Execute(handle, request);
    }
    std::map<std::string, int> opens;

private:
    ScsiTransport& drives_;
};

class SharedMachine : public CliRig {};

TEST_F(SharedMachine, ADriveIsWrittenInTheOpenItWasIdentifiedIn) {
    OpenCountingTransport counting(transport);
    front = &counting;
    EXPECT_EQ(Run({"set", "E:", "--optimal-speed", "off", "--save"}).code, kExitSuccess);
    EXPECT_EQ(counting.opens["E:"], 1);
    EXPECT_EQ(Run({"list"}).code, kExitSuccess);
    EXPECT_EQ(counting.opens["E:"], 2);  // identified and its settings read in one open
}

TEST_F(SharedMachine, ADriveAnotherProgramHoldsIsBusyAndGetsNothing) {
    mutexHeldElsewhere = true;
    const CliRun set = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(set.code, kExitBusy);
    EXPECT_NE(set.err.find("E: is in use by another program of this utility"), std::string::npos);
    EXPECT_NE(Run({"show", "E:"}, kLanguageJapanese).err.find("使用中です"), std::string::npos);
    EXPECT_EQ(e.ReceivedCount(), 0u);
}

TEST_F(SharedMachine, ARequestToEndStopsBeforeTheNextWriteAndSaysWhatWasConfirmed) {
    interrupt = [this] { return WritesAtE(9) > 0; };  // arrives during the first write
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off", "--audio-mode", "low"});
    EXPECT_EQ(run.code, kExitInterrupted);
    EXPECT_EQ(WritesAtE(2), 0);
    EXPECT_NE(run.out.find("Optimal Writing Speed : OFF\n"
                           "    Saved in the drive : ON\n"
                           "    Confirmed by read-back\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("Audio Optimized Write Mode : High speed playback mode\n"
                           "    Saved in the drive : High speed playback mode\n"
                           "    Not written\n"),
              std::string::npos);
    EXPECT_NE(run.err.find("Interrupted: stopped before the next write."), std::string::npos);
    EXPECT_EQ(run.out.find("complete"), std::string::npos);

    e.SetWritesIgnored(true);  // and before a retry
    const int before = WritesAtE(9);
    interrupt = [this, before] { return WritesAtE(9) > before; };
    EXPECT_EQ(Run({"set", "E:", "--optimal-speed", "on", "--json"})
                  .Json()["write"]["optimal_writing_speed"]["outcome"],
              "not_confirmed");
    EXPECT_EQ(WritesAtE(9), before + 1);
}

TEST_F(SharedMachine, OutputThatCannotBeWrittenFailsTheRun) {
    std::ostream closed(nullptr);  // every write to it fails, as to a closed pipe
    std::ostringstream err;
    const CliEnvironment toClosedOut{
        closed, err, kLanguageEnglish, AccessRemedy::kJoinCdromGroup, [this](const DriveSource&) {
            return std::make_unique<LentDrives>(*front, candidates, false, driveClaims);
        }};
    EXPECT_EQ(RunCli({"velmora-drive", "list"}, toClosedOut), kExitOutputFailed);
    EXPECT_NE(err.str().find("The report could not be written"), std::string::npos);
    std::ostringstream out;
    const CliEnvironment toClosedErr{out, closed, kLanguageEnglish, AccessRemedy::kJoinCdromGroup,
                                     toClosedOut.drives};
    EXPECT_EQ(RunCli({"velmora-drive", "show", "Q:"}, toClosedErr), kExitNoDevice);  // lower
    EXPECT_EQ(RunCli({"velmora-drive", "--version"}, toClosedOut), kExitOutputFailed);
}

TEST_F(SharedMachine, AFailedFinalReadShowsNoValuesBesideTheConfirmation) {
    e.AddFault(Failing({0x3C, 0xF4, 1}, kSenseInvalidFieldInCdb).OnCall(3));  // after read-back
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(run.code, kExitDriveRefused);
    EXPECT_NE(run.out.find("Optimal Writing Speed : could not be read again\n"
                           "    Confirmed by read-back\n"),
              std::string::npos);
    EXPECT_EQ(run.out.find("Saved in the drive"), std::string::npos);
    e.AddFault(Failing({0x3C, 0xF4, 1}, kSenseInvalidFieldInCdb).OnCall(3));
    const nlohmann::json document = Run({"set", "E:", "--optimal-speed", "on", "--json"}).Json();
    EXPECT_TRUE(document["optimal_writing_speed"]["current"].is_null());
    EXPECT_TRUE(document["audio_optimized_write_mode"]["saved"].is_null());
}

TEST_F(SharedMachine, AWriteTheDriveRefusesEveryTimeIsTheDrivesRefusal) {
    e.AddFault(Failing(0x3B, kSenseInvalidFieldInParameterList));
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(run.code, kExitDriveRefused);
    EXPECT_EQ(WritesAtE(9), 6);
    EXPECT_NE(run.err.find("Optimal Writing Speed : the drive refused every write (the drive "
                           "answered with sense 05/26/00)"),
              std::string::npos);
}

TEST_F(SharedMachine, EachReasonAnOpenIsRefusedHasItsWordsAndCode) {
    const struct {
        int error;
        int code;
        const char* words;
    } cases[] = {
        {EBUSY, kExitBusy, "E: is in use by another program, or its disc is mounted"},
        {ENXIO, kExitNoDevice, "E: is not there"},
        {EIO, kExitDriveRefused, "E: did not answer when it was opened"},
    };
    for (const auto& c : cases) {
        transport.RefuseOpen("E:", c.error);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"show", "E:"}, {"set", "E:", "--optimal-speed", "on"}}) {
            const CliRun run = Run(command);
            EXPECT_EQ(run.code, c.code) << command[0] << " " << c.error;
            EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
        }
    }
    transport.RefuseOpen("E:", EACCES);  // an optical drive, named beside G with what to do
    candidates.front().opticalDrive = true;
    const CliRun list = Run({"list", "--all"});
    EXPECT_EQ(list.code, kExitNoAccess);
    EXPECT_NE(list.out.find("E:\n    could not be opened: Permission denied\n"), std::string::npos);
    EXPECT_NE(list.err.find("cdrom group"), std::string::npos);
    EXPECT_NE(list.out.find("G:  VELMORA"), std::string::npos);
}

TEST_F(SharedMachine, ADryRunAnnouncesOnlyTheWritesItWouldSend) {
    e.SetDiscState(DiscState::kPresent);  // not ready for the audio mode
    const CliRun notReady = Run({"set", "E:", "--audio-mode", "low", "--dry-run"});
    EXPECT_EQ(notReady.out.find("Would be written"), std::string::npos);
    EXPECT_NE(notReady.out.find("    Not changed: the drive is not ready"), std::string::npos);

    e.SetDiscState(DiscState::kNone);
    candidates.front().throughBlockNode = true;
    rawIoAllowed = false;
    const CliRun blocked = Run({"set", "E:", "--optimal-speed", "off", "--dry-run"});
    EXPECT_EQ(blocked.code, kExitNoAccess);
    EXPECT_NE(blocked.out.find("    Would be refused by the system"), std::string::npos);
    EXPECT_NE(blocked.err.find("Writing the settings would be refused"), std::string::npos);
    EXPECT_EQ(blocked.out.find("WRITE BUFFER"), std::string::npos);
    EXPECT_EQ(WritesAtE(9), 0);
}

// Another writer keeps the drive's lock: nothing is sent, not even the identification. The
// system refuses the claim (a mounted disc, a burning program): the identification and the
// settings read, and nothing that could change the drive.
TEST_F(SharedMachine, ADriveThatCannotBeHadToItselfGetsNoWriteAndIsBusy) {
    driveClaims.lock = HoldOutcome::kBusy;
    const CliRun locked = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(locked.code, kExitBusy);
    EXPECT_NE(locked.err.find("in use by another program of this utility"), std::string::npos);
    EXPECT_EQ(e.ReceivedCount(), 0u);

    driveClaims.lock = HoldOutcome::kHeld;
    driveClaims.claim = HoldOutcome::kBusy;
    driveClaims.mountPoint = "/media/user/DISC";
    const CliRun mounted = Run({"restore", "E:"}, kLanguageJapanese);
    EXPECT_EQ(mounted.code, kExitBusy);
    EXPECT_NE(mounted.err.find("/media/user/DISC にマウント"), std::string::npos);
    for (uint8_t opcode : OpcodesAtE()) {
        EXPECT_TRUE(opcode == 0x3C || opcode == 0x12) << int(opcode);
    }
    EXPECT_EQ(driveClaims.locks, 2);  // once for each run, held from the identification
}

// The first failure that says the drive has gone ends the write: no retries into nothing.
TEST_F(SharedMachine, ADriveGoneDuringTheWriteEndsItAtOnce) {
    transport.FailCommands("E:", 0x3B, ENODEV);
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off", "--json"});
    EXPECT_EQ(run.code, kExitNoDevice);
    EXPECT_EQ(run.Json()["write"]["optimal_writing_speed"]["writes"], 1);
    EXPECT_TRUE(run.Json()["optimal_writing_speed"]["current"].is_null());
}

}  // namespace

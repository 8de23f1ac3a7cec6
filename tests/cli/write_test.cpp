// set and restore through the settings code the window uses: the disc stop before saving, the
// audio mode refused while the drive is not ready, a drive that never confirms, the dry run, and
// a write the system refuses for want of rights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "cli/exit_codes.h"
#include "tests/cli/cli_rig.h"

namespace {

constexpr uint8_t kStartStopUnit = 0x1B;
constexpr uint8_t kWriteBuffer = 0x3B;

// The system's pass-through refusing WRITE BUFFER as Linux does on a block node without
// CAP_SYS_RAWIO; every other command reaches the drives.
class WriteRefusingTransport : public ScsiTransport {
public:
    explicit WriteRefusingTransport(ScsiTransport& drives) : drives_(drives) {}
    OpenResult Open(const std::string& path) override { return drives_.Open(path); }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        if (request.header.Cdb[0] == kWriteBuffer) {
            return TransportResult{TransportOutcome::kRejected, EPERM, 0, 0};
        }
        return drives_.Execute(handle, request);
    }

private:
    ScsiTransport& drives_;
};

class SetAndRestore : public CliRig {
protected:
    size_t Position(uint8_t opcode) const {
        const std::vector<uint8_t> opcodes = OpcodesAtE();
        return static_cast<size_t>(std::find(opcodes.begin(), opcodes.end(), opcode) -
                                   opcodes.begin());
    }
    bool Received(uint8_t opcode) const { return Position(opcode) < e.ReceivedCount(); }
};

TEST_F(SetAndRestore, ADiscIsStoppedBeforeSavingAndTheResultIsReadBack) {
    e.SetDiscState(DiscState::kPresent);
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off", "--save"});
    EXPECT_EQ(run.code, kExitSuccess);
    ASSERT_TRUE(Received(kStartStopUnit));
    EXPECT_LT(Position(kStartStopUnit), Position(kWriteBuffer));
    EXPECT_EQ(WritesAtE(9), 1);
    EXPECT_EQ(WritesAtE(2), 0);  // not named, not written
    EXPECT_EQ(run.out,
              "E:  VELMORA CD-R DRIVE 7315 1.00\n"
              "Optimal Writing Speed : OFF\n"
              "    Saved in the drive : OFF\n"
              "    Confirmed by read-back\n"
              "Audio Optimized Write Mode : High speed playback mode\n"
              "    Saved in the drive : High speed playback mode\n"
              "The disc in the drive was stopped (not ejected) before saving.\n"
              "complete\n");
    EXPECT_EQ(e.GetDiscState(), DiscState::kPresent);  // stopped, not ejected
}

TEST_F(SetAndRestore, WithoutSaveADiscIsLeftSpinning) {
    e.SetDiscState(DiscState::kPresent);
    const nlohmann::json document = Run({"set", "E:", "--optimal-speed", "off", "--json"}).Json();
    EXPECT_FALSE(Received(kStartStopUnit));
    EXPECT_EQ(document["write"]["disc_stop"], "not_needed");
    EXPECT_EQ(document["write"]["optimal_writing_speed"]["outcome"], "confirmed");
    EXPECT_EQ(document["optimal_writing_speed"]["current"], "off");
    EXPECT_EQ(document["optimal_writing_speed"]["saved"], "on");
}

TEST_F(SetAndRestore, TheAudioModeIsRefusedWhileTheDriveIsNotReady) {
    e.SetDiscState(DiscState::kPresent);  // the ready byte follows the disc: 0
    const CliRun run = Run({"set", "E:", "--audio-mode", "low", "--optimal-speed", "off"});
    EXPECT_EQ(run.code, kExitNotReady);
    EXPECT_EQ(WritesAtE(2), 0);
    EXPECT_EQ(WritesAtE(9), 1);  // the speed is still written, as the window does
    EXPECT_NE(run.err.find("velmora-drive: Cannot setting Audio Optimized Write Mode\n"
                           "               If the disc is in the drive, please eject"),
              std::string::npos);
    EXPECT_NE(run.out.find("    Not changed: the drive is not ready"), std::string::npos);
    const CliRun japanese = Run({"set", "E:", "--audio-mode", "low"}, kLanguageJapanese);
    EXPECT_NE(japanese.err.find("Audio最適記録モードの設定ができませんでした。"),
              std::string::npos);
}

TEST_F(SetAndRestore, ADriveThatNeverConfirmsGetsSixWritesAndNoSuccess) {
    e.SetWritesIgnored(true);
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(run.code, kExitNotConfirmed);
    EXPECT_EQ(WritesAtE(9), 6);
    EXPECT_NE(run.out.find("    Not confirmed by read-back after 6 writes"), std::string::npos);
    EXPECT_NE(run.err.find("Cannot setting optimized write speed"), std::string::npos);
    EXPECT_EQ(run.out.find("complete"), std::string::npos);
}

TEST_F(SetAndRestore, ADryRunSendsNoWriteAndShowsEachCommandOnce) {
    e.SetDiscState(DiscState::kPresent);
    e.ForceReadyByte(1);
    const CliRun run =
        Run({"set", "E:", "--optimal-speed", "off", "--audio-mode", "low", "--save", "--dry-run"});
    EXPECT_EQ(run.code, kExitSuccess);
    EXPECT_FALSE(Received(kWriteBuffer));
    EXPECT_FALSE(Received(kStartStopUnit));
    EXPECT_NE(run.out.find("These commands would be sent:\n"
                           "    START STOP UNIT  cdb=1B0000000000\n"
                           "    WRITE BUFFER     cdb=3B01FA000000000100000000  data=09000001\n"
                           "    WRITE BUFFER     cdb=3B01FA000000000100000000  data=02800101\n"
                           "Optimal Writing Speed : ON\n"),  // what the drive still holds
              std::string::npos);
    EXPECT_NE(run.out.find("    Would be written : OFF (saved in the drive)"), std::string::npos);
    EXPECT_EQ(run.out.find("Confirmed"), std::string::npos);
    EXPECT_EQ(run.out.find("complete"), std::string::npos);
    const nlohmann::json document = Run({"restore", "E:", "--dry-run", "--json"}).Json();
    EXPECT_EQ(document["write"]["withheld_commands"].size(), 3u);
    EXPECT_EQ(document["write"]["optimal_writing_speed"]["outcome"], "not_written");
    EXPECT_FALSE(Received(kWriteBuffer));
}

TEST_F(SetAndRestore, RestoreWritesAndSavesTheFactoryValues) {
    e.SetSettingsByte(22, 1);
    const CliRun run = Run({"restore", "E:"});
    EXPECT_EQ(run.code, kExitSuccess);
    const auto page = e.SettingsPage();
    for (int index : {19, 20, 22, 23}) {
        EXPECT_EQ(page[index], 0) << index;
    }
    EXPECT_NE(run.out.find("default setting\n"), std::string::npos);
    EXPECT_EQ(Run({"restore", "G:"}).code, kExitSuccess);  // no audio mode: none asked of it
}

TEST_F(SetAndRestore, ADiscBeingSetUpStopsTheRestoreWithTheWindowsLine) {
    e.SetDiscState(DiscState::kBecomingReady);
    const CliRun run = Run({"restore", "E:"});
    EXPECT_EQ(run.code, kExitNotReady);
    EXPECT_FALSE(Received(kWriteBuffer));
    EXPECT_NE(run.err.find("push the \"Restore Factory Default\" button."), std::string::npos);
}

TEST_F(SetAndRestore, ASettingTheDriveLacksIsRefusedBeforeAnythingIsWritten) {
    const CliRun run = Run({"set", "G:", "--optimal-speed", "on", "--audio-mode", "low"});
    EXPECT_EQ(run.code, kExitNotSupported);
    EXPECT_NE(run.err.find("Audio Optimized Write Mode : This function is not supported"),
              std::string::npos);
    for (const ReceivedCommand& command : g.Received()) {
        EXPECT_NE(command.cdb[0], kWriteBuffer);
    }
}

TEST_F(SetAndRestore, AWriteTheSystemRefusesForWantOfRightsSaysSo) {
    WriteRefusingTransport refusing(transport);
    front = &refusing;
    const CliRun run = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(run.code, kExitNoAccess);
    EXPECT_NE(run.err.find("The system refused to send a command to E: for want of rights"),
              std::string::npos);
    EXPECT_NE(run.err.find("cdrom group"), std::string::npos);
    EXPECT_EQ(e.SettingsPage()[19], 1);
}

// Through a block node the refusal gets the sg words alone (the cdrom group would not help), and
// a value the drive already held is confirmed by its read-back: that run succeeds.
TEST_F(SetAndRestore, AWriteRefusedThroughABlockNodeSaysWhatHelps) {
    WriteRefusingTransport refusing(transport);
    front = &refusing;
    candidates.front().throughBlockNode = true;
    const CliRun refused = Run({"set", "E:", "--optimal-speed", "off"});
    EXPECT_EQ(refused.code, kExitNoAccess);
    EXPECT_NE(refused.err.find("modprobe sg"), std::string::npos);
    EXPECT_EQ(refused.err.find("cdrom group"), std::string::npos);
    EXPECT_EQ(refused.out.find("complete"), std::string::npos);

    const CliRun held = Run({"set", "E:", "--optimal-speed", "on"});
    EXPECT_EQ(held.code, kExitSuccess);
    EXPECT_NE(held.out.find("Confirmed by read-back"), std::string::npos);
    EXPECT_EQ(held.err.find("refused"), std::string::npos);
}

}  // namespace

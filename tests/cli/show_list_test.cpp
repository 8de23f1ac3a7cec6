// list and show: what the drives report, as a person reads it in both languages and as JSON, and
// the exit codes of the drives that cannot be used.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/exit_codes.h"
#include "tests/cli/cli_rig.h"

namespace {

class ShowAndList : public CliRig {
protected:
    // Drive E: speed ON but OFF saved, audio mode low but high saved.
    void SetUp() override {
        e.SetSettingsByte(19, 1);
        e.SetSettingsByte(20, 0);
        e.SetSettingsByte(22, 1);
        e.SetSettingsByte(23, 0);
    }
};

TEST_F(ShowAndList, ShowGivesCurrentAndSavedValuesWithTheWindowsTexts) {
    EXPECT_EQ(Run({"show", "E:\\"}).code, kExitSuccess);
    const CliRun run = Run({"show", "e:"});
    EXPECT_EQ(run.code, kExitSuccess);
    EXPECT_EQ(run.out,
              "E:  VELMORA CD-R DRIVE 7315 1.00\n"
              "Current drive setting\n"
              "Optimal Writing Speed : ON\n"
              "    Saved in the drive : OFF\n"
              "Audio Optimized Write Mode : Low speed playback mode\n"
              "    Saved in the drive : High speed playback mode\n"
              "    Can be changed now : yes\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ShowAndList, ShowInJapanese) {
    e.SetDiscState(DiscState::kPresent);
    const CliRun run = Run({"show", "E:"}, kLanguageJapanese);
    EXPECT_EQ(run.code, kExitSuccess);
    EXPECT_EQ(
        run.out,
        "E:  VELMORA CD-R DRIVE 7315 1.00\n"
        "【現在のドライブの設定】\n"
        "最適記録倍速 ： ON\n"
        "    ドライブに保存された値 ： OFF\n"
        "Audio最適記録モード ： 低速再生重視モード\n"
        "    ドライブに保存された値 ： 高速再生重視モード\n"
        "    今すぐ変更 ： できません（ドライブの準備ができていません。ディスクが入っている場合は"
        "取り出してください）\n");
}

TEST_F(ShowAndList, ShowInJson) {
    e.SetDiscState(DiscState::kPresent);
    names = DriveNames{{"/dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315"}, "2:0:0:0", "/sys/x/sr0"};
    const nlohmann::json document = Run({"show", "E:", "-j"}).Json();
    EXPECT_EQ(document["json_format_version"], nlohmann::json({1, 2}));
    EXPECT_EQ(document["velmora_drive"]["version_string"], DRIVE_UTILITY_VERSION);
    EXPECT_EQ(document["velmora_drive"]["exit_status"], 0);
    EXPECT_EQ(document["velmora_drive"]["messages"], nlohmann::json::array());
    EXPECT_EQ(document["device"]["name"], "E:");
    EXPECT_EQ(document["device"]["model"], "7315KT52");
    EXPECT_EQ(document["device"]["by_id"][0], "/dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315");
    EXPECT_EQ(document["device"]["scsi_address"], "2:0:0:0");
    EXPECT_EQ(document["device"]["sysfs_path"], "/sys/x/sr0");
    EXPECT_EQ(document["optimal_writing_speed"],
              nlohmann::json({{"supported", true}, {"current", "on"}, {"saved", "off"}}));
    EXPECT_EQ(document["audio_optimized_write_mode"], nlohmann::json({{"supported", true},
                                                                      {"current", "low"},
                                                                      {"saved", "high"},
                                                                      {"changeable_now", false}}));
}

TEST_F(ShowAndList, ShowWithoutADeviceTakesTheOnlyDriveAndRefusesToChooseAmongSeveral) {
    const CliRun several = Run({"show"});
    EXPECT_EQ(several.code, kExitNoDevice);
    EXPECT_NE(several.err.find("name one of them: E:, G:"), std::string::npos);
    transport.RemoveDrive('G');
    EXPECT_EQ(Run({"show"}).code, kExitSuccess);
    transport.RemoveDrive('E');
    const CliRun none = Run({"show"}, kLanguageJapanese);
    EXPECT_EQ(none.code, kExitNoDevice);
    EXPECT_EQ(none.err, "velmora-drive: 対応ドライブが接続されていません\n");
}

TEST_F(ShowAndList, ListShowsTheQualifyingDrivesAndWithAllTheOthersMarked) {
    SimulatedDriveConfig other;
    other.modelText = "7325KT52    ";
    transport.AddDrive('F', other);
    const CliRun plain = Run({"list"});
    EXPECT_EQ(plain.code, kExitSuccess);
    EXPECT_EQ(plain.out,
              "E:  VELMORA CD-R DRIVE 7315 1.00\n"
              "    Model identifier : 7315KT52\n"
              "    Optimal Writing Speed : supported\n"
              "    Audio Optimized Write Mode : supported\n"
              "G:  VELMORA CD-R DRIVE      1.00\n"
              "    Model identifier : 7305KT52\n"
              "    Optimal Writing Speed : supported\n"
              "    Audio Optimized Write Mode : This function is not supported\n");
    const nlohmann::json all = Run({"list", "--all", "--json"}).Json();
    ASSERT_EQ(all["devices"].size(), 3u);
    EXPECT_EQ(all["devices"][1]["name"], "F:");
    EXPECT_EQ(all["devices"][1]["supported_drive"], false);
    EXPECT_EQ(all["devices"][1]["probe"], "other_model");
    EXPECT_EQ(all["devices"][2]["audio_optimized_write_mode"]["supported"], false);
}

TEST_F(ShowAndList, ADeviceTheSystemRefusesGivesTheAdviceOfTheSystem) {
    transport.RefuseOpen("E:", EACCES);
    const CliRun linux = Run({"show", "E:"});
    EXPECT_EQ(linux.code, kExitNoAccess);
    EXPECT_NE(linux.err.find("device open failed: E: (Permission denied)"), std::string::npos);
    EXPECT_NE(linux.err.find("cdrom group"), std::string::npos);
    const CliRun windows = Run({"show", "E:"}, kLanguageEnglish, AccessRemedy::kRunElevated);
    EXPECT_NE(windows.err.find("elevated prompt"), std::string::npos);
    transport.RemoveDrive('G');
    EXPECT_EQ(Run({"list"}).code, kExitNoAccess);  // the refused device may be the drive
}

TEST_F(ShowAndList, DrivesThatCannotBeUsedHaveTheirOwnExitCodes) {
    SimulatedDriveConfig other;
    other.modelText = "7325KT52    ";
    transport.AddDrive('F', other);
    EXPECT_EQ(Run({"show", "F:"}).code, kExitNoDevice);
    e.AddFault(Failing({0x3C, 0xF4, 1}, kSenseInvalidFieldInCdb));
    const CliRun refused = Run({"show", "E:"});
    EXPECT_EQ(refused.code, kExitDriveRefused);
    EXPECT_NE(refused.err.find("Cannot read the settings of E: (the drive answered with sense "
                               "05/24/00)"),
              std::string::npos);
}

// A drive of a Linux-like tree (sr0 with its sg1) named by the other paths users type; only the
// listed nodes are ever opened, and anything else is refused before a command is sent.
TEST_F(ShowAndList, ADriveIsNamedByAnyPathToItsNodesAndNothingElseIsOpened) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/device-names-test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dev = pattern;
    for (const char* node : {"sr0", "sg1", "sda"}) {
        std::ofstream(dev + "/" + node).put('\n');
    }
    fs::create_symlink("sr0", dev + "/cdrom");
    fs::create_directories(dev + "/disk/by-id");
    fs::create_symlink("../../sr0", dev + "/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315");
    SimulatedDrive& drive = transport.AddDrive(dev + "/sg1", BothSettingsDrive());
    candidates = {DriveCandidate{dev + "/sg1", dev + "/sr0"}};
    for (const std::string& form : {dev + "/cdrom", dev + "/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315",
                                    dev + "/sr0/", "/" + dev + "//sr0", dev + "/./sg1"}) {
        const CliRun run = Run({"show", form});
        EXPECT_EQ(run.code, kExitSuccess) << form << run.err;
        EXPECT_EQ(run.out.rfind(dev + "/sr0  VELMORA", 0), 0u) << form;
    }
    const size_t received = drive.ReceivedCount();
    const CliRun disk = Run({"show", dev + "/sda"});
    EXPECT_EQ(disk.code, kExitNoDevice);
    EXPECT_EQ(disk.err, "velmora-drive: " + dev +
                            "/sda is not one of the drives the system lists (" + dev + "/sr0)\n");
    EXPECT_NE(Run({"show", dev + "/sr9"}).err.find("No such device"), std::string::npos);
    EXPECT_EQ(drive.ReceivedCount(), received);
    fs::remove_all(dev);
}

}  // namespace

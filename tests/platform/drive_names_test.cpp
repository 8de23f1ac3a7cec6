// The names of a drive that a script can keep, read from a fake tree laid out as sysfs and udev
// lay it out; and the codeset of a locale, installed or not, with Japanese converted to it.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/device_node.h"
#include "platform/drive_names.h"
#include "platform/locale_codeset.h"

namespace {

namespace fs = std::filesystem;

class DriveNamesTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/drive-names-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    void Touch(const std::string& relative) {
        fs::create_directories((fs::path(root) / relative).parent_path());
        std::ofstream(fs::path(root) / relative).put('\n');
    }
    void Link(const std::string& target, const std::string& relative) {
        fs::create_directories((fs::path(root) / relative).parent_path());
        fs::create_symlink(target, fs::path(root) / relative);
    }

    std::string root;
};

TEST_F(DriveNamesTree, ADriveHasItsByIdLinksScsiAddressAndSysfsPath) {
    const std::string scsiDevice =
        "sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0";
    fs::create_directories(fs::path(root) / scsiDevice / "block/sr0");
    fs::create_directories(fs::path(root) / scsiDevice / "scsi_device/2:0:0:0");
    Link("../..", scsiDevice + "/block/sr0/device");
    Link("../../" + scsiDevice.substr(4) + "/block/sr0", "sys/class/block/sr0");
    fs::create_directories(fs::path(root) / "sys/class/block/sr1/device");
    Touch("dev/sr0");
    Touch("dev/sr1");
    Touch("dev/sda");
    Link("../../sr0", "dev/disk/by-id/wwn-0x5001480000000000");
    Link("../../sr0", "dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315_K1F8C0001");
    Link("../../sda", "dev/disk/by-id/ata-SOME_DISK");

    const DriveNames named = ReadDriveNames(DriveCandidate{"/dev/sg1", "/dev/sr0"}, root + "/");
    EXPECT_EQ(named.byId,
              (std::vector<std::string>{"/dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315_K1F8C0001",
                                        "/dev/disk/by-id/wwn-0x5001480000000000"}));
    EXPECT_EQ(named.scsiAddress, "2:0:0:0");
    EXPECT_EQ(named.sysfsPath, "/" + scsiDevice + "/block/sr0");

    const DriveNames plain = ReadDriveNames(DriveCandidate{"/dev/sr1", "/dev/sr1"}, root);
    EXPECT_TRUE(plain.byId.empty());
    EXPECT_EQ(plain.scsiAddress, "");
    EXPECT_EQ(plain.sysfsPath, "/sys/class/block/sr1");
    EXPECT_EQ(ReadDriveNames(DriveCandidate{"/dev/sr7", "/dev/sr7"}, root).sysfsPath, "");
    EXPECT_EQ(ReadDriveNames(LetterCandidate('E'), root).sysfsPath, "");

    EXPECT_TRUE(LookUpDeviceNode(root + "/dev/disk/by-id/wwn-0x5001480000000000")
                    .SameAs(LookUpDeviceNode(root + "/dev/sr0")));
    EXPECT_FALSE(LookUpDeviceNode(root + "/dev/sda").SameAs(LookUpDeviceNode(root + "/dev/sr0")));
    EXPECT_FALSE(LookUpDeviceNode(root + "/dev/sr9").found);
}

// The locale as the C library takes it from the environment, with the process's own left alone.
class LocaleVariables : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("LC_ALL"); }
    std::string CodesetOf(const char* locale) {
        setenv("LC_ALL", locale, 1);
        return UserLocaleCodeset();
    }
};

TEST_F(LocaleVariables, JapaneseComesInTheLocalesCodesetInstalledOrNot) {
    const std::string speed = "最適記録倍速";
    std::string converted;
    ASSERT_TRUE(ConvertFromUtf8(speed, CodesetOf("ja_JP.eucJP"), &converted));
    EXPECT_EQ(converted, "\xBA\xC7\xC5\xAC\xB5\xAD\xCF\xBF\xC7\xDC\xC2\xAE");
    ASSERT_TRUE(ConvertFromUtf8(speed, CodesetOf("ja_JP.SJIS"), &converted));
    EXPECT_EQ(converted, "\x8D\xC5\x93\x4B\x8B\x4C\x98\x5E\x94\x7B\x91\xAC");
    EXPECT_TRUE(IsUtf8Codeset(CodesetOf("C.UTF-8")));
    EXPECT_FALSE(ConvertFromUtf8(speed, CodesetOf("C"), &converted));
    EXPECT_FALSE(ConvertFromUtf8(speed, "NO-SUCH-CODESET", &converted));
    EXPECT_STREQ(setlocale(LC_CTYPE, nullptr), "C");
}

}  // namespace

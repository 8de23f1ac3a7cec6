// The command line itself: input that is wrong never reaches a drive, help and version, the
// language of the output, and text from drives made safe to print.
#include <gtest/gtest.h>

#include "cli/exit_codes.h"
#include "cli/output_language.h"
#include "cli/printable_text.h"
#include "tests/cli/cli_rig.h"

namespace {

class CommandLine : public CliRig {};

TEST_F(CommandLine, WrongInputGetsAMessageAndItsExitCodeAndReachesNoDrive) {
    struct Case {
        std::vector<std::string> arguments;
        int code;
    };
    const Case cases[] = {
        {{"set", "E:", "--optimal-speed", "maybe"}, kExitUsage},
        {{"set", "E:", "--audio-mode", "medium", "--save"}, kExitUsage},
        {{"set", "E:", "--save"}, kExitUsage},  // no setting named
        {{"show", "list"}, kExitUsage},         // two commands
        {{"list", "show"}, kExitUsage},
        {{"show", "E:", "G:"}, kExitUsage},
        {{"show", ""}, kExitUsage},
        {{"restore"}, kExitUsage},
        {{"eject", "E:"}, kExitUsage},
        {{}, kExitUsage},
        {{"show", "/dev/sda"}, kExitNoDevice},  // not where a drive is looked for
        {{"set", "Q:", "--optimal-speed", "on"}, kExitNoDevice},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.arguments);
        const std::string line = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(run.code, c.code) << line;
        EXPECT_NE(run.err.find("velmora-drive: "), std::string::npos) << line;
        EXPECT_EQ(run.out, "") << line;
    }
    EXPECT_EQ(e.ReceivedCount() + g.ReceivedCount(), 0u);
}

TEST_F(CommandLine, AWrongCommandLineWithJsonIsReportedInJson) {
    const CliRun run = Run({"--json", "set", "E:", "--optimal-speed", "maybe"});
    ASSERT_EQ(run.code, kExitUsage);
    const nlohmann::json document = run.Json();
    EXPECT_EQ(document["velmora_drive"]["exit_status"], kExitUsage);
    EXPECT_EQ(document["velmora_drive"]["messages"][0]["severity"], "error");
    EXPECT_EQ(run.err, "");
}

TEST_F(CommandLine, VersionAndHelpAnswerWithoutADrive) {
    const CliRun version = Run({"--version"});
    EXPECT_EQ(version.code, kExitSuccess);
    EXPECT_EQ(version.out, std::string("velmora-drive ") + DRIVE_UTILITY_VERSION + "\n");
    const CliRun help = Run({"set", "--help"});
    EXPECT_EQ(help.code, kExitSuccess);
    EXPECT_NE(help.out.find("--optimal-speed"), std::string::npos);
    EXPECT_NE(help.out.find("6  a value written was not confirmed"), std::string::npos);
    EXPECT_EQ(e.ReceivedCount(), 0u);
}

TEST_F(CommandLine, NoDrivesToWorkWithIsAnInternalError) {
    std::ostringstream out, err;
    const CliEnvironment environment{out, err, kLanguageEnglish, AccessRemedy::kRunElevated,
                                     [](bool) { return std::unique_ptr<DriveSystem>(); }};
    EXPECT_EQ(RunCli({"velmora-drive", "list"}, environment), kExitInternalError);
    EXPECT_NE(err.str().find("Cannot prepare the drive access"), std::string::npos);
}

TEST(OutputLanguage, TheFirstLocaleVariableSetDecides) {
    EXPECT_EQ(ChooseOutputLanguage(nullptr, nullptr, "ja_JP.UTF-8", 0), kLanguageJapanese);
    EXPECT_EQ(ChooseOutputLanguage("C", nullptr, "ja_JP.UTF-8", 0), kLanguageEnglish);
    EXPECT_EQ(ChooseOutputLanguage("", "ja_JP.eucJP", "en_US.UTF-8", 0), kLanguageJapanese);
    EXPECT_EQ(ChooseOutputLanguage(nullptr, nullptr, "", 0x0411), kLanguageJapanese);
    EXPECT_EQ(ChooseOutputLanguage(nullptr, nullptr, "en_US", 0x0411), kLanguageEnglish);
    EXPECT_EQ(ChooseOutputLanguage(nullptr, nullptr, nullptr, 0), kLanguageEnglish);
}

TEST(PrintableText, ControlAndNonAsciiBytesAreShownAsHex) {
    EXPECT_EQ(PrintableText("VELMORA CD-R 1.00"), "VELMORA CD-R 1.00");
    EXPECT_EQ(PrintableText(std::string("A\x1B[2J\x7F\xFF\\", 8)), "A\\x1B[2J\\x7F\\xFF\\\\");
}

}  // namespace

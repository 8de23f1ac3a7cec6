// The command line itself: input that is wrong never reaches a drive, help and version, the
// language of the output, and text from drives made safe to print.
#include <gtest/gtest.h>

#include "cli/exit_codes.h"
#include "cli/output_language.h"
#include "cli/printable_text.h"
#include "platform/locale_codeset.h"
#include "res/generated_resource_catalog.h"
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
    const CliRun run = Run({"-j", "set", "E:", "--optimal-speed", "maybe"});
    ASSERT_EQ(run.code, kExitUsage);
    const nlohmann::json document = run.Json();
    EXPECT_EQ(document["velmora_drive"]["exit_status"], kExitUsage);
    EXPECT_EQ(document["velmora_drive"]["messages"][0]["severity"], "error");
    EXPECT_EQ(document["velmora_drive"]["messages"][0]["code"], "usage");
    EXPECT_EQ(run.err, "");
}

// Each kind of message keeps its code whatever its words: a script tells them apart by it.
TEST_F(CommandLine, EveryMessageInJsonHasTheCodeOfItsKind) {
    const auto code = [this](std::vector<std::string> arguments) {
        arguments.push_back("--json");
        const nlohmann::json messages = Run(arguments).Json()["velmora_drive"]["messages"];
        return messages.empty() ? std::string("none") : messages[0]["code"].get<std::string>();
    };
    EXPECT_EQ(code({"show", "Q:"}), "no_such_device");
    EXPECT_EQ(code({"show", "F:"}), "device_absent");
    EXPECT_EQ(code({"set", "G:", "--audio-mode", "low"}), "setting_not_supported");
    EXPECT_EQ(code({"set", "E:", "--optimal-speed", "off"}), "complete");
    EXPECT_EQ(code({"show", "list"}), "one_command_at_a_time");
    mutexHeldElsewhere = true;
    EXPECT_EQ(code({"show", "E:"}), "drive_busy");
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
    const CliEnvironment environment{
        out, err, kLanguageEnglish, AccessRemedy::kRunElevated,
        [](const DriveSource&) { return std::unique_ptr<DriveSystem>(); }};
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

// A terminal of a locale whose codeset is not UTF-8 gets the texts in its own bytes, and English
// when the codeset has no Japanese; every Japanese text converts to both Japanese codesets.
TEST_F(CommandLine, TheTextsComeInTheCodesetOfTheLocale) {
    const CliRun utf8 = Run({"show", "E:"}, kLanguageJapanese);
    const CliRun english = Run({"show", "E:"});
    for (const char* japanese : {"EUC-JP", "SHIFT_JIS"}) {
        codeset = japanese;
        std::string expected;
        ASSERT_TRUE(ConvertFromUtf8(utf8.out, codeset, &expected));
        EXPECT_EQ(Run({"show", "E:"}, kLanguageJapanese).out, expected) << codeset;
        for (int id = 0; id < 1000; ++id) {
            const char* text = GeneratedResourceCatalog().FindString(id, kLanguageJapanese);
            EXPECT_TRUE(text == nullptr || ConvertFromUtf8(text, codeset, &expected)) << id;
        }
    }
    codeset = "ANSI_X3.4-1968";
    EXPECT_EQ(Run({"show", "E:"}, kLanguageJapanese).out, english.out);
}

TEST(PrintableText, ControlAndNonAsciiBytesAreShownAsHex) {
    EXPECT_EQ(PrintableText("VELMORA CD-R 1.00"), "VELMORA CD-R 1.00");
    EXPECT_EQ(PrintableText(std::string("A\x1B[2J\x7F\xFF\\", 8)), "A\\x1B[2J\\x7F\\xFF\\\\");
}

}  // namespace

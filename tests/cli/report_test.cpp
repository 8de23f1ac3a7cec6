// velmora-drive report: the document on stdout or in a file, what it says when the device named
// is not there or the file cannot be written, and that --trace still traces every command.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "cli/exit_codes.h"
#include "tests/cli/cli_rig.h"

namespace {

using ReportCommand = CliRig;

TEST_F(ReportCommand, PrintsTheDocumentWithEverySupportedDriveAndTracesOnRequest) {
    const CliRun run = Run({"report", "--trace"});
    EXPECT_EQ(run.code, kExitSuccess);
    const nlohmann::json document = run.Json();
    EXPECT_EQ(document["command"], "report");
    EXPECT_EQ(document["velmora_drive"]["argv"],
              nlohmann::json({"velmora-drive", "report", "--trace"}));
    ASSERT_EQ(document["recordings"].size(), 2u);  // F: has no drive and is no optical drive
    EXPECT_EQ(document["recordings"][0]["device"]["name"], "E:");
    EXPECT_EQ(document["recordings"][1]["model"], "7305KT52");
    EXPECT_EQ(run.err.rfind("cdb=3C02F1000000000030000000 ", 0), 0u);  // the model read, first
    EXPECT_EQ(WritesAtE(9) + WritesAtE(2), 0);
}

TEST_F(ReportCommand, ADeviceNotThereIsAnErrorButTheSystemIsReportedAllTheSame) {
    const CliRun run = Run({"report", "H:"});
    EXPECT_EQ(run.code, kExitNoDevice);
    EXPECT_NE(run.err.find("velmora-drive: No such device: H:"), std::string::npos);
    const nlohmann::json document = run.Json();
    EXPECT_EQ(document["velmora_drive"]["exit_status"], kExitNoDevice);
    EXPECT_EQ(document["velmora_drive"]["messages"][0]["severity"], "error");
    EXPECT_TRUE(document["recordings"].empty());
    EXPECT_FALSE(document["system"]["kernel"]["name"].get<std::string>().empty());
    EXPECT_TRUE(e.Received().empty());
}

TEST_F(ReportCommand, WritesTheFileNamedAndSaysWhereOrWhyNot) {
    char folder[] = "/tmp/report-output.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/report.json";
    const CliRun run = Run({"report", "e", "-o", file}, kLanguageJapanese);
    EXPECT_EQ(run.code, kExitSuccess);
    EXPECT_EQ(run.out, "診断レポートを " + file +
                           " に書き込みました。不具合を報告するときは、このファイルを添付して"
                           "ください。\n");
    std::stringstream written;
    written << std::ifstream(file).rdbuf();
    EXPECT_EQ(nlohmann::json::parse(written.str())["recordings"].size(), 1u);

    e.ClearReceived();
    const CliRun refused = Run({"report", "-o", std::string(folder) + "/none/report.json"});
    EXPECT_EQ(refused.code, kExitOutputFailed);
    EXPECT_TRUE(e.Received().empty());  // the file is opened before anything is sent
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("The diagnostic report could not be written to " +
                               std::string(folder) + "/none/report.json (No such file"),
              std::string::npos);
    std::remove(file.c_str());
    rmdir(folder);
}

}  // namespace

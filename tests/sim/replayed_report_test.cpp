// A diagnostic report loaded as a drive: what the loader refuses and where, and how the replayed
// drive answers what the recording covers, what it does not, and what the system failed then.
#include "sim/replayed_report.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/sim/sim_test_support.h"

namespace {

std::string Command(const std::string& cdb, const std::string& outcome, int status,
                    const std::string& sense, int transferred, const std::string& dataIn) {
    return R"({"cdb": ")" + cdb + R"(", "direction": "in", "transfer_length": 256, "outcome": ")" +
           outcome + R"(", "os_error": )" +
           (outcome == "sent" ? std::string("null") : R"({"number": 5, "text": "EIO"})") +
           R"(, "scsi_status": )" + std::to_string(status) + R"(, "sense": ")" + sense +
           R"(", "transferred": )" + std::to_string(transferred) + R"(, "microseconds": 10,)" +
           R"( "data_in": ")" + dataIn + R"(", "data_in_withheld": 0})";
}

std::string Report(const std::string& commands) {
    return R"({"json_format_version": [1, 7], "command": "report", "recordings": [)"
           R"({"device": {"name": "/dev/sr0", "path": "/dev/sg0"}, "busy": false,)"
           R"( "opened": true, "open_error": null, "disc_present": false, "commands": [)" +
           commands + "]}]}";
}

// The command as the transport hands it over: the CDB as long as the hex, data in, 256 bytes.
DriveResponse Respond(SimulatedDrive& drive, const std::string& cdbHex) {
    std::array<uint8_t, 16> cdb{};
    for (size_t i = 0; i < cdbHex.size() / 2; ++i) {
        cdb[i] = static_cast<uint8_t>(std::stoi(cdbHex.substr(2 * i, 2), nullptr, 16));
    }
    std::vector<uint8_t> data(256, 0);
    ScsiCommand command;
    command.cdb = cdb.data();
    command.cdbLength = static_cast<uint8_t>(cdbHex.size() / 2);
    command.dataIn = 1;
    command.data = data.data();
    command.transferLength = 256;
    command.timeoutSeconds = 10;
    return drive.Respond(command);
}

const char kReadPage[] = "3C01F4000000000100000000";
const char kUnitAttention[] = "7206290000000000";  // descriptor format

TEST(ReplayedReportLoad, RefusesWhatIsNoReportAndSaysWhere) {
    ReplayedReport report;
    EXPECT_EQ(ParseReplayedReport("{", &report).status, ReplayStatus::kNotJson);
    EXPECT_EQ(ParseReplayedReport(R"({"json_format_version": [1, 0], "command": "show"})", &report)
                  .status,
              ReplayStatus::kNotReport);
    EXPECT_EQ(
        ParseReplayedReport(R"({"json_format_version": [2, 0], "command": "report"})", &report)
            .status,
        ReplayStatus::kNotReport);
    const ReplayLoad bad =
        ParseReplayedReport(Report(Command("3C0", "sent", 0, "", 0, "")), &report);
    EXPECT_EQ(bad.status, ReplayStatus::kMalformed);
    EXPECT_EQ(bad.detail.rfind("recordings[0].commands[0].cdb", 0), 0u) << bad.detail;
    const ReplayLoad sum =
        ParseReplayedReport(Report(Command(kReadPage, "sent", 0, "", 4, "00")), &report);
    EXPECT_EQ(sum.status, ReplayStatus::kMalformed) << "data_in shorter than transferred";
}

// The page read: a unit attention first, then GOOD (answered by the model, which the recorded
// page configured); the last answer stands for every later read. TEST UNIT READY failed in the
// system; anything else is not covered.
TEST(ReplayedReportDrive, AnswersAsRecordedThenAsTheModelAndRefusesTheRest) {
    std::string page(512, '0');
    page.replace(36, 4, "0101");  // bytes 18 and 19: speed supported and on
    const std::string commands = Command(kReadPage, "sent", 2, kUnitAttention, 0, "") + "," +
                                 Command(kReadPage, "sent", 0, "", 256, page) + "," +
                                 Command("000000000000", "os_error", 0, "", 0, "");
    ReplayedReport report;
    ASSERT_TRUE(ParseReplayedReport(Report(commands), &report).Loaded());
    ASSERT_EQ(report.drives.size(), 1u);
    SimulatedTransport transport;
    PlaceReplayedDrives(report, transport);
    SimulatedDrive& drive = *transport.Drive("/dev/sg0");

    const DriveResponse attention = Respond(drive, kReadPage);
    EXPECT_EQ(attention.status, 2);
    EXPECT_EQ(attention.sense.size(), 8u) << "the sense as recorded, in its own format";
    for (int read = 0; read < 2; ++read) {
        const SimReply good = ReadSettingsPage(drive);
        EXPECT_EQ(good.status, 0);
        EXPECT_EQ(good.data[19], 1);
    }
    EXPECT_EQ(WriteSpeed(drive, 0, 0).status, 0);  // the speed off, through the model
    EXPECT_EQ(ReadSettingsPage(drive).data[19], 0);

    const DriveResponse failed = Respond(drive, "000000000000");
    EXPECT_TRUE(failed.systemFailed);
    EXPECT_EQ(failed.systemError, 5);
    EXPECT_EQ(SendCommand(drive, {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30}).Sense(),
              (SenseTriple{0x05, 0x20, 0x00}));
}

// The model is configured from the longest GOOD reply of a model read, never from an empty one: a
// recorded empty reply is given back as it came, and the model invents no buffer of its own.
TEST(ReplayedReportDrive, TheModelTakesTheLongestRecordedReplyAndInventsNothing) {
    const std::string buffer =
        std::string(32, '0') + "373330354B54353220202020" + std::string(40, '0');
    const std::string commands = Command("3C02F1000000000031000000", "sent", 0, "", 0, "") + "," +
                                 Command("3C02F1000000000030000000", "sent", 0, "", 48, buffer);
    ReplayedReport report;
    ASSERT_TRUE(ParseReplayedReport(Report(commands), &report).Loaded());
    SimulatedTransport transport;
    PlaceReplayedDrives(report, transport);
    SimulatedDrive& drive = *transport.Drive("/dev/sg0");
    const SimReply model = SendCommand(drive, {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30});
    EXPECT_EQ(model.dataInBytes, 48u);
    EXPECT_EQ(std::string(model.data.begin() + 16, model.data.begin() + 24), "7305KT52");
    const SimReply empty = SendCommand(drive, {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x31});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.dataInBytes, 0u);
}

// A CHECK CONDITION recorded without sense bytes reaches the host as it came: no sense at all.
TEST(ReplayedReportDrive, ACheckConditionWithoutSenseBytesGivesNone) {
    ReplayedReport report;
    ASSERT_TRUE(
        ParseReplayedReport(Report(Command(kReadPage, "sent", 2, "", 0, "")), &report).Loaded());
    SimulatedTransport transport;
    PlaceReplayedDrives(report, transport);
    const DeviceHandle handle = transport.Open("/dev/sg0").handle;
    uint8_t page[256] = {};
    PassThroughRequest request{};
    request.header.Length = sizeof(ScsiPassThroughDirect);
    request.header.CdbLength = 12;
    request.header.SenseInfoLength = kSenseBytesRequested;
    request.header.SenseInfoOffset = kSenseOffset;
    request.header.DataIn = kScsiDataIn;
    request.header.DataTransferLength = sizeof page;
    request.header.DataBuffer = page;
    request.header.TimeOutValue = 10;
    const uint8_t cdb[] = {0x3C, 0x01, 0xF4, 0, 0, 0, 0, 0x01, 0x00, 0, 0, 0};
    std::copy(std::begin(cdb), std::end(cdb), request.header.Cdb);
    const TransportResult result = transport.Execute(handle, request);
    EXPECT_TRUE(result.Sent());
    EXPECT_EQ(request.header.ScsiStatus, 2);
    EXPECT_EQ(result.senseLength, 0u);
}

}  // namespace

// The diagnostic report against simulated drives: the start-up session recorded command by
// command through a transport that fails the test on anything but the programs' reads; what a
// recording keeps of a failure (the whole sense data) and leaves out of a reply (INQUIRY's
// vendor-specific bytes); which devices get a recording; and the document's privacy.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "report/diagnostic_report.h"
#include "report/report_document.h"
#include "sim/simulated_transport.h"
#include "tests/platform/fake_device_tree.h"

namespace {

// The opcodes the programs read with: TEST UNIT READY, INQUIRY, READ BUFFER and the disc-status
// reads (READ TOC, GET EVENT STATUS NOTIFICATION, READ DISC and TRACK INFORMATION).
const std::set<uint8_t> kReadOpcodes{0x00, 0x12, 0x3C, 0x43, 0x4A, 0x51, 0x52};

// The simulated drives behind a guard: any other command fails the test and is not sent.
class ReadsOnlyTransport : public ScsiTransport {
public:
    explicit ReadsOnlyTransport(ScsiTransport& drives) : drives_(drives) {}
    OpenResult Open(const std::string& path) override { return drives_.Open(path); }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        const uint8_t opcode = request.header.Cdb[0];
        if (kReadOpcodes.count(opcode) == 0 || request.header.DataIn == kScsiDataOut) {
            ADD_FAILURE() << "a report sent opcode " << int{opcode};
            return TransportResult{TransportOutcome::kRejected, 0, 0, 0};
        }
        return drives_.Execute(handle, request);
    }

private:
    ScsiTransport& drives_;
};

class HeldElsewhere : public DriveAccessMutex {
public:
    void Lock() override {}
    bool LockWithin(uint32_t) override { return false; }
    void Unlock() override {}
};

std::vector<uint8_t> Opcodes(const SimulatedDrive& drive) {
    std::vector<uint8_t> opcodes;
    for (const ReceivedCommand& command : drive.Received()) {
        opcodes.push_back(command.cdb[0]);
    }
    return opcodes;
}

struct ReportRig : ::testing::Test {
    DiagnosticReport Build(const DriveCandidate* device = nullptr) {
        DiagnosticReportRequest request{guard, *mutex, candidates, device};
        request.systemRoot = tree.Root();
        return BuildDiagnosticReport(request);
    }

    SimulatedTransport drives;
    ReadsOnlyTransport guard{drives};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    std::vector<DriveCandidate> candidates{LetterCandidate('E'), LetterCandidate('F'),
                                           LetterCandidate('G')};
    FakeDeviceTree tree;
};

TEST_F(ReportRig, ASupportedDrivesSessionIsTheWindowsStartUpReadsAndNothingElse) {
    SimulatedDrive& e = drives.AddDrive('E');
    e.SetDiscState(DiscState::kPresent);
    SimulatedDriveConfig otherModel;
    otherModel.modelText = "7325KT52    ";
    SimulatedDrive& g = drives.AddDrive('G', otherModel);
    const DiagnosticReport report = Build();
    // F has no drive; G is none of the supported ones, at a letter the system does not list as an
    // optical drive: its identification only, as discovery sends it, and no recording.
    EXPECT_EQ(Opcodes(g), std::vector<uint8_t>{0x3C});
    ASSERT_EQ(report.recordings.size(), 1u);
    const DriveRecording& recording = report.recordings[0];
    EXPECT_EQ(recording.probe, ProbeOutcome::kSupported);
    EXPECT_EQ(recording.inquiryText, "VELMORA CD-R DRIVE      1.00");
    EXPECT_TRUE(recording.settingsRead);
    EXPECT_EQ(recording.audioModeChangeable, 0);  // a disc is in
    EXPECT_EQ(recording.discPresent, 1);
    // Model buffer, INQUIRY, settings page, ready byte, then the probe's five reads (twice two).
    EXPECT_EQ(Opcodes(e), (std::vector<uint8_t>{0x3C, 0x12, 0x3C, 0x3C, 0x51, 0x52, 0x51, 0x52,
                                                0x43, 0x00, 0x4A}));
    std::vector<std::string> steps;
    for (const RecordedCommand& command : recording.commands) {
        if (steps.empty() || steps.back() != command.step) {
            steps.push_back(command.step);
        }
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"identification", "settings_page", "ready_byte",
                                               "disc_presence_probe"}));
    EXPECT_EQ(recording.commands.size(), e.Received().size());
    EXPECT_EQ(recording.commands[2].reply.size(), 256u);  // the settings page whole
    EXPECT_EQ(recording.commands[2].reply[21], 1);        // audio mode supported
}

TEST_F(ReportRig, AnOpticalDrivesFailedModelReadKeepsItsWholeSenseAndItGetsAnInquiry) {
    SimulatedDriveConfig adapter;
    adapter.answersModelBuffer = false;                // 05/24/00, as an adapter answers
    adapter.inquiryTail = "SERIAL-0123456789-VENDOR";  // bytes 36.. : a serial from 45 on
    SimulatedDrive& f = drives.AddDrive('F', adapter);
    candidates[1].opticalDrive = true;  // the system lists it
    const DiagnosticReport report = Build();
    ASSERT_EQ(report.recordings.size(), 1u);
    const DriveRecording& recording = report.recordings[0];
    EXPECT_EQ(recording.probe, ProbeOutcome::kNoModelReply);
    EXPECT_EQ(Opcodes(f), (std::vector<uint8_t>{0x3C, 0x12}));
    ASSERT_EQ(recording.commands.size(), 2u);
    const RecordedCommand& model = recording.commands[0];
    EXPECT_EQ(model.traced.scsiStatus, 2);
    EXPECT_EQ(model.traced.transport.senseLength, 18u);
    EXPECT_EQ(HexBytes(model.traced.sense.data(), 18), "700005000000000A00000000240000000000");
    const RecordedCommand& inquiry = recording.commands[1];
    EXPECT_EQ(inquiry.step, "inquiry");
    EXPECT_EQ(inquiry.reply.size(), 45u);
    EXPECT_EQ(inquiry.withheldBytes, inquiry.traced.dataInBytes - 45);
    EXPECT_EQ(std::string(inquiry.reply.begin() + 36, inquiry.reply.end()), "SERIAL-01");
}

TEST_F(ReportRig, ANamedDeviceAloneAndNothingSentWhileAnotherProgramHoldsTheDrives) {
    drives.AddDrive('E');
    SimulatedDrive& g = drives.AddDrive('G');
    DiagnosticReport report = Build(&candidates[2]);
    ASSERT_EQ(report.recordings.size(), 1u);
    EXPECT_EQ(report.recordings[0].device.name, "G:");
    EXPECT_EQ(drives.Drive('E')->Received().size(), 0u);

    g.ClearReceived();
    mutex = std::make_unique<HeldElsewhere>();
    report = Build(&candidates[2]);
    EXPECT_TRUE(report.recordings[0].busy);
    EXPECT_TRUE(report.recordings[0].commands.empty());
    EXPECT_TRUE(g.Received().empty());
}

TEST_F(ReportRig, TheDocumentDescribesTheSystemsDrivesAndNamesNoHomeFolderOrSerial) {
    AddUsbAndAhciDrives(tree);
    drives.AddDrive('E');
    DiagnosticReport report = Build();
    report.system.homeFolder = "/home/alice";
    ReportProgram program;
    program.name = "velmora-drive";
    program.version = "1.2.3.4";
    program.arguments = {"/home/alice/bin/velmora-drive", "report", "-o", "/home/alice/r.json"};
    const std::string text = FormatReportDocument(program, report);
    const nlohmann::json document = nlohmann::json::parse(text);
    EXPECT_EQ(document["velmora_drive"]["argv"],
              nlohmann::json({"velmora-drive", "report", "-o", "~/r.json"}));
    EXPECT_EQ(document["velmora_drive"]["version"], nlohmann::json({1, 2, 3, 4}));
    EXPECT_EQ(text.find("/home/alice"), std::string::npos);
    EXPECT_EQ(text.find("SERIAL"), std::string::npos);
    const nlohmann::json& usb = document["optical_drives"][0];
    EXPECT_EQ(usb["name"], "/dev/sr0");
    EXPECT_EQ(usb["host"]["driver"], "usb-storage");
    EXPECT_EQ(usb["usb"]["id_vendor"], "152d");
    EXPECT_EQ(usb["nodes"][1]["path"], "/dev/sg1");
    EXPECT_EQ(document["optical_drives"][1]["host"]["driver"], "ahci");
    EXPECT_EQ(document["recordings"][0]["commands"][0]["cdb"], "3C02F1000000000030000000");
    EXPECT_EQ(document["recordings"][0]["model"], "7315KT52");
}

}  // namespace

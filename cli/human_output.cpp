#include "cli/human_output.h"

#include <cstdio>

#include "cli/message_text.h"
#include "cli/printable_text.h"
#include "cli/report_vocabulary.h"
#include "cli/system_error.h"
#include "drive/command_trace.h"
#include "res/resource_ids.h"

namespace {

const char kIndent[] = "    ";

std::string Hex(const std::vector<uint8_t>& bytes) {
    return HexBytes(bytes.data(), bytes.size());
}

const char* CommandName(const WithheldCommand& command) {
    switch (command.cdb.empty() ? 0 : command.cdb[0]) {
        case 0x1B:
            return "START STOP UNIT";
        case 0x3B:
            return "WRITE BUFFER   ";
        default:
            return "other command  ";
    }
}

class HumanWriter {
public:
    HumanWriter(const CliReport& report, const CliTexts& texts, std::ostream& out)
        : report_(report), texts_(texts), out_(out) {}

    // A device that is no supported drive is listed with --all; elsewhere the message says it.
    void Devices() {
        for (const DeviceReport& device : report_.devices) {
            if (report_.command == CliCommand::kList) {
                Heading(device);
                ListEntry(device);
            } else if (device.probe == ProbeOutcome::kSupported) {
                Heading(device);
                if (device.settingsRead) {
                    Settings(device);
                }
            }
        }
    }

private:
    std::string Text(int id) const { return texts_.Text(id); }

    void Heading(const DeviceReport& device) {
        out_ << device.device.name;
        if (!device.inquiry.empty()) {
            out_ << "  " << PrintableText(device.inquiry);
        }
        out_ << "\n";
    }

    void ListEntry(const DeviceReport& device) {
        if (device.probe == ProbeOutcome::kNotOpened) {
            const std::string reason =
                device.busy ? Text(IDS_CLI_DRIVE_BUSY) : SystemErrorText(device.openError);
            out_ << kIndent << Text(IDS_CLI_NOT_OPENED)
                 << SubstituteArguments(reason, {device.device.name}) << "\n";
            return;
        }
        if (device.probe != ProbeOutcome::kSupported) {
            out_ << kIndent << Text(IDS_CLI_NOT_QUALIFYING) << NotQualifyingReason(device) << "\n";
            return;
        }
        out_ << kIndent << Text(IDS_CLI_MODEL_LABEL)
             << PrintableText(WithoutTrailingSpaces(device.model)) << "\n";
        for (const ReportedSetting& setting : kReportedSettings) {
            if (!device.settingsRead) {
                break;
            }
            out_ << kIndent << Text(setting.labelId) << Support(device.*setting.state) << "\n";
        }
    }

    std::string NotQualifyingReason(const DeviceReport& device) const {
        return Text(ProbeTextId(device.probe));
    }

    std::string Support(const SettingState& setting) const {
        return Text(setting.supported ? IDS_CLI_SUPPORTED : IDS_NOT_SUPPORTED);
    }

    void Settings(const DeviceReport& device) {
        if (!report_.wrote) {
            out_ << Text(IDS_CURRENT_SETTING) << "\n";
        } else if (report_.write.dryRun) {
            DryRunCommands();
        }
        for (const ReportedSetting& setting : kReportedSettings) {
            Setting(setting, device.*setting.state, device.settingsStale,
                    report_.wrote ? &(report_.write.*setting.write) : nullptr);
        }
        if (device.audioMode.supported && device.audioModeChangeable != ReadyState::kNotPolled &&
            !report_.wrote) {
            const bool ready = device.audioModeChangeable == ReadyState::kReady;
            out_ << Text(IDS_CLI_CHANGEABLE_LABEL)
                 << Text(ready ? IDS_CLI_CHANGEABLE_YES : IDS_CLI_CHANGEABLE_NO) << "\n";
        }
    }

    // stale: read before the write only; those values are no longer what the drive holds.
    void Setting(const ReportedSetting& described, const SettingState& setting, bool stale,
                 const SettingWriteReport* write) {
        out_ << Text(described.labelId);
        if (!setting.supported) {
            out_ << Text(IDS_NOT_SUPPORTED) << "\n";
            return;
        }
        if (stale) {
            out_ << Text(IDS_CLI_NOT_READ_AGAIN) << "\n";
        } else {
            out_ << Text(described.TextOf(setting.current)) << "\n";
            out_ << Text(IDS_CLI_SAVED_LABEL) << Text(described.TextOf(setting.saved)) << "\n";
        }
        if (write != nullptr && write->requested) {
            Outcome(described, *write);
        }
    }

    void Outcome(const ReportedSetting& described, const SettingWriteReport& write) {
        // A dry run announces only the writes it would send: those its pretended read-back
        // confirmed. A write refused or not allowed now is told as such.
        if (report_.write.dryRun && write.outcome == SettingOutcome::kConfirmed) {
            out_ << Text(IDS_CLI_WOULD_WRITE) << Text(described.TextOf(write.value))
                 << (write.save ? Text(IDS_CLI_AND_SAVED) : "") << "\n";
            return;
        }
        if (report_.write.dryRun && write.outcome == SettingOutcome::kRefused) {
            out_ << Text(IDS_CLI_WOULD_BE_REFUSED) << "\n";
            return;
        }
        out_ << texts_.Format(OutcomeTextId(write.outcome), {std::to_string(write.writes)}) << "\n";
    }

    void DryRunCommands() {
        out_ << Text(IDS_CLI_DRY_RUN) << "\n";
        for (const WithheldCommand& command : report_.write.withheld) {
            out_ << kIndent << CommandName(command) << "  cdb=" << Hex(command.cdb);
            if (!command.data.empty()) {
                out_ << "  data=" << Hex(command.data);
            }
            out_ << "\n";
        }
    }

    const CliReport& report_;
    const CliTexts& texts_;
    std::ostream& out_;
};

// The first line names the program, as command-line tools do on stderr; later lines are indented
// under it.
void WriteMessage(const std::string& text, bool problem, std::ostream& stream) {
    const std::string prefix = problem ? "velmora-drive: " : "";
    stream << prefix;
    for (char c : text) {
        stream << c;
        if (c == '\n') {
            stream << std::string(prefix.size(), ' ');
        }
    }
    stream << "\n";
}

}  // namespace

void WriteHumanOutput(const CliReport& report, const CliTexts& texts, std::ostream& out,
                      std::ostream& err) {
    HumanWriter(report, texts, out).Devices();
    // After a failure every message belongs to it (advice included): stdout keeps only the data.
    const bool failed = report.exitCode != 0;
    for (const CliMessage& message : report.messages) {
        const bool problem = message.severity != Severity::kInformation;
        WriteMessage(MessageText(message, texts), problem, problem || failed ? err : out);
    }
}

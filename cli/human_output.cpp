#include "cli/human_output.h"

#include <cstdio>

#include "cli/message_text.h"
#include "cli/printable_text.h"
#include "drive/command_trace.h"
#include "res/resource_ids.h"

namespace {

const char kIndent[] = "    ";

int SpeedValueText(uint8_t value) {
    return value == 1 ? IDS_ON : IDS_OFF;
}

int AudioValueText(uint8_t value) {
    return value == 1 ? IDS_LOW_SPEED_MODE : IDS_HIGH_SPEED_MODE;
}

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
        if (device.probe != ProbeOutcome::kSupported) {
            out_ << kIndent << Text(IDS_CLI_NOT_QUALIFYING) << NotQualifyingReason(device) << "\n";
            return;
        }
        out_ << kIndent << Text(IDS_CLI_MODEL_LABEL)
             << PrintableText(WithoutTrailingSpaces(device.model)) << "\n";
        if (device.settingsRead) {
            out_ << kIndent << Text(IDS_SPEED_LABEL) << Support(device.optimalSpeed) << "\n";
            out_ << kIndent << Text(IDS_AUDIO_LABEL) << Support(device.audioMode) << "\n";
        }
    }

    std::string NotQualifyingReason(const DeviceReport& device) const {
        switch (device.probe) {
            case ProbeOutcome::kNoModelReply:
                return Text(IDS_CLI_NO_MODEL_REPLY);
            case ProbeOutcome::kOtherModel:
                return Text(IDS_CLI_OTHER_MODEL);
            default:
                return Text(IDS_OPEN_FAILED);
        }
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
        Setting(IDS_SPEED_LABEL, device.optimalSpeed, SpeedValueText,
                report_.wrote ? &report_.write.optimalSpeed : nullptr);
        Setting(IDS_AUDIO_LABEL, device.audioMode, AudioValueText,
                report_.wrote ? &report_.write.audioMode : nullptr);
        if (device.audioMode.supported && device.audioModeChangeable != ReadyState::kNotPolled &&
            !report_.wrote) {
            const bool ready = device.audioModeChangeable == ReadyState::kReady;
            out_ << Text(IDS_CLI_CHANGEABLE_LABEL)
                 << Text(ready ? IDS_CLI_CHANGEABLE_YES : IDS_CLI_CHANGEABLE_NO) << "\n";
        }
    }

    void Setting(int label, const SettingState& setting, int (*valueText)(uint8_t),
                 const SettingWriteReport* write) {
        out_ << Text(label);
        if (!setting.supported) {
            out_ << Text(IDS_NOT_SUPPORTED) << "\n";
            return;
        }
        out_ << Text(valueText(setting.current)) << "\n";
        out_ << Text(IDS_CLI_SAVED_LABEL) << Text(valueText(setting.saved)) << "\n";
        if (write != nullptr && write->requested) {
            Outcome(*write, valueText);
        }
    }

    void Outcome(const SettingWriteReport& write, int (*valueText)(uint8_t)) {
        if (report_.write.dryRun) {
            out_ << Text(IDS_CLI_WOULD_WRITE) << Text(valueText(write.value))
                 << (write.save ? Text(IDS_CLI_AND_SAVED) : "") << "\n";
            return;
        }
        switch (write.outcome) {
            case SettingOutcome::kConfirmed:
                out_ << Text(IDS_CLI_CONFIRMED) << "\n";
                return;
            case SettingOutcome::kNotConfirmed:
                out_ << texts_.Format(IDS_CLI_NOT_CONFIRMED, {std::to_string(write.writes)})
                     << "\n";
                return;
            case SettingOutcome::kNotReady:
                out_ << Text(IDS_CLI_NOT_READY) << "\n";
                return;
            case SettingOutcome::kNotWritten:
                out_ << Text(IDS_CLI_NOT_WRITTEN) << "\n";
                return;
            case SettingOutcome::kRefused:
                out_ << Text(IDS_CLI_REFUSED) << "\n";
                return;
        }
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

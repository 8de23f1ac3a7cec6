#include "cli/json_output.h"

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_texts.h"
#include "cli/message_text.h"
#include "cli/printable_text.h"
#include "cli/program_version.h"
#include "cli/report_vocabulary.h"
#include "drive/command_trace.h"
#include "report/json_format.h"
#include "report/report_document.h"
#include "res/resource_catalog.h"

namespace {

using Json = nlohmann::ordered_json;

// In the order of Severity and CliCommand (cli/cli_report.h).
constexpr const char* kSeverityNames[] = {"information", "warning", "error"};
constexpr const char* kCommandNames[] = {"", "list", "show", "set", "restore", "report"};

const char* SeverityName(Severity severity) {
    return kSeverityNames[static_cast<size_t>(severity)];
}

const char* CommandName(CliCommand command) {
    return kCommandNames[static_cast<size_t>(command)];
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    return HexBytes(bytes.data(), bytes.size());
}

Json ProgramBlock(const CliReport& report) {
    const CliTexts english(kLanguageEnglish);
    Json messages = Json::array();
    for (const CliMessage& message : report.messages) {
        messages.push_back({{"string", MessageText(message, english)},
                            {"code", message.code},
                            {"severity", SeverityName(message.severity)}});
    }
    Json block;
    block["version"] = Json(VersionNumbers(ProgramVersion()));
    block["version_string"] = ProgramVersion();
    block["argv"] = report.arguments;
    block["demo"] = report.demo;
    block["messages"] = messages;
    block["exit_status"] = report.exitCode;
    block["program"] = "velmora-drive";
    block["built_for"] = BuiltFor();
    return block;
}

// A name the system does not give is null (an empty list for the by-id links).
Json NameOrNull(const std::string& name) {
    return name.empty() ? Json() : Json(name);
}

Json DeviceBlock(const DeviceReport& device) {
    Json block;
    block["name"] = device.device.name;
    block["path"] = device.device.devicePath;
    block["by_id"] = device.names.byId;
    block["scsi_address"] = NameOrNull(device.names.scsiAddress);
    block["sysfs_path"] = NameOrNull(device.names.sysfsPath);
    block["supported_drive"] = device.probe == ProbeOutcome::kSupported;
    block["probe"] = ProbeWord(device.probe);
    if (device.probe == ProbeOutcome::kSupported) {
        block["inquiry"] = PrintableText(device.inquiry);
        block["model"] = PrintableText(WithoutTrailingSpaces(device.model));
    }
    return block;
}

// stale: read before the write only, and not again after it: no value is known (null).
Json SettingBlock(const ReportedSetting& described, const SettingState& setting, bool withValues,
                  bool stale) {
    Json block;
    block["supported"] = setting.supported;
    if (setting.supported && withValues) {
        block["current"] = stale ? Json() : Json(described.WordOf(setting.current));
        block["saved"] = stale ? Json() : Json(described.WordOf(setting.saved));
    }
    return block;
}

Json WriteBlock(const ReportedSetting& described, const SettingWriteReport& write, bool dryRun) {
    Json block;
    block["requested"] = write.requested;
    if (!write.requested) {
        return block;
    }
    block["value"] = described.WordOf(write.value);
    block["save"] = write.save;
    // A dry run confirms nothing: its writes never reached the drive.
    const bool pretended = dryRun && write.outcome == SettingOutcome::kConfirmed;
    block["outcome"] = OutcomeWord(pretended ? SettingOutcome::kNotWritten : write.outcome);
    block["writes"] = dryRun ? 0 : write.writes;
    return block;
}

Json WriteSection(const WriteReport& write) {
    Json block;
    block["restore"] = write.restore;
    block["dry_run"] = write.dryRun;
    block["disc_stop"] = DiscStopWord(write.discStop);
    for (const ReportedSetting& setting : kReportedSettings) {
        block[setting.key] = WriteBlock(setting, write.*setting.write, write.dryRun);
    }
    if (write.dryRun) {
        Json commands = Json::array();
        for (const WithheldCommand& command : write.withheld) {
            Json entry{{"cdb", Hex(command.cdb)}};
            if (!command.data.empty()) {
                entry["data"] = Hex(command.data);
            }
            commands.push_back(entry);
        }
        block["withheld_commands"] = commands;
    }
    return block;
}

// The device with what is known of its settings; list gives whether each is supported only.
void AddSettings(Json& target, const DeviceReport& device, bool withValues) {
    if (!device.settingsRead) {
        return;
    }
    for (const ReportedSetting& setting : kReportedSettings) {
        target[setting.key] =
            SettingBlock(setting, device.*setting.state, withValues, device.settingsStale);
    }
    if (device.audioMode.supported && device.audioModeChangeable != ReadyState::kNotPolled) {
        target["audio_optimized_write_mode"]["changeable_now"] =
            device.audioModeChangeable == ReadyState::kReady;
    }
}

}  // namespace

void WriteJsonOutput(const CliReport& report, std::ostream& out) {
    Json document;
    document["json_format_version"] = {kJsonFormatMajor, kJsonFormatMinor};
    document["velmora_drive"] = ProgramBlock(report);
    if (report.command != CliCommand::kNone) {
        document["command"] = CommandName(report.command);
    }
    if (report.command == CliCommand::kList) {
        Json devices = Json::array();
        for (const DeviceReport& device : report.devices) {
            Json entry = DeviceBlock(device);
            AddSettings(entry, device, false);
            devices.push_back(entry);
        }
        document["devices"] = devices;
    } else if (!report.devices.empty()) {
        document["device"] = DeviceBlock(report.devices.front());
        AddSettings(document, report.devices.front(), true);
    }
    if (report.wrote) {
        document["write"] = WriteSection(report.write);
    }
    // Replaced, never thrown at: the texts are ASCII or the string tables' UTF-8.
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

#include "report/report_document.h"

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "drive/command_trace.h"
#include "platform/os_error.h"
#include "report/json_format.h"

namespace {

using Json = nlohmann::ordered_json;

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json() : Json(text);
}

Json ErrorOrNull(int osError) {
    if (osError == 0) {
        return Json();
    }
    return Json{{"number", osError}, {"text", DescribeOsError(osError)}};
}

std::string Hex(const uint8_t* bytes, size_t count) {
    return HexBytes(bytes, count);
}

// The program's path cut to its file name; the home folder at the start of an argument as "~".
std::vector<std::string> ReportedArguments(const std::vector<std::string>& arguments,
                                           const std::string& home) {
    std::vector<std::string> reported;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (i == 0) {
            const size_t slash = argument.find_last_of("/\\");
            argument = slash == std::string::npos ? argument : argument.substr(slash + 1);
        } else if (home.size() > 1 && argument.compare(0, home.size(), home) == 0) {
            argument = "~" + argument.substr(home.size());
        }
        reported.push_back(argument);
    }
    return reported;
}

Json ProgramBlock(const ReportProgram& program, const std::string& home) {
    Json messages = Json::array();
    for (const ReportMessage& message : program.messages) {
        messages.push_back(
            {{"string", message.text}, {"code", message.code}, {"severity", message.severity}});
    }
    Json block;
    block["version"] = Json(VersionNumbers(program.version));
    block["version_string"] = program.version;
    block["argv"] = ReportedArguments(program.arguments, home);
    block["demo"] = program.demo;
    block["messages"] = messages;
    block["exit_status"] = program.exitStatus;
    block["program"] = program.name;
    block["built_for"] = BuiltFor();
    return block;
}

// The groups owning the drives' nodes, each with whether the user is one of them.
Json DriveNodeGroups(const std::vector<OpticalDriveFacts>& drives) {
    Json groups = Json::array();
    std::set<std::string> seen;
    for (const OpticalDriveFacts& drive : drives) {
        for (const DeviceNodeFacts& node : drive.nodes) {
            if (node.present && seen.insert(node.group).second) {
                groups.push_back({{"name", node.group}, {"user_is_member", node.userInGroup}});
            }
        }
    }
    return groups;
}

Json SystemBlock(const SystemDescription& system, const std::vector<OpticalDriveFacts>& drives) {
    Json groups = Json::array();
    for (const GroupName& group : system.groups) {
        groups.push_back({{"id", group.id}, {"name", group.name}});
    }
    Json block;
    block["os"] = {{"name", system.os.name},
                   {"version", system.os.version},
                   {"id", system.os.id},
                   {"version_id", system.os.versionId},
                   {"pretty_name", system.os.prettyName}};
    block["kernel"] = {{"name", system.kernel.name},
                       {"release", system.kernel.release},
                       {"version", system.kernel.version}};
    block["architecture"] = system.architecture;
    block["user"] = {{"name", system.userName},
                     {"id", system.userId >= 0 ? Json(system.userId) : Json()},
                     {"groups", groups}};
    block["drive_node_groups"] = DriveNodeGroups(drives);
    block["sg_module_loaded"] =
        system.sgModuleLoaded < 0 ? Json() : Json(system.sgModuleLoaded == 1);
    block["wine"] = system.wine.present ? Json{{"version", system.wine.version},
                                               {"host_system", system.wine.hostSystem},
                                               {"host_release", system.wine.hostRelease}}
                                        : Json();
    return block;
}

std::string OctalMode(uint32_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

Json NodeBlock(const DeviceNodeFacts& node) {
    Json block;
    block["path"] = node.path;
    block["kind"] = node.kind == DeviceNodeKind::kBlock ? "block" : "generic";
    block["present"] = node.present;
    block["error"] = ErrorOrNull(node.statError);
    if (node.present) {
        block["type"] = node.type;
        block["owner"] = node.owner;
        block["group"] = node.group;
        block["mode"] = OctalMode(node.mode);
        block["user_in_group"] = node.userInGroup;
        block["read_write"] = node.readWrite;
        block["access_error"] = ErrorOrNull(node.accessError);
    }
    return block;
}

void AddSysfsFacts(const OpticalDriveFacts& drive, Json& block) {
    Json nodes = Json::array();
    for (const DeviceNodeFacts& node : drive.nodes) {
        nodes.push_back(NodeBlock(node));
    }
    block["nodes"] = nodes;
    block["scsi_address"] = TextOrNull(drive.scsiAddress);
    block["host"] = drive.host.name.empty() ? Json()
                                            : Json{{"name", drive.host.name},
                                                   {"proc_name", TextOrNull(drive.host.procName)},
                                                   {"driver", TextOrNull(drive.host.driver)}};
    block["usb"] = !drive.usb.present
                       ? Json()
                       : Json{{"id_vendor", drive.usb.idVendor},
                              {"id_product", drive.usb.idProduct},
                              {"manufacturer", TextOrNull(drive.usb.manufacturer)},
                              {"product", TextOrNull(drive.usb.product)},
                              {"interface_driver", TextOrNull(drive.usb.interfaceDriver)}};
}

void AddStorageQueryFacts(const OpticalDriveFacts& drive, Json& block) {
    block["letter"] = drive.name.substr(0, 1);
    block["storage_query"] = {{"answered", drive.storage.answered},
                              {"error", ErrorOrNull(drive.storage.osError)},
                              {"bus_type", TextOrNull(drive.storage.busType)}};
}

Json OpticalDriveBlock(const OpticalDriveFacts& drive) {
    Json block;
    block["name"] = drive.name;
    block["listed"] = drive.listed;
    block["source"] = drive.source == DriveFactsSource::kSysfs ? "sysfs" : "storage_query";
    block["vendor"] = TextOrNull(drive.vendor);
    block["model"] = TextOrNull(drive.model);
    block["revision"] = TextOrNull(drive.revision);
    if (drive.source == DriveFactsSource::kSysfs) {
        AddSysfsFacts(drive, block);
    } else {
        AddStorageQueryFacts(drive, block);
    }
    return block;
}

const char* OutcomeWord(TransportOutcome outcome) {
    switch (outcome) {
        case TransportOutcome::kSent:
            return "sent";
        case TransportOutcome::kRejected:
            return "rejected";
        case TransportOutcome::kOsError:
            return "os_error";
    }
    return "os_error";
}

const char* ProbeWord(ProbeOutcome probe) {
    switch (probe) {
        case ProbeOutcome::kNotOpened:
            return "not_opened";
        case ProbeOutcome::kNoModelReply:
            return "no_model_reply";
        case ProbeOutcome::kOtherModel:
            return "other_model";
        case ProbeOutcome::kSupported:
            return "supported";
    }
    return "not_opened";
}

Json CommandBlock(const RecordedCommand& recorded) {
    const TracedCommand& command = recorded.traced;
    const size_t cdbBytes = std::min<size_t>(command.cdbLength, command.cdb.size());
    const size_t senseBytes = std::min<size_t>(command.transport.senseLength, command.sense.size());
    const bool dataIn = command.dataIn == 1;
    Json block;
    block["step"] = recorded.step;
    block["cdb"] = Hex(command.cdb.data(), cdbBytes);
    block["direction"] = DirectionName(command.dataIn);
    block["transfer_length"] = command.transferLength;
    block["timeout_seconds"] = command.timeoutSeconds;
    block["outcome"] = OutcomeWord(command.transport.outcome);
    block["os_error"] = ErrorOrNull(command.transport.osError);
    block["scsi_status"] = command.scsiStatus;
    block["sense"] = Hex(command.sense.data(), senseBytes);
    block["sense_length"] = senseBytes;
    block["transferred"] = dataIn ? command.dataInBytes : 0;
    block["residual"] = dataIn ? command.transferLength - command.dataInBytes : 0;
    block["microseconds"] = command.microseconds >= 0 ? Json(command.microseconds) : Json();
    block["data_in"] = Hex(recorded.reply.data(), recorded.reply.size());
    block["data_in_withheld"] = recorded.withheldBytes;
    return block;
}

std::string WithoutTrailingSpaces(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

Json TriState(int value) {
    return value < 0 ? Json() : Json(value == 1);
}

Json RecordingBlock(const DriveRecording& recording) {
    Json commands = Json::array();
    for (const RecordedCommand& command : recording.commands) {
        commands.push_back(CommandBlock(command));
    }
    const bool supported = recording.probe == ProbeOutcome::kSupported;
    Json block;
    block["device"] = {{"name", recording.device.name}, {"path", recording.device.devicePath}};
    block["busy"] = recording.busy;
    block["opened"] = recording.opened;
    block["open_error"] = ErrorOrNull(recording.openError);
    block["probe"] = recording.busy ? "not_tried" : ProbeWord(recording.probe);
    block["model"] = supported ? Json(WithoutTrailingSpaces(recording.model)) : Json();
    block["inquiry"] = supported ? Json(recording.inquiryText) : Json();
    block["settings_read"] = recording.settingsRead;
    block["audio_mode_changeable"] = TriState(recording.audioModeChangeable);
    block["disc_present"] = TriState(recording.discPresent);
    block["commands"] = commands;
    return block;
}

}  // namespace

const char* BuiltFor() {
#if defined(_WIN32)
#define BUILT_FOR_SYSTEM "windows"
#elif defined(__linux__)
#define BUILT_FOR_SYSTEM "linux"
#else
#define BUILT_FOR_SYSTEM "unknown"
#endif
#if defined(__x86_64__) || defined(_M_X64)
#define BUILT_FOR_MACHINE "x86_64"
#elif defined(__i386__) || defined(_M_IX86)
#define BUILT_FOR_MACHINE "i686"
#elif defined(__aarch64__) || defined(_M_ARM64)
#define BUILT_FOR_MACHINE "aarch64"
#elif defined(__arm__) || defined(_M_ARM)
#define BUILT_FOR_MACHINE "arm"
#else
#define BUILT_FOR_MACHINE "unknown"
#endif
    return BUILT_FOR_SYSTEM "-" BUILT_FOR_MACHINE;
#undef BUILT_FOR_SYSTEM
#undef BUILT_FOR_MACHINE
}

std::string FormatReportDocument(const ReportProgram& program, const DiagnosticReport& report) {
    Json drives = Json::array();
    for (const OpticalDriveFacts& drive : report.opticalDrives) {
        drives.push_back(OpticalDriveBlock(drive));
    }
    Json recordings = Json::array();
    for (const DriveRecording& recording : report.recordings) {
        recordings.push_back(RecordingBlock(recording));
    }
    Json document;
    document["json_format_version"] = {kJsonFormatMajor, kJsonFormatMinor};
    document["velmora_drive"] = ProgramBlock(program, report.system.homeFolder);
    document["command"] = "report";
    document["system"] = SystemBlock(report.system, report.opticalDrives);
    document["optical_drives"] = drives;
    document["recordings"] = recordings;
    document["interrupted"] = report.interrupted;
    // Replaced, never thrown at: the drives' and the system's texts may be any bytes.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::vector<long> VersionNumbers(const std::string& version) {
    std::vector<long> numbers;
    std::istringstream parts(version);
    for (std::string part; std::getline(parts, part, '.');) {
        numbers.push_back(std::strtol(part.c_str(), nullptr, 10));
    }
    return numbers;
}

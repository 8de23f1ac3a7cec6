// What one run of a command found and did, kept apart from how it is shown: the human output
// renders it in the user's language, the JSON output as one document. Values are kept as the
// settings page codes them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "drive/drive_discovery.h"
#include "settings/apply_settings.h"

enum class CliCommand { kNone, kList, kShow, kSet, kRestore };  // kNone: not understood

enum class Severity { kInformation, kWarning, kError };

// An argument of a message: plain text (a device name, the system's reason), or a text of its own
// by string id with one argument (the reason a command failed).
struct MessageArgument {
    MessageArgument(std::string plain) : text(std::move(plain)) {}  // NOLINT: implicit on purpose
    MessageArgument(const char* plain) : text(plain) {}             // NOLINT: implicit on purpose
    MessageArgument(int id, std::string argument) : textId(id), text(std::move(argument)) {}

    int textId = 0;  // 0: text is the argument itself
    std::string text;
};

// A message by string id: the texts of the ids joined, then %1, %2, ... replaced by the
// arguments, so that each output can render it in its own language.
struct CliMessage {
    Severity severity = Severity::kInformation;
    std::vector<int> textIds;
    std::vector<MessageArgument> arguments;
};

// One setting of a drive, as its settings page shows it.
struct SettingState {
    bool supported = false;
    uint8_t current = 0;  // speed: 1 ON, else OFF; audio mode: 1 low, else high speed playback
    uint8_t saved = 0;
};

enum class ReadyState { kNotPolled, kReady, kNotReady };

struct DeviceReport {
    DriveCandidate device;
    ProbeOutcome probe = ProbeOutcome::kNotOpened;
    int openError = 0;    // the system's reason when the device could not be opened
    std::string inquiry;  // INQUIRY bytes 8..44 as the drive sent them
    std::string model;    // the supported model identifier it carries
    bool settingsRead = false;
    SettingState optimalSpeed;
    SettingState audioMode;
    ReadyState audioModeChangeable = ReadyState::kNotPolled;  // the ready byte
};

// A command the dry run kept back from the drive.
struct WithheldCommand {
    std::vector<uint8_t> cdb;   // as long as declared to the system
    std::vector<uint8_t> data;  // the meaningful bytes of a write page: its first four
};

struct SettingWriteReport {
    bool requested = false;
    uint8_t value = 0;
    bool save = false;
    SettingOutcome outcome = SettingOutcome::kNotWritten;
    int writes = 0;  // WRITE BUFFER attempts
};

struct WriteReport {
    bool restore = false;
    bool dryRun = false;
    DiscStopOutcome discStop = DiscStopOutcome::kNotNeeded;
    SettingWriteReport optimalSpeed;
    SettingWriteReport audioMode;
    std::vector<WithheldCommand> withheld;  // dry run: what would have been sent
};

struct CliReport {
    CliCommand command = CliCommand::kNone;
    std::vector<std::string> arguments;  // the command line, program name first
    bool demo = false;
    // list: every drive listed (with --all also those that do not qualify); show, set and
    // restore: the one drive, once it is known.
    std::vector<DeviceReport> devices;
    bool wrote = false;  // set or restore reached the apply
    WriteReport write;
    std::vector<CliMessage> messages;
    int exitCode = 0;

    void Add(Severity severity, std::vector<int> textIds, std::vector<MessageArgument> args = {}) {
        messages.push_back(CliMessage{severity, std::move(textIds), std::move(args)});
    }
    // Records a failure: its message, and its exit code combined with those before it.
    void Fail(int code, std::vector<int> textIds, std::vector<MessageArgument> args = {});
};

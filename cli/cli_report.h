// What one run of a command found and did, kept apart from how it is told: the commands record
// what they met (the drives, the write, the findings), the verdict (cli/run_verdict.h) turns the
// findings into messages and the one exit code, and the human and JSON outputs render the result.
// Values are kept as the settings page codes them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "drive/drive_discovery.h"
#include "platform/drive_names.h"
#include "settings/apply_settings.h"

enum class CliCommand { kNone, kList, kShow, kSet, kRestore, kReport };  // kNone: not understood

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
// arguments, so that each output can render it in its own language; its code names the kind of
// message for scripts ("drive_busy"), whatever the language.
struct CliMessage {
    Severity severity = Severity::kInformation;
    const char* code = "";
    std::vector<int> textIds;
    std::vector<MessageArgument> arguments;
};

// Why a command failed: the system refused it for want of rights, or else the reason as a text
// id (IDS_CLI_SENSE, IDS_CLI_TIMED_OUT, ...) with its argument.
struct CommandFailure {
    bool refusedForRights = false;
    int reasonId = 0;
    std::string reasonArgument;
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
    DriveNames names;  // the names that stay with the drive (by-id link, SCSI address, sysfs)
    ProbeOutcome probe = ProbeOutcome::kNotOpened;
    int openError = 0;    // the system's reason when the device could not be opened
    bool busy = false;    // not opened: another program of the utility held the drives throughout
    std::string inquiry;  // INQUIRY bytes 8..44 as the drive sent them
    std::string model;    // the supported model identifier it carries
    // An optical drive that gave no model identification: why, with the failed read's reason and
    // for a cut reply the bytes that came.
    IdentificationProblem identification = IdentificationProblem::kNone;
    CommandFailure identificationFailure;
    uint32_t modelReplyBytes = 0;
    bool settingsRead = false;
    bool settingsStale = false;  // read before the write, but not again after it
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
    int writes = 0;                  // WRITE BUFFER attempts
    bool driveRefusedEvery = false;  // the drive answered every attempt with CHECK CONDITION
    CommandFailure driveRefusal;     // the last of them
};

struct WriteReport {
    bool restore = false;
    bool dryRun = false;
    DiscStopOutcome discStop = DiscStopOutcome::kNotNeeded;
    CommandFailure stopFailure;  // when the stop failed
    bool stoppedEarly = false;   // a request to end the program stopped it before a write
    SettingWriteReport optimalSpeed;
    SettingWriteReport audioMode;
    std::vector<WithheldCommand> withheld;  // dry run: what would have been sent
    // The window's message boxes and log box lines, by string id, as the settings code gave them.
    std::vector<int> alerts;
    std::vector<int> statusLines;
    // A command the system refused for want of rights during the write, when it was.
    CommandFailure rightsRefusal;
    // Not kGranted: the drive could not be had to this run (another writer, a mounted disc, a
    // burning program), and nothing was sent. accessNode: the block node it was asked of.
    WriteAccess access;
    std::string accessNode;
    bool driveGone = false;  // the system said the drive is no longer there: the write ended
};

// What a run met that the user is told of, in the order met.
enum class FindingKind {
    kCannotStart,         // the drive access could not be prepared
    kUsage,               // the command line is wrong: textId with arguments
    kNoSuchDevice,        // DEVICE names no device where drives are looked for (arguments)
    kNotListedDrive,      // DEVICE names a device that is none of the drives listed (arguments)
    kNotSupportedDrive,   // the device answered, but is no supported drive
    kSeveralDrives,       // show without DEVICE, and more than one supported drive (arguments)
    kNoDriveFound,        // no supported drive at all
    kOpenRefused,         // the system would not open the device (osError)
    kSettingMissing,      // a setting asked for that the drive lacks (textId: its label)
    kSettingsUnreadable,  // the settings page could not be read (failure)
    kWrite,               // set or restore reached the write: report.write says how it went
    kDriveBusy,           // another program of the utility held the drives throughout the wait
    kInterrupted,         // a request to end the program arrived during the run
    kOutputFailed,        // stdout or stderr refused the report
    kWriteAccessRefused,  // set or restore could not have the drive to itself: report.write.access
    kReplayUnusable,      // the report to replay cannot be used (device: the file; arguments: why)
    // An optical drive that gave no model identification (device; failure: why): the query was
    // not answered (the adapter does not pass vendor commands), or its reply was cut short
    // (replyBytes of them came).
    kIdentificationNotAnswered,
    kModelReplyShort,
};

struct Finding {
    Finding() = default;
    explicit Finding(FindingKind what, std::string name = {}, int text = 0,
                     std::vector<std::string> names = {})
        : kind(what), device(std::move(name)), textId(text), arguments(std::move(names)) {}

    FindingKind kind = FindingKind::kCannotStart;
    std::string device;                  // the device's name; kOpenRefused: the node opened
    int textId = 0;                      // kUsage, kSettingMissing
    std::vector<std::string> arguments;  // kUsage; device names for the kinds that list some
    int osError = 0;                     // kOpenRefused
    CommandFailure failure;              // kSettingsUnreadable, kIdentificationNotAnswered
    uint32_t replyBytes = 0;             // kModelReplyShort
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
    std::vector<Finding> findings;
    // Filled by the verdict from the findings.
    std::vector<CliMessage> messages;
    int exitCode = 0;

    void Note(Finding finding) { findings.push_back(std::move(finding)); }
};

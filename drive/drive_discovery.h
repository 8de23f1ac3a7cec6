// Finding the drives the program serves: each candidate device is opened, asked for its model
// identification buffer (READ BUFFER, buffer F1h, mode 2) and, when that names a supported
// model, for its INQUIRY text, which becomes the drive's entry in the list. Only the bytes a reply
// brought (state.block.transport.bytesTransferred) are read.
#pragma once

#include <string>
#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/narrow_code_page.h"

// One listed drive.
struct DriveEntry {
    DriveCandidate device;  // where the drive is and how the user knows it
    std::string model;      // the model identifier its identification text carries
    std::string listText;   // the list's line: the device's name, a space, the INQUIRY text
};

// The listed drives in the order found; an entry's index is its position in the drive list.
using DriveTable = std::vector<DriveEntry>;

// A device the system would not open, and why.
struct UnopenedDevice {
    DriveCandidate device;
    int osError = 0;
};

// Why a device's model identification read gave no model identifier to look at.
enum class IdentificationProblem {
    kNone,         // it answered in full (or failed in a way that says nothing of the device)
    kNotAnswered,  // refused as not understood (05/20/00 invalid command, 05/24/00 invalid field
                   // in the CDB), or the system's call failed: behind a USB adapter, usually an
                   // adapter that does not pass vendor commands to the drive
    kShortReply,   // GOOD, but fewer than the 48 bytes of the buffer came: not trusted, refused
};

// An optical drive (as the system lists it) whose model identification read had a problem.
struct UnidentifiedDrive {
    DriveCandidate device;
    IdentificationProblem problem = IdentificationProblem::kNone;
    uint32_t replyBytes = 0;  // for kShortReply: the bytes that came
};

// What discovery met besides the drives it lists: the words for what it could not look at.
struct DiscoveryReport {
    int candidates = 0;                           // devices tried
    std::vector<UnopenedDevice> unopened;         // those the system would not open, in order
    std::vector<UnidentifiedDrive> unidentified;  // optical drives that gave no identification
};

// How a candidate answered discovery.
enum class ProbeOutcome {
    kNotOpened,     // the system refused the open (state.openError says why)
    kNoModelReply,  // opened, but the model identification read failed
    kOtherModel,    // answered, without a supported model identifier
    kSupported,     // a supported drive: listed
};

// The supported model identifier the zero-terminated text contains ("7315KT52    " or
// "7305KT52    "), found at a character boundary of the narrow code page (a lead byte pairs with
// the byte after it); nullptr when it contains neither.
const char* FindSupportedModel(const char* text, const NarrowCodePage& codePage);

// 1 when FindSupportedModel finds one, else 0.
int IsSupportedModel(const char* text, const NarrowCodePage& codePage);

// Reads the open drive's model identification (READ BUFFER, buffer F1h, mode 2, with the reply
// area cleared first; once more after a UNIT ATTENTION) and returns the supported model
// identifier it names, or nullptr; *answered tells whether the drive answered the read with the
// whole 48-byte buffer. A shorter reply counts as no answer: only the bytes that came are ever
// looked at, and an identifier cut off by the reply's end cannot be trusted.
const char* ReadModelIdentifier(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                                const NarrowCodePage& codePage, bool* answered);

// What the model identification read just sent (by ReadModelIdentifier, ProbeDrive or
// IdentifyOpenDrive, nothing sent after it) says of a device that gave no model identifier.
IdentificationProblem ModelReadProblem(const DriveState& state);

// Tries one candidate. A supported drive's entry is filled in. The drive is closed again either
// way, and only after each command's worker has ended.
ProbeOutcome ProbeDrive(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                        const DriveCandidate& candidate, const NarrowCodePage& codePage,
                        DriveEntry* entry);

// The same questions of a drive already open in state.driveHandle, which stays open: for a program
// that goes on to work on the drive it identified in the same open.
ProbeOutcome IdentifyOpenDrive(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                               const DriveCandidate& candidate, const NarrowCodePage& codePage,
                               DriveEntry* entry);

// Tries every candidate in order and returns the supported drives; report, when given, says what
// else it met.
DriveTable DiscoverDrives(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                          const std::vector<DriveCandidate>& candidates,
                          const NarrowCodePage& codePage, DiscoveryReport* report = nullptr);

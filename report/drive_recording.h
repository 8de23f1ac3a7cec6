// The read-only session the window has with a drive at start-up, run once more and recorded for a
// diagnostic report: the model identification buffer and the INQUIRY (discovery), the settings
// page, one read of the ready byte (the media watcher's poll) and the disc-presence probe. Only
// reads are sent: never WRITE BUFFER, never START STOP UNIT. A device that is no supported drive
// gets the identification and, when it is an optical drive the report describes, an INQUIRY:
// nothing of the maker's is sent to another drive.
//
// The drive access is held and the device open from the first command to the last, as the
// programs hold them; another program of the utility holding the drives longer than the wait
// leaves the device untouched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/narrow_code_page.h"
#include "report/command_recorder.h"

// How long the session waits for another program of the utility to let go of the drives.
constexpr uint32_t kRecordingAccessWaitMs = 10000;

// The steps of the session, as the recorded commands name them.
extern const char kStepIdentification[];  // READ BUFFER F1h, then for a supported drive INQUIRY
extern const char kStepInquiry[];         // INQUIRY of a device that is no supported drive
extern const char kStepSettingsPage[];    // READ BUFFER F4h mode 1
extern const char kStepReadyByte[];       // READ BUFFER F4h mode 0
extern const char kStepDiscPresenceProbe[];

struct DriveRecording {
    DriveCandidate device;
    bool busy = false;  // another program held the drives throughout the wait: nothing was sent
    bool opened = false;
    int openError = 0;  // the system's reason when the device could not be opened
    ProbeOutcome probe = ProbeOutcome::kNotOpened;
    // An optical drive that gave no model identification: why (ModelReadProblem), and the bytes
    // its model read brought.
    IdentificationProblem identification = IdentificationProblem::kNone;
    uint32_t modelReplyBytes = 0;
    std::string model;        // a supported drive's model identifier
    std::string inquiryText;  // a supported drive's INQUIRY text, as the drive list shows it
    bool settingsRead = false;
    int audioModeChangeable = -1;  // the ready byte's answer: 1 or 0; -1 when not polled
    int discPresent = -1;          // the disc-presence probe's answer: 1 or 0; -1 when not run
    std::vector<RecordedCommand> commands;
};

// Runs the session with the candidate through state, whose trace is the recorder, and the runner
// and mutex that go with state; inquire: send a device that is no supported drive its INQUIRY
// (only the identification otherwise, as discovery sends). The device is closed again afterwards.
DriveRecording RecordDriveSession(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                                  CommandRecorder& recorder, const DriveCandidate& candidate,
                                  const NarrowCodePage& codePage, bool inquire);

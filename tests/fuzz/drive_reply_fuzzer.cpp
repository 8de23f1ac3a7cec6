// libFuzzer target: a drive that answers anything. Every reply, reported length, SCSI status and
// sense byte of every command the program sends comes from the input (tests/fuzz/fuzz_transport.h),
// through discovery of three letters, the settings report and control state of the selected
// drive, the media watcher's polls, Apply and Restore Factory Default on the main window's
// template in the in-memory dialog backend. Every command worker runs on this thread.
//
// Input: one byte of choices, then the answers in the order the commands go out.
//   choices  bit 0 Japanese window (code page 932), bit 1 ON, bit 2 save speed,
//            bit 3 high speed playback, bit 4 low speed playback, bit 5 save audio,
//            bit 6 a write the system refuses ends the apply (the Linux front ends' answer),
//            bit 7 one worker cannot be started: the next byte numbers it (from 0)
// and, taken off the input's end, one byte of what the program meets besides the drive (0: the
// drive is had at once and the Windows window's retries answer a gone drive):
//   situation bit 0 another writer keeps the drive's lock, bit 1 its node cannot be opened,
//            bit 2 the exclusive claim is refused (a mounted disc), bit 3 the claim's node cannot
//            be opened, bit 4 a writer holds the drive at the watcher's first poll,
//            bit 5 a gone drive ends an operation at once (the Linux front ends)
//
// Besides the sanitizers it checks, on every input, that nothing the program shows goes beyond
// what the drive returned: the drive list's texts, the settings report and the controls, the
// ready flag, and "complete" / "default setting" only for values the read-backs confirmed.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialog/dialog.h"
#include "dialog/memory/memory_dialog_host.h"
#include "drive/command_runner.h"
#include "drive/command_trace.h"
#include "drive/drive_discovery.h"
#include "drive/drive_handle.h"
#include "drive/drive_state.h"
#include "drive/media_watcher.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_claim.h"
#include "platform/thread.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "settings/apply_settings.h"
#include "settings/current_settings.h"
#include "settings/drive_write_access.h"
#include "settings/settings_context.h"
#include "tests/fuzz/fuzz_transport.h"
#include "ui/control_state.h"

namespace {

constexpr char kProbedLetters[] = {'D', 'E', 'F'};
constexpr char kSelectedLetter = 'E';
// The letter the system lists as an optical drive (as Linux lists its drives): one that fails
// identification is named with what went wrong.
constexpr char kOpticalLetter = 'F';
constexpr uint32_t kSettingsBytesNeeded = 24;  // through byte 23, the saved audio mode
constexpr uint32_t kReadyBytesNeeded = 25;     // through byte 24, the ready byte

enum SituationBit : uint8_t {
    kLockBusy = 1 << 0,
    kLockFails = 1 << 1,
    kClaimBusy = 1 << 2,
    kClaimFails = 1 << 3,
    kReaderLockedOut = 1 << 4,
    kEndOnGoneDrive = 1 << 5,
};

enum ChoiceBit : uint8_t {
    kJapanese = 1 << 0,
    kSpeedOn = 1 << 1,
    kSaveSpeed = 1 << 2,
    kHighSpeedPlayback = 1 << 3,
    kLowSpeedPlayback = 1 << 4,
    kSaveAudio = 1 << 5,
    kStopOnRefusedWrite = 1 << 6,
    kRefuseOneWorker = 1 << 7,
};

// Runs every worker on the calling thread, but refuses the start with the given number, as a
// system out of threads would. A write refused so is still one the program meant: the drive is
// told of it, since only its read-back decides whether the value is there (the drive may hold it
// already).
class FuzzExecutor : public WorkerExecutor {
public:
    FuzzExecutor(FuzzTransport& drive, int refusedStart)
        : drive_(drive), refusedStart_(refusedStart) {}
    ThreadHandle Start(void (*body)(void*), void* argument,
                       ThreadPriority priority) const override {
        if (starts_++ != refusedStart_) {
            ++ran;
            return InlineWorker().Start(body, argument, priority);
        }
        const DriveState& state = *static_cast<const CommandWorkerContext*>(argument)->state;
        if (body == CommandWorker && state.block.code == kCodeWriteBuffer) {
            drive_.NoteWriteNotCarriedOut(state.buffers.DataOutBuffer(),
                                          state.block.transferLength);
        }
        return nullptr;
    }
    mutable int ran = 0;  // workers started (and, on this thread, ended)

private:
    FuzzTransport& drive_;
    const int refusedStart_;  // -1: none
    mutable int starts_ = 0;
};

// The drive's lock and claim as the input's situation byte has them; nothing is really locked.
class FuzzDriveClaims : public DriveClaims {
public:
    explicit FuzzDriveClaims(uint8_t situation) : situation_(situation) {}
    HoldResult LockForWriting(const std::string& /*blockNode*/, uint32_t /*waitMs*/) override {
        return Answer(kLockBusy, kLockFails);
    }
    HoldResult ClaimExclusively(const std::string& /*blockNode*/) override {
        return Answer(kClaimBusy, kClaimFails);
    }
    std::unique_ptr<DriveReadLock> OpenReadLock(const std::string& /*blockNode*/) override {
        return nullptr;
    }
    std::string MountPointOf(const std::string& /*deviceNumber*/) override { return "/media/cd"; }

private:
    HoldResult Answer(uint8_t busy, uint8_t fails) const {
        HoldResult result;
        if ((situation_ & busy) != 0) {
            result.outcome = HoldOutcome::kBusy;
            result.osError = EBUSY;
        } else if ((situation_ & fails) != 0) {
            result.outcome = HoldOutcome::kFailed;
            result.osError = ENOENT;
        } else {
            result.outcome = HoldOutcome::kHeld;
        }
        return result;
    }
    const uint8_t situation_;
};

// The watcher's read lock: refused when the situation says a writer has the drive. What it
// went through stays in the rig's ReadLockSeen after the watcher has destroyed it.
struct ReadLockSeen {
    bool lockedOut = false;
    bool held = false;
};

class FuzzReadLock : public DriveReadLock {
public:
    explicit FuzzReadLock(ReadLockSeen& seen) : seen_(seen) {}
    bool TryHold() override {
        seen_.held = !seen_.lockedOut;
        return seen_.held;
    }
    void Release() override { seen_.held = false; }

private:
    ReadLockSeen& seen_;
};

DriveCandidate ProbedCandidate(char letter) {
    DriveCandidate candidate = LetterCandidate(letter);
    candidate.opticalDrive = letter == kOpticalLetter;
    return candidate;
}

DriveCandidate SelectedCandidate() {
    return ProbedCandidate(kSelectedLetter);
}

// The window's side of the completion message: one for every worker that ran.
class CountingSink : public CommandDoneSink {
public:
    void PostCommandDone() override { ++posted; }
    int posted = 0;
};

// The user's side: the choices of the input's first byte, and the status lines and alerts.
class FuzzFrontEnd : public SettingsFrontEnd {
public:
    SettingChoice OptimalSpeedChoice() const override { return speed; }
    SettingChoice AudioModeChoice() const override { return audio; }
    void ChooseFactoryValues(const SupportedSettings& supported) override {
        if (supported.optimalSpeed == 1) {
            speed = SettingChoice{true, 0, 1};
        }
        if (supported.audioMode == 1) {
            audio = SettingChoice{true, 0, 1};
        }
    }
    // Half the inputs stop at a write the system refused, as the Linux front ends do.
    int OnWriteRefused(int /*osError*/) override {
        return stopOnRefusal ? IDS_WRITE_NEEDS_SG : kGoOnAsBefore;
    }
    void ClearShownStatus() override {}
    void Alert(int /*stringId*/) override {}
    void LogAppend(int stringId) override { ids.push_back(stringId); }
    void LogClear() override { ids.clear(); }
    bool Shows(int stringId) const {
        return std::find(ids.begin(), ids.end(), stringId) != ids.end();
    }
    SettingChoice speed;
    SettingChoice audio;
    bool stopOnRefusal = false;
    std::vector<int> ids;
};

// The list entry of a letter: the letter, ": ", and the INQUIRY bytes that came back from offset
// 8 up to the first zero, at most to byte 44.
std::string ExpectedEntryText(char letter, const ReplySeen& inquiry) {
    std::string text{letter, ':', ' '};
    const uint32_t end = std::min<uint32_t>(inquiry.returned, 45);
    for (uint32_t i = 8; i < end && inquiry.bytes[i] != 0; ++i) {
        text.push_back(static_cast<char>(inquiry.bytes[i]));
    }
    return text;
}

bool PageCameBack(const ReplySeen& read) {
    return read.good && read.returned >= kSettingsBytesNeeded;
}

// A setting written in the last operation counts only with its read-back confirmed; an operation
// that wrote nothing has confirmed nothing.
bool WritesConfirmed(const FuzzTransport& drive) {
    const SettingWriteSeen& speed = drive.OptimalSpeedWrite();
    const SettingWriteSeen& audio = drive.AudioModeWrite();
    if (!speed.written && !audio.written) {
        return false;
    }
    return (!speed.written || speed.confirmed) && (!audio.written || audio.confirmed);
}

// Obtaining and zero-filling two 2 MiB buffers costs far more than the rest of an input, so one
// pair serves every input, its reply area cleared before each (FuzzTransport answers no command
// that asks for more). Each Rig borrows it for its input.
TransferBuffers& KeptBuffers() {
    static TransferBuffers kept;
    return kept;
}

TransferBuffers& ClearedKeptBuffers() {
    TransferBuffers& kept = KeptBuffers();
    if (!kept.IsAllocated()) {
        Require(AllocateTransferBuffers(kept) == 1, "transfer buffers");
    }
    std::memset(kept.DataInBuffer(), 0, kReplyArea);
    std::memset(kept.DataOutBuffer(), 0, kReplyArea);
    return kept;
}

// The main window in one language. Building its controls converts every text of the template,
// which costs several times the rest of an input, so each language's window is opened once and
// serves every input. No input depends on the ones before it: UpdateControls sets every control
// the properties look at, and nothing else reads the window.
struct KeptWindow {
    explicit KeptWindow(uint16_t language) : host(GeneratedResourceCatalog(), language) {
        Require(host.Open(window), "main window template");
    }
    MemoryDialogHost host;
    CDialog window{IDD_MAIN, host};
};

KeptWindow& KeptWindowIn(uint16_t language) {
    static KeptWindow english(kLanguageEnglish);
    static KeptWindow japanese(kLanguageJapanese);
    return language == kLanguageJapanese ? japanese : english;
}

// With FUZZ_SHOW_OUTPUT set (replaying one input to see what it does), every command's trace line
// and every status line go to stderr.
class ShowingTrace : public CommandTraceSink {
public:
    void OnCommand(const TracedCommand& command) override {
        std::fprintf(stderr, "%s\n", FormatTraceLine(command).c_str());
    }
};

bool ShowOutput() {
    static const bool show = std::getenv("FUZZ_SHOW_OUTPUT") != nullptr;
    return show;
}

void ShowStatusLines(const char* operation, const std::vector<int>& ids) {
    if (ShowOutput()) {
        std::fprintf(stderr, "%s:", operation);
        for (int id : ids) {
            std::fprintf(stderr, " %d", id);
        }
        std::fprintf(stderr, "\n");
    }
}

// Everything one input runs against: a fresh drive state (with the kept buffers) and log, and the
// kept window of the input's language.
struct Rig {
    Rig(FuzzInput& input, uint16_t language, int refusedStart, uint8_t situation)
        : transport(input),
          executor(transport, refusedStart),
          kept(KeptWindowIn(language)),
          claims(situation),
          readLock{(situation & kReaderLockedOut) != 0} {
        std::swap(drive.buffers, ClearedKeptBuffers());
        drive.endOnGoneDrive = (situation & kEndOnGoneDrive) != 0;
        context.writeAccess = &writeAccess;
        if (ShowOutput()) {
            drive.trace = &showing;
        }
    }
    ~Rig() { std::swap(drive.buffers, KeptBuffers()); }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    FuzzTransport transport;
    ShowingTrace showing;
    DriveState drive{transport};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    // Every worker runs on this thread, to its end: no outcome depends on time, and an input
    // costs no thread.
    FuzzExecutor executor;
    CountingSink completions;
    CommandRunner runner{drive, *mutex, &completions, kWaitForever, executor};
    KeptWindow& kept;
    MemoryDialogHost& host = kept.host;
    CDialog& window = kept.window;
    FuzzFrontEnd log;  // the front end, and the status log it keeps
    SupportedSettings supported;
    ApplyFlags apply;
    MediaWatcher& watcher = GetMediaWatcher();  // the process's one, as the window has it
    SettingsContext context{drive, *mutex, runner, log, supported, apply, watcher};
    FuzzDriveClaims claims;
    DriveWriteAccess writeAccess{claims, SelectedCandidate()};
    ReadLockSeen readLock;
};

// Each letter is opened once, in order, so the INQUIRY after the Nth open is the Nth letter's.
void Discover(Rig& rig) {
    std::vector<DriveCandidate> candidates;
    for (char letter : kProbedLetters) {
        candidates.push_back(ProbedCandidate(letter));
    }
    DiscoveryReport met;
    const DriveTable table =
        DiscoverDrives(rig.drive, rig.runner, *rig.mutex, candidates, rig.host, &met);
    std::vector<std::string> refused;
    for (size_t open = 0; open < rig.transport.RefusedOpens().size(); ++open) {
        if (rig.transport.RefusedOpens()[open]) {
            refused.push_back(candidates[open].name);
        }
    }
    std::vector<std::string> named;
    for (const UnopenedDevice& device : met.unopened) {
        named.push_back(device.device.name);
    }
    for (const UnidentifiedDrive& drive : met.unidentified) {
        Require(drive.device.opticalDrive && drive.device.name[0] == kOpticalLetter,
                "only a drive the system lists as optical is named as unidentified");
    }
    Require(named == refused,
            "discovery names as unopened exactly the devices whose open was refused, in order");
    for (const DriveEntry& entry : table) {
        const size_t index =
            std::find(std::begin(kProbedLetters), std::end(kProbedLetters), entry.device.name[0]) -
            std::begin(kProbedLetters);
        Require(entry.listText ==
                    ExpectedEntryText(entry.device.name[0], rig.transport.InquiryAfterOpen(index)),
                "drive list text is the letter and the INQUIRY bytes that came back");
    }
}

void ShowSelectedDrive(Rig& rig) {
    UpdateControls(rig.context, rig.window, 0);
    Require(rig.host.IsEnabled(IDC_APPLY) == PageCameBack(rig.transport.LastSettingsRead()),
            "controls enabled only from a settings page that came back");

    ReadCurrentSettings(rig.context);
    const ReplySeen& page = rig.transport.LastSettingsRead();
    if (rig.log.Shows(IDS_CURRENT_SETTING)) {
        Require(PageCameBack(page), "settings report only from a page that came back");
        Require(rig.supported.optimalSpeed == (page.bytes[18] == 1 ? 1 : 0) &&
                    rig.supported.audioMode == (page.bytes[21] == 1 ? 1 : 0),
                "supported flags from the page that came back");
    } else {
        Require(rig.supported.optimalSpeed == 0 && rig.supported.audioMode == 0,
                "no supported setting without a settings report");
    }
}

void CheckReadyFlag(const Rig& rig) {
    const ReplySeen& poll = rig.transport.LastReadyPoll();
    Require(rig.watcher.IsReady() == 0 ||
                (poll.good && poll.returned >= kReadyBytesNeeded && poll.bytes[24] == 1),
            "ready flag only from a poll whose byte 24 came back as 1");
}

// The second poll through the watcher's test hook, which polls without its loop.
void PollOnce(Rig& rig) {
    const int ready = rig.watcher.PollOnce(rig.drive, *rig.mutex);
    Require(ready == rig.watcher.IsReady(), "the hook's answer is the ready flag");
    CheckReadyFlag(rig);
}

// One round of the watcher's loop, on this thread: the stop request made beforehand ends it right
// after its first poll, so the poll never runs beside another command and takes its answer at a
// fixed place in the input.
void PollMediaWatcher(Rig& rig) {
    rig.watcher.RequestStop();
    if (rig.readLock.lockedOut) {
        // The flag the skipped poll keeps comes from this input, not from the one before it.
        PollOnce(rig);
    }
    const int sentBefore = rig.transport.SentInAll();
    const int readyBefore = rig.watcher.IsReady();
    ThreadHandle thread = rig.watcher.Start(
        rig.drive, *rig.mutex, std::make_unique<FuzzReadLock>(rig.readLock), InlineWorker());
    Require(thread != nullptr, "media watcher loop runs");
    Require(rig.watcher.StopRequested() == 0, "media watcher clears its stop request");
    StopMediaWatcher(rig.watcher, &thread);
    Require(thread == nullptr && rig.watcher.StopRequested() == 0,
            "an ended watcher stopped leaves no stop request");
    Require(!rig.readLock.held, "the watcher gives its read lock back after the poll");
    if (rig.readLock.lockedOut) {
        Require(rig.transport.SentInAll() == sentBefore && rig.watcher.IsReady() == readyBefore,
                "a poll a writer locks out sends nothing and keeps the ready flag");
    }
    CheckReadyFlag(rig);
}

// As the window reads its buttons: low speed playback only with its button checked and the high
// speed one not.
void ChooseSettings(FuzzFrontEnd& frontEnd, uint8_t choices) {
    frontEnd.speed.value = (choices & kSpeedOn) != 0 ? 1 : 0;
    frontEnd.speed.save = (choices & kSaveSpeed) != 0 ? 1 : 0;
    const bool low = (choices & kLowSpeedPlayback) != 0 && (choices & kHighSpeedPlayback) == 0;
    frontEnd.audio.value = low ? 1 : 0;
    frontEnd.audio.save = (choices & kSaveAudio) != 0 ? 1 : 0;
    frontEnd.stopOnRefusal = (choices & kStopOnRefusedWrite) != 0;
}

// A drive that could not be had to ourselves gets no command at all; an operation the drive's
// going ended is no success.
void CheckRefusedAccess(const Rig& rig, const ApplyResult& result, int sentBefore) {
    if (result.access.outcome != WriteAccessOutcome::kGranted) {
        Require(rig.transport.SentInAll() == sentBefore && !result.succeeded,
                "nothing is sent to a drive that could not be had to ourselves");
    }
    Require(!result.driveGone || (rig.drive.endOnGoneDrive && !result.succeeded),
            "a gone drive ends an operation only where asked, and never as a success");
}

void Apply(Rig& rig, uint8_t choices) {
    ChooseSettings(rig.log, choices);
    rig.log.ids.clear();
    rig.transport.ForgetWrites();
    const int sentBefore = rig.transport.SentInAll();
    const ApplyResult result = ApplySettings(rig.context);
    ShowStatusLines("apply", rig.log.ids);
    CheckRefusedAccess(rig, result, sentBefore);
    const bool complete = rig.log.Shows(IDS_COMPLETE);
    Require(complete == (rig.apply.applySucceeded == 1), "\"complete\" with apply-succeeded");
    Require(!complete || WritesConfirmed(rig.transport),
            "\"complete\" only when every setting written was confirmed");
}

void RestoreDefaults(Rig& rig) {
    rig.log.ids.clear();
    rig.transport.ForgetWrites();
    const int sentBefore = rig.transport.SentInAll();
    const ApplyResult result = RestoreFactoryDefault(rig.context);
    ShowStatusLines("restore", rig.log.ids);
    CheckRefusedAccess(rig, result, sentBefore);
    Require(!rig.log.Shows(IDS_DEFAULT_SETTING) || WritesConfirmed(rig.transport),
            "\"default setting\" only when every setting written was confirmed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t situation = input.TailByte();
    const uint8_t choices = input.Byte();
    const int refusedStart = (choices & kRefuseOneWorker) != 0 ? input.Byte() : -1;
    Rig rig(input, (choices & kJapanese) != 0 ? kLanguageJapanese : kLanguageEnglish, refusedStart,
            situation);

    Discover(rig);
    OpenDrive(rig.drive, SelectedCandidate().devicePath);
    ShowSelectedDrive(rig);
    PollMediaWatcher(rig);
    Apply(rig, choices);
    PollOnce(rig);
    RestoreDefaults(rig);
    CloseDrive(rig.transport, rig.drive.driveHandle);
    Require(rig.completions.posted == rig.executor.ran, "every worker that ran says it has ended");
    return 0;
}

#include "ui/base_dlg.h"

#include <iterator>
#include <string>

#include "drive/drive_handle.h"
#include "res/resource_ids.h"
#include "settings/apply_settings.h"
#include "settings/current_settings.h"
#include "settings/drive_write_access.h"
#include "ui/about_dlg.h"
#include "ui/control_state.h"

namespace {

constexpr unsigned kLogTimerId = 0;
constexpr unsigned kLogTimerPeriodMs = 2;  // while status lines wait to be shown
// With nothing queued the timer only follows the ready flag, which the watcher renews once a
// second; ticking every 2 ms then would cost CPU for nothing.
constexpr unsigned kIdleTimerPeriodMs = 250;
constexpr uint32_t kRediscoveryDelayMs = 3500;

}  // namespace

CBaseDlg::CBaseDlg(DialogBackend& backend, LogRing& log, MainWindowServices& services)
    : CDialog(IDD_MAIN, backend),
      log_(log),
      services_(services),
      drive_(services.drive),
      notices_(log, backend),
      checkSettingButton_(*this, IDC_CHECK_SETTING),
      applyButton_(*this, IDC_APPLY),
      logEdit_(*this, IDC_LOG_EDIT),
      driveCombo_(*this, IDC_DRIVE_COMBO),
      applicationIcon_(backend.LoadIconResource(IDR_MAINFRAME)),
      restoreButton_(*this, IDC_RESTORE_DEFAULT) {}

// Normally OnDestroy has done this; a window that never got there must not leave a watcher
// polling a drive whose state goes away with the program.
CBaseDlg::~CBaseDlg() {
    log_.SetPendingListener(nullptr);
    StopWatcher();
    CloseDrive(drive_.transport, drive_.driveHandle);
}

const MessageMap& CBaseDlg::GetMessageMap() const {
    static constexpr MessageMapEntry kEntries[] = {
        MapSysCommand<&CBaseDlg::OnSysCommand>(),
        MapPaint<&CBaseDlg::OnPaint>(),
        MapQueryDragIcon<&CBaseDlg::OnQueryDragIcon>(),
        MapCommand<&CBaseDlg::OnSelChangeDrive>(kCbnSelChange, IDC_DRIVE_COMBO),
        MapDestroy<&CBaseDlg::OnDestroy>(),
        MapClicked<&CBaseDlg::OnApply>(IDC_APPLY),
        MapClicked<&CBaseDlg::OnCheckSetting>(IDC_CHECK_SETTING),
        MapTimer<&CBaseDlg::OnTimer>(),
        MapMessage<&CBaseDlg::OnCommandDone>(kWmCommandDone),
        MapClicked<&CBaseDlg::OnRestoreFactoryDefault>(IDC_RESTORE_DEFAULT),
        MapControlColorStatic<&CBaseDlg::OnControlColor>(),
        MapClicked<&CBaseDlg::OnLowSpeedPlayback>(IDC_AUDIO_LOW),
        MapClicked<&CBaseDlg::OnHighSpeedPlayback>(IDC_AUDIO_HIGH),
        MapClicked<&CBaseDlg::OnSaveSpeed>(IDC_SAVE_SPEED),
        MapClicked<&CBaseDlg::OnSaveAudio>(IDC_SAVE_AUDIO),
        MapHelp<&CBaseDlg::OnHelpInfo>(),
    };
    static const MessageMap kMap{&CDialog::BaseMessageMap(), kEntries, std::size(kEntries)};
    return kMap;
}

void CBaseDlg::PostCommandDone() {
    PostToWindow(kWmCommandDone, 0, 0);
}

bool CBaseDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutMenuItem();
    if (services_.diagnosticReport) {
        AppendDiagnosticReportItem(*this);
    }
    SetIcon(applicationIcon_, true);
    SetIcon(applicationIcon_, false);

    AllocateTransferBuffers(drive_.buffers);
    mutex_ = services_.createMutex();
    if (mutex_ == nullptr) {
        return EndInitialisationEarly(IDS_CREATE_MUTEX_FAILED);
    }
    runner_ = std::make_unique<CommandRunner>(drive_, *mutex_, this, services_.commandWaitMs);
    drive_.endOnGoneDrive = services_.accessMessages->EndsOperationOnGoneDrive();

    const int platform = services_.osPlatformId();
    if (platform == kOsPlatformWindows9x) {
        return EndInitialisationEarly(IDS_UNSUPPORTED_OS);
    }
    if (platform == kOsPlatformNt) {
        drive_.transportMode = kTransportModePassThrough;
    } else {
        notices_.Queue(UserMessage{IDS_UNKNOWN_OS, {}});  // the start value is pass-through too
    }
    DiscoverWithRetry();

    ComboSetCurSel(IDC_DRIVE_COMBO, 0);
    SetTimer(kLogTimerId, kLogTimerPeriodMs);
    logTimerPeriodMs_ = kLogTimerPeriodMs;
    log_.SetPendingListener([this] { SetLogTimerPeriod(kLogTimerPeriodMs); });
    if (drivesFound_ == 0) {
        SettingsContext settings = Settings();
        UpdateControls(settings, *this, 1);
        notices_.Append(services_.accessMessages->NoDriveListed(drives_.LastDiscovery()));
        notices_.Forget();  // nothing clears the queue here: they are shown ahead of this line
        driveCombo_.Enable(false);
        return true;
    }
    QueueUnlistedDevices();
    const UserMessage failure = OpenSelectedDrive();
    if (failure.stringId != 0) {
        notices_.Queue(failure);
    } else {
        StartWatcher();
    }
    ShowDriveSettings();
    return true;
}

void CBaseDlg::AddAboutMenuItem() {
    if (!HasSystemMenu()) {
        return;
    }
    const std::string aboutText = LoadText(IDS_ABOUTBOX);
    if (!aboutText.empty()) {
        AppendSystemMenuSeparator();
        AppendSystemMenuItem(IDM_ABOUTBOX, aboutText);
    }
}

// Without the mutex, or on a platform the program refuses, there is nothing behind the drive
// buttons: they are disabled rather than left to fail unseen.
bool CBaseDlg::EndInitialisationEarly(int messageId) {
    ShowMessageBox(LoadText(messageId));
    applyButton_.Enable(false);
    restoreButton_.Enable(false);
    checkSettingButton_.Enable(false);
    return true;
}

// A drive that is still coming up may not answer at once: one more look after a pause.
void CBaseDlg::DiscoverWithRetry() {
    drivesFound_ = DiscoverDrives();
    if (drivesFound_ == 0) {
        services_.sleep(kRediscoveryDelayMs);
        drivesFound_ = DiscoverDrives();
    }
}

// Lists the supported drives in the order the system offers them (on Windows, of their letters);
// no drive stays open.
int CBaseDlg::DiscoverDrives() {
    ComboResetContent(IDC_DRIVE_COMBO);
    drives_.Discover(drive_, *runner_, *mutex_, services_.listCandidates(), Backend());
    for (const DriveEntry& entry : drives_.Table()) {
        ComboInsertString(IDC_DRIVE_COMBO, -1, entry.listText);
    }
    return drives_.Count();
}

// Devices discovery could not open while it listed others: each is named, with what to do, on a
// line of its own after the report (where the platform has words for it).
void CBaseDlg::QueueUnlistedDevices() {
    for (const UnopenedDevice& unopened : drives_.LastDiscovery().unopened) {
        const UserMessage named = services_.accessMessages->NotListed(unopened);
        if (named.stringId != 0) {
            notices_.Queue(named);
        }
    }
}

// Opens the selected drive and confirms that it is the drive that was listed, before anything
// else is sent to it. Returns the words for a failure, or a message with string id 0 when the
// drive is open. A device that is not the listed drive is closed at once and counts as gone, as
// does a drive the system says is gone: neither is opened again until the list is read again.
UserMessage CBaseDlg::OpenSelectedDrive() {
    if (const UserMessage* gone = drives_.SelectedGone()) {
        return *gone;
    }
    const DriveCandidate device = drives_.SelectedDevice();
    switch (drives_.OpenSelected(drive_, *runner_, *mutex_, Backend())) {
        case IdentityOutcome::kConfirmed:
            return UserMessage{};
        case IdentityOutcome::kNotOpened:
            return services_.accessMessages->OpenFailed(device, drive_.openError);
        case IdentityOutcome::kOtherDevice:
            drives_.MarkSelectedGone(UserMessage{IDS_OPEN_FAILED, {}});
            break;
        case IdentityOutcome::kDriveGone:
            return DriveGoneAway();
        case IdentityOutcome::kUnconfirmed:
            break;
    }
    return UserMessage{IDS_OPEN_FAILED, {}};
}

// The selected drive is no longer there: where that ends what the window does with it (Linux),
// the entry counts as gone. Returns the words for it.
UserMessage CBaseDlg::DriveGoneAway() {
    const UserMessage words = services_.accessMessages->DriveGone(drives_.SelectedDevice());
    if (drive_.endOnGoneDrive) {
        drives_.MarkSelectedGone(words);
    }
    return words;
}

// The watcher has stopped polling a drive it found gone: the entry is not opened again.
void CBaseDlg::NoteWatchedDriveGone() {
    if (mediaWatcherThread_ != nullptr && services_.watcher.DriveGone() == 1 &&
        drives_.SelectedGone() == nullptr) {
        DriveGoneAway();
    }
}

void CBaseDlg::StartWatcher() {
    mediaWatcherThread_ = services_.watcher.Start(
        drive_, *mutex_, services_.claims->OpenReadLock(drives_.SelectedDevice().blockNode));
}

void CBaseDlg::StopWatcher() {
    StopMediaWatcher(services_.watcher, &mediaWatcherThread_);
}

// The controls and the report of the selected drive; notices queued before the report would be
// dropped by its clearing of the queue, so they follow it on a line of their own.
void CBaseDlg::ShowDriveSettings() {
    SettingsContext settings = Settings();
    UpdateControls(settings, *this, 0);
    ReadCurrentSettings(settings);
    notices_.Requeue();
}

SettingsContext CBaseDlg::Settings(DriveWriteAccess* writeAccess) {
    return SettingsContext{drive_,     *mutex_,     *runner_,          *this,
                           supported_, applyFlags_, services_.watcher, writeAccess};
}

SettingChoice CBaseDlg::OptimalSpeedChoice() const {
    SettingChoice choice;
    choice.value = GetCheck(IDC_SPEED_ON) == 1 ? 1 : 0;
    choice.save = GetCheck(IDC_SAVE_SPEED) == 1 ? 1 : 0;
    return choice;
}

// Low speed playback only when its button is checked and the high speed one is not.
SettingChoice CBaseDlg::AudioModeChoice() const {
    SettingChoice choice;
    choice.value = GetCheck(IDC_AUDIO_HIGH) != 1 && GetCheck(IDC_AUDIO_LOW) == 1 ? 1 : 0;
    choice.save = GetCheck(IDC_SAVE_AUDIO) == 1 ? 1 : 0;
    return choice;
}

// Check states of the supported settings only; the description follows the button checked, as a
// click on it would set it.
void CBaseDlg::ChooseFactoryValues(const SupportedSettings& supported) {
    if (supported.optimalSpeed == 1) {
        SetCheck(IDC_SPEED_ON, 0);
        SetCheck(IDC_SPEED_OFF, 1);
        SetCheck(IDC_SAVE_SPEED, 1);
    }
    if (supported.audioMode == 1) {
        SetCheck(IDC_AUDIO_HIGH, 1);
        SetCheck(IDC_AUDIO_LOW, 0);
        SetCheck(IDC_SAVE_AUDIO, 1);
        ShowAudioModeDescription(*this, AudioMode::kHighSpeedPlayback);
    }
}

void CBaseDlg::ClearShownStatus() {
    SetControlText(IDC_LOG_EDIT, "");
}

// A text with a "%s" names the selected drive's node (a refused write); the others show as they
// are.
void CBaseDlg::Alert(int stringId) {
    ShowMessageBox(notices_.TextOf(UserMessage{stringId, drives_.SelectedDevice().devicePath}));
}

// The kernel's filter refuses the write through a block node: the sg module may have been loaded
// since the drive was listed, so the drives are listed again before the refusal is told. With a
// generic node now, the apply ends quietly and is made again through it (RunApply).
int CBaseDlg::OnWriteRefused(int osError) {
    const int alert = services_.accessMessages->WriteRefused(drives_.SelectedDevice(), osError);
    if (alert == kGoOnAsBefore || !drives_.SelectedDevice().throughBlockNode ||
        !drives_.MoveSelectedToGenericNode(services_.listCandidates())) {
        return alert;
    }
    genericNodeAppeared_ = true;
    return kEndWithoutAlert;
}

void CBaseDlg::LogAppend(int stringId) {
    log_.LogAppend(stringId);
}

void CBaseDlg::LogClear() {
    log_.LogClear();
}

void CBaseDlg::OnSelChangeDrive() {
    if (runner_ == nullptr) {
        return;
    }
    StopWatcher();
    CloseDrive(drive_.transport, drive_.driveHandle);
    drives_.Select(ComboGetCurSel(IDC_DRIVE_COMBO));
    const UserMessage firstFailure = OpenSelectedDrive();
    if (firstFailure.stringId != 0) {
        notices_.Queue(firstFailure);
    }
    ShowDriveSettings();

    CloseDrive(drive_.transport, drive_.driveHandle);
    const UserMessage failure = OpenSelectedDrive();
    if (failure.stringId != 0) {
        ShowMessageBox(notices_.TextOf(failure));
    } else {
        StartWatcher();
    }
    audioControlsState_ = 0;  // the next tick sets the audio controls afresh
}

void CBaseDlg::OnCheckSetting() {
    if (runner_ == nullptr) {
        return;
    }
    SettingsContext settings = Settings();
    ReadCurrentSettings(settings);
}

void CBaseDlg::OnDestroy() {
    Default();
    StopWatcher();
    CloseDrive(drive_.transport, drive_.driveHandle);
    KillTimer(kLogTimerId);
    logTimerPeriodMs_ = 0;
    log_.SetPendingListener(nullptr);
    FreeTransferBuffers(drive_.buffers);
}

void CBaseDlg::OnSysCommand(unsigned commandId, intptr_t /*lParam*/) {
    if ((commandId & 0xFFF0u) == IDM_ABOUTBOX) {
        CAboutDlg about(*this);
        about.DoModal();
    } else if ((commandId & 0xFFF0u) == IDM_DIAGNOSTIC_REPORT && services_.diagnosticReport) {
        SaveDiagnosticReport(*this, services_.diagnosticReport, mutex_.get());
    } else {
        Default();
    }
}

void CBaseDlg::OnPaint() {
    if (!IsMinimised()) {
        Default();
        return;
    }
    DialogWindow* window = Window();
    const int x = (window->ClientWidth() - window->SystemIconWidth() + 1) / 2;
    const int y = (window->ClientHeight() - window->SystemIconHeight() + 1) / 2;
    window->PaintIcon(applicationIcon_, x, y);
}

IconHandle CBaseDlg::OnQueryDragIcon() {
    return applicationIcon_;
}

void CBaseDlg::OnControlColor(ControlColor& color) {
    if (color.controlId == IDC_AUDIO_DESCRIPTION) {
        color.setTextColor = true;
        color.textColor = kColorBlue;
        color.transparentBackground = true;
    }
}

bool CBaseDlg::OnHelpInfo() {
    return true;
}

void CBaseDlg::OnTimer(unsigned /*timerId*/) {
    if (log_.LogHasPending()) {
        ShowNextLogPiece();
    }
    FollowReadyFlag();
    NoteWatchedDriveGone();
    if (!log_.LogHasPending()) {
        SetLogTimerPeriod(kIdleTimerPeriodMs);
    }
    Default();
}

// Re-arms the running log timer (same id) with another period.
void CBaseDlg::SetLogTimerPeriod(unsigned periodMs) {
    if (logTimerPeriodMs_ != 0 && logTimerPeriodMs_ != periodMs) {
        SetTimer(kLogTimerId, periodMs);
        logTimerPeriodMs_ = periodMs;
    }
}

void CBaseDlg::ShowNextLogPiece() {
    const int end = logEdit_.GetTextLength();
    EditSetSel(IDC_LOG_EDIT, end, end);
    EditScrollCaret(IDC_LOG_EDIT);
    EditReplaceSel(IDC_LOG_EDIT, log_.LogPeek(), false);
    log_.LogAdvance();
}

// The audio-mode controls follow the drive's readiness; they are touched only when the flag and
// what the timer last did disagree.
void CBaseDlg::FollowReadyFlag() {
    static constexpr int kAudioControls[] = {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO};
    const int ready = services_.watcher.IsReady();
    int wanted = 0;
    if (ready == 1 && audioControlsState_ != 1) {
        wanted = 1;
    } else if (ready == 0 && audioControlsState_ != 2) {
        wanted = 2;
    } else {
        return;
    }
    for (int id : kAudioControls) {
        EnableControl(id, wanted == 1);
    }
    audioControlsState_ = wanted;
}

void CBaseDlg::OnHighSpeedPlayback() {
    ShowAudioModeDescription(*this, AudioMode::kHighSpeedPlayback);
}

void CBaseDlg::OnLowSpeedPlayback() {
    ShowAudioModeDescription(*this, AudioMode::kLowSpeedPlayback);
}

// The save check boxes only toggle; their state is read when Apply runs.
void CBaseDlg::OnSaveSpeed() {}
void CBaseDlg::OnSaveAudio() {}

intptr_t CBaseDlg::OnCommandDone(uintptr_t /*wParam*/, intptr_t /*lParam*/) {
    return runner_ != nullptr ? runner_->OnCommandDone() : 0;
}

void CBaseDlg::OnApply() {
    if (runner_ != nullptr) {
        ReportApply(RunApply(false));
    }
}

void CBaseDlg::OnRestoreFactoryDefault() {
    if (runner_ != nullptr) {
        ReportApply(RunApply(true));
    }
}

// One apply, or restore; when its write was refused through a block node and the drive has a
// generic node now, once more through that node, which the log then names.
ApplyResult CBaseDlg::RunApply(bool restore) {
    genericNodeAppeared_ = false;
    const auto applyOnce = [this, restore] {
        DriveWriteAccess access(*services_.claims, drives_.SelectedDevice());
        SettingsContext settings = Settings(&access);
        return restore ? RestoreFactoryDefault(settings) : ApplySettings(settings);
    };
    ApplyResult result = applyOnce();
    if (!genericNodeAppeared_) {
        return result;
    }
    genericNodeAppeared_ = false;
    if (ReopenThroughGenericNode()) {
        result = applyOnce();
        log_.LogAppend(IDS_LINE_BREAK);
        notices_.Append(
            UserMessage{IDS_NOW_THROUGH_GENERIC_NODE, drives_.SelectedDevice().devicePath});
    }
    return result;
}

// Closes the drive's block node and opens its generic node in its place, confirming that it is
// the same drive, with the watcher stopped meanwhile. False, with the failure shown, when it
// cannot be opened or is another device.
bool CBaseDlg::ReopenThroughGenericNode() {
    StopWatcher();
    CloseDrive(drive_.transport, drive_.driveHandle);
    const UserMessage failure = OpenSelectedDrive();
    if (failure.stringId != 0) {
        ShowMessageBox(notices_.TextOf(failure));
        return false;
    }
    StartWatcher();
    return true;
}

// What ended an apply before its writes, beyond the status lines and alerts the apply gave
// itself: the drive could not be had to ourselves, or it is gone (its watcher is then stopped:
// it would only find the same).
void CBaseDlg::ReportApply(const ApplyResult& result) {
    const DriveCandidate device = drives_.SelectedDevice();
    if (result.access.outcome != WriteAccessOutcome::kGranted) {
        ShowMessageBox(
            notices_.TextOf(services_.accessMessages->WriteAccessRefused(device, result.access)));
    }
    if (result.driveGone) {
        StopWatcher();
        ShowMessageBox(notices_.TextOf(DriveGoneAway()));
    }
}

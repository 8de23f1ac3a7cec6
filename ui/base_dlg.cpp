#include "ui/base_dlg.h"

#include <iterator>

#include "res/resource_ids.h"
#include "ui/about_dlg.h"

namespace {

constexpr unsigned kLogTimerId = 0;
constexpr unsigned kLogTimerPeriodMs = 2;

}  // namespace

CBaseDlg::CBaseDlg(DialogBackend& backend, LogRing& log)
    : CDialog(IDD_MAIN, backend),
      log_(log),
      readyFlag_([] { return 0; }),
      checkSettingButton_(*this, IDC_CHECK_SETTING),
      applyButton_(*this, IDC_APPLY),
      logEdit_(*this, IDC_LOG_EDIT),
      driveCombo_(*this, IDC_DRIVE_COMBO),
      applicationIcon_(backend.LoadIcon(IDR_MAINFRAME)),
      restoreButton_(*this, IDC_RESTORE_DEFAULT),
      saveSpeedCheck_(*this, IDC_SAVE_SPEED),
      saveAudioCheck_(*this, IDC_SAVE_AUDIO),
      descriptionText_(*this, IDC_AUDIO_DESCRIPTION) {}

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
    PostMessage(kWmCommandDone, 0, 0);
}

bool CBaseDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HasSystemMenu()) {
        const std::string aboutText = LoadString(IDS_ABOUTBOX);
        if (!aboutText.empty()) {
            AppendSystemMenuSeparator();
            AppendSystemMenuItem(IDM_ABOUTBOX, aboutText);
        }
    }
    SetIcon(applicationIcon_, true);
    SetIcon(applicationIcon_, false);

    // Drive discovery slots in here; until it exists no drive is ever found.
    ComboSetCurSel(IDC_DRIVE_COMBO, 0);
    SetTimer(kLogTimerId, kLogTimerPeriodMs);
    if (drivesFound_ == 0) {
        UpdateControls(1);
        log_.LogAppend(IDS_TARGET_NOT_FOUND);
        driveCombo_.Enable(false);
    }
    return true;
}

// Only the switch-everything-off form exists so far; reading a drive's settings page into the
// controls comes with the settings code.
void CBaseDlg::UpdateControls(int disableAll) {
    if (disableAll != 1) {
        return;
    }
    applyButton_.Enable(false);
    restoreButton_.Enable(false);
    checkSettingButton_.Enable(false);
    EnableControl(IDC_SPEED_ON, false);
    EnableControl(IDC_SPEED_OFF, false);
    saveSpeedCheck_.Enable(false);
    EnableControl(IDC_AUDIO_HIGH, false);
    EnableControl(IDC_AUDIO_LOW, false);
    saveAudioCheck_.Enable(false);
}

void CBaseDlg::OnSysCommand(unsigned commandId, intptr_t /*lParam*/) {
    if ((commandId & 0xFFF0u) == IDM_ABOUTBOX) {
        CAboutDlg about(*this);
        about.DoModal();
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
    Default();
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
    const int ready = readyFlag_();
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
    descriptionText_.SetText(LoadString(IDS_HIGH_SPEED_DESCRIPTION));
}

void CBaseDlg::OnLowSpeedPlayback() {
    descriptionText_.SetText(LoadString(IDS_LOW_SPEED_DESCRIPTION));
}

// The save check boxes only toggle; their state is read when Apply runs.
void CBaseDlg::OnSaveSpeed() {}
void CBaseDlg::OnSaveAudio() {}

// The worker's thread handle is closed here once the drive layer hands its workers over.
intptr_t CBaseDlg::OnCommandDone(uintptr_t /*wParam*/, intptr_t /*lParam*/) {
    return 0;
}

// Drive selection, Apply, Check setting and Restore Factory Default arrive with the drive and
// settings code; until then no drive is listed and their buttons stay disabled.
void CBaseDlg::OnSelChangeDrive() {}
void CBaseDlg::OnApply() {}
void CBaseDlg::OnCheckSetting() {}
void CBaseDlg::OnRestoreFactoryDefault() {}

void CBaseDlg::OnDestroy() {
    Default();
    KillTimer(kLogTimerId);
}

// CBaseDlg: the program's main window. It owns the controls' behaviour that belongs to the window
// itself (About command, minimised icon, F1, description colour, the log pump) and is where the
// drive and settings handlers hang in its message map.
#pragma once

#include <cstdint>
#include <functional>

#include "drive/command_done_sink.h"
#include "platform/dialog.h"
#include "platform/dialog_control.h"
#include "platform/thread.h"
#include "platform/window_messages.h"
#include "ui/log_ring.h"

class CBaseDlg : public CDialog, public CommandDoneSink {
public:
    CBaseDlg(DialogBackend& backend, LogRing& log);

    // Worker threads end by this: WM_COMMAND_DONE is posted to the window thread.
    void PostCommandDone() override;

    bool OnInitDialog() override;

    // The media watcher's ready flag, read afresh on every timer tick. Until a watcher is
    // attached the flag reads 0, as it does when no watcher has ever polled.
    void SetReadyFlagSource(std::function<int()> readyFlag) { readyFlag_ = std::move(readyFlag); }

protected:
    const MessageMap& GetMessageMap() const override;

private:
    void OnSysCommand(unsigned commandId, intptr_t lParam);
    void OnPaint();
    IconHandle OnQueryDragIcon();
    void OnSelChangeDrive();
    void OnDestroy();
    void OnApply();
    void OnCheckSetting();
    void OnTimer(unsigned timerId);
    intptr_t OnCommandDone(uintptr_t wParam, intptr_t lParam);
    void OnRestoreFactoryDefault();
    void OnControlColor(ControlColor& color);
    void OnLowSpeedPlayback();
    void OnHighSpeedPlayback();
    void OnSaveSpeed();
    void OnSaveAudio();
    bool OnHelpInfo();

    void UpdateControls(int disableAll);
    void ShowNextLogPiece();
    void FollowReadyFlag();

    LogRing& log_;
    std::function<int()> readyFlag_;

    DialogControl checkSettingButton_;
    DialogControl applyButton_;
    DialogControl logEdit_;
    DialogControl driveCombo_;
    int audioModeSupported_ = 0;
    IconHandle applicationIcon_;
    DialogControl restoreButton_;
    int optimalSpeedSupported_ = 0;
    DialogControl saveSpeedCheck_;
    int applySucceeded_ = 0;
    int restoreInProgress_ = 0;
    ThreadHandle workerThread_ = nullptr;
    DialogControl saveAudioCheck_;
    DialogControl descriptionText_;
    ThreadHandle mediaWatcherThread_ = nullptr;
    int drivesFound_ = 0;
    int audioControlsState_ = 0;  // 0 not set since start, 1 enabled, 2 disabled by the timer
};

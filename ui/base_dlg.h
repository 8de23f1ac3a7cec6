// CBaseDlg: the program's main window. At start-up it sets up drive access, finds the drives
// the program serves and lists them, opens the first, starts the media watcher and shows the
// drive's settings; it switches drives on selection and takes everything down on close. Its
// timer moves queued status lines into the log box and sets the audio controls from the
// watcher's ready flag.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dialog/dialog.h"
#include "dialog/dialog_control.h"
#include "dialog/window_messages.h"
#include "drive/command_done_sink.h"
#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "platform/drive_access_mutex.h"
#include "platform/thread.h"
#include "settings/apply_settings.h"
#include "settings/settings_context.h"
#include "settings/settings_front_end.h"
#include "settings/supported_settings.h"
#include "settings/user_message.h"
#include "ui/drive_selection.h"
#include "ui/log_ring.h"
#include "ui/main_window_services.h"
#include "ui/status_notices.h"

// The private message a command worker posts as its last act: its thread handle can be closed.
constexpr unsigned kWmCommandDone = 0x8001;

class CBaseDlg : public CDialog, public CommandDoneSink, public SettingsFrontEnd {
public:
    CBaseDlg(DialogBackend& backend, LogRing& log, MainWindowServices& services);
    ~CBaseDlg() override;

    // Worker threads end by this: WM_COMMAND_DONE is posted to the window thread.
    void PostCommandDone() override;

    bool OnInitDialog() override;

    // SettingsFrontEnd: the choices are the radio buttons and save check boxes; status lines go
    // to the log ring; alerts are message boxes.
    SettingChoice OptimalSpeedChoice() const override;
    SettingChoice AudioModeChoice() const override;
    void ChooseFactoryValues(const SupportedSettings& supported) override;
    void ClearShownStatus() override;
    void Alert(int stringId) override;
    int OnWriteRefused(int osError) override;
    void LogAppend(int stringId) override;
    void LogClear() override;

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

    void AddAboutMenuItem();
    bool EndInitialisationEarly(int messageId);
    void DiscoverWithRetry();
    int DiscoverDrives();
    void QueueUnlistedDevices();
    UserMessage OpenSelectedDrive();
    UserMessage DriveGoneAway();
    void NoteWatchedDriveGone();
    void StartWatcher();
    void StopWatcher();
    void ShowDriveSettings();
    SettingsContext Settings(DriveWriteAccess* writeAccess = nullptr);
    void ReportApply(const ApplyResult& result);
    void ShowNextLogPiece();
    void SetLogTimerPeriod(unsigned periodMs);
    void FollowReadyFlag();

    LogRing& log_;
    MainWindowServices& services_;
    DriveState& drive_;
    std::unique_ptr<DriveAccessMutex> mutex_;  // before runner_, which uses it
    std::unique_ptr<CommandRunner> runner_;    // holds the worker thread handle
    DriveSelection drives_;                    // the listed drives and the selected one
    SupportedSettings supported_;
    StatusNotices notices_;

    DialogControl checkSettingButton_;
    DialogControl applyButton_;
    DialogControl logEdit_;
    DialogControl driveCombo_;
    IconHandle applicationIcon_;
    DialogControl restoreButton_;
    ApplyFlags applyFlags_;  // apply-succeeded and restore-in-progress
    ThreadHandle mediaWatcherThread_ = nullptr;
    int drivesFound_ = 0;
    unsigned logTimerPeriodMs_ = 0;  // 0 while the log timer is not running
    int audioControlsState_ = 0;     // 0 not set since start or drive change, 1 enabled, 2 disabled
};

// What the settings operations need from whoever the user works with: the main window (its radio
// buttons and check boxes, log box and message boxes) or the command line (its arguments and its
// output). The operations know nothing of either.
#pragma once

#include <cstdint>

#include "settings/status_log.h"
#include "settings/supported_settings.h"

// One setting as the user chose it, coded as the settings page codes it.
struct SettingChoice {
    bool requested = true;  // false: this setting is left alone
    uint8_t value = 0;      // speed: 1 ON, 0 OFF; audio mode: 1 low, 0 high speed playback
    uint8_t save = 0;       // 1: the drive keeps the value as its saved value too
};

// A front end's answer to a refused write (OnWriteRefused) that lets the apply go on as before.
constexpr int kGoOnAsBefore = 0;
// A front end's answer to a refused write that ends the apply with no alert: the front end says
// itself what follows (it has found another way to the drive).
constexpr int kEndWithoutAlert = -1;

class SettingsFrontEnd : public StatusLog {
public:
    // The user's choices, read afresh for every write attempt.
    virtual SettingChoice OptimalSpeedChoice() const = 0;
    virtual SettingChoice AudioModeChoice() const = 0;
    // Makes the factory values (Optimal Writing Speed OFF, high speed playback, both saved) the
    // user's choice for the settings the drive supports; the others keep what they had.
    virtual void ChooseFactoryValues(const SupportedSettings& supported) = 0;
    // Empties what the user sees of earlier status lines (the window's log box).
    virtual void ClearShownStatus() = 0;
    // A failure the user must acknowledge, by string id (the window's message box).
    virtual void Alert(int stringId) = 0;
    // The system refused a write for want of rights (osError: EPERM, EACCES on Linux;
    // ERROR_ACCESS_DENIED on Windows) and the read-back did not show the value. A string id: the
    // apply alerts it once and stops, writing nothing more. kGoOnAsBefore: the write counts as any
    // unconfirmed one (retried, then the usual alert).
    virtual int OnWriteRefused(int osError) = 0;
    // Asked before each command that changes the drive (the disc stop, every write and retry):
    // true ends the operation there, each setting not yet written left as it is. A command line
    // says so after a request to end the program; the window never does.
    virtual bool StopBeforeNextWrite() const { return false; }
};

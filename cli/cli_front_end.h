// The settings operations' front end for one run of set or restore: the choices come from the
// command line (a setting not named is not requested), and the status lines and alerts the
// operations give by string id are kept for the output, as the window's log box and message
// boxes would have shown them.
#pragma once

#include <functional>
#include <vector>

#include "drive/audio_readiness.h"
#include "platform/drive_candidates.h"
#include "res/resource_ids.h"
#include "settings/settings_front_end.h"

class CliFrontEnd : public SettingsFrontEnd {
public:
    // device: where the drive is; a drive reached through a Linux block node cannot be written
    // by a user without administrator rights (the kernel's command filter), and is told so, in
    // a dry run as what would happen. stop: whether to end before the next write (a request to
    // end the program has arrived); empty for never.
    CliFrontEnd(const SettingChoice& optimalSpeed, const SettingChoice& audioMode,
                const DriveCandidate& device, bool dryRun, std::function<bool()> stop)
        : optimalSpeed_(optimalSpeed),
          audioMode_(audioMode),
          device_(device),
          dryRun_(dryRun),
          stop_(std::move(stop)) {}

    SettingChoice OptimalSpeedChoice() const override { return optimalSpeed_; }
    SettingChoice AudioModeChoice() const override { return audioMode_; }
    // The factory values, saved, for each setting the drive has; a setting it lacks is not
    // requested, so restoring a drive without the audio mode asks nothing of it.
    void ChooseFactoryValues(const SupportedSettings& supported) override;
    // The window's words for a write refused through a block node; otherwise the write counts as
    // any unconfirmed one, and the command line reports the refusal with its advice.
    int OnWriteRefused(int /*osError*/) override {
        if (!device_.throughBlockNode) {
            return kGoOnAsBefore;
        }
        return dryRun_ ? IDS_CLI_DRY_RUN_NEEDS_SG : IDS_WRITE_NEEDS_SG;
    }
    bool StopBeforeNextWrite() const override { return stop_ && stop_(); }
    void ClearShownStatus() override {}
    void Alert(int stringId) override { alerts_.push_back(stringId); }
    void LogAppend(int stringId) override { statusLines_.push_back(stringId); }
    void LogClear() override { statusLines_.clear(); }

    // The alerts in the order given, then the status lines the log box would show.
    const std::vector<int>& Alerts() const { return alerts_; }
    const std::vector<int>& StatusLines() const { return statusLines_; }

private:
    SettingChoice optimalSpeed_;
    SettingChoice audioMode_;
    DriveCandidate device_;
    bool dryRun_;
    std::function<bool()> stop_;
    std::vector<int> alerts_;
    std::vector<int> statusLines_;
};

// Whether the drive lets its audio mode be changed, from one read of its ready byte: the command
// line has no watcher polling in the background. The read is made when the apply first asks, that
// is once the drive is the apply's own (its lock held), and not again; with no read given the
// answer is no.
class PolledReadiness : public AudioReadiness {
public:
    explicit PolledReadiness(std::function<bool()> read) : read_(std::move(read)) {}
    int IsReady() const override {
        if (ready_ < 0) {
            ready_ = read_ && read_() ? 1 : 0;
        }
        return ready_;
    }

private:
    std::function<bool()> read_;
    mutable int ready_ = -1;  // not read yet
};

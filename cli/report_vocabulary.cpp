#include "cli/report_vocabulary.h"

#include "res/resource_ids.h"

const ReportedSetting kReportedSettings[2] = {
    {IDS_SPEED_LABEL,
     "optimal_writing_speed",
     {IDS_OFF, IDS_ON},
     {"off", "on"},
     &DeviceReport::optimalSpeed,
     &WriteReport::optimalSpeed},
    {IDS_AUDIO_LABEL,
     "audio_optimized_write_mode",
     {IDS_HIGH_SPEED_MODE, IDS_LOW_SPEED_MODE},
     {"high", "low"},
     &DeviceReport::audioMode,
     &WriteReport::audioMode},
};

// Each table follows its enumeration's order (settings/apply_settings.h, drive/drive_discovery.h).
namespace {

constexpr const char* kOutcomeWords[] = {"not_written", "confirmed", "not_confirmed", "not_ready",
                                         "refused"};
constexpr int kOutcomeTexts[] = {IDS_CLI_NOT_WRITTEN, IDS_CLI_CONFIRMED, IDS_CLI_NOT_CONFIRMED,
                                 IDS_CLI_NOT_READY, IDS_CLI_REFUSED};
constexpr const char* kDiscStopWords[] = {"not_needed", "stopped", "becoming_ready", "failed"};
constexpr const char* kProbeWords[] = {"not_opened", "no_model_reply", "other_model", "supported"};
constexpr int kProbeTexts[] = {IDS_OPEN_FAILED, IDS_CLI_NO_MODEL_REPLY, IDS_CLI_OTHER_MODEL, 0};

static_assert(static_cast<int>(SettingOutcome::kRefused) == 4, "kOutcomeWords needs a word");
static_assert(static_cast<int>(DiscStopOutcome::kFailed) == 3, "kDiscStopWords needs a word");
static_assert(static_cast<int>(ProbeOutcome::kSupported) == 3, "kProbeWords needs a word");

template <typename Enum>
size_t IndexOf(Enum value) {
    return static_cast<size_t>(value);
}

}  // namespace

const char* OutcomeWord(SettingOutcome outcome) {
    return kOutcomeWords[IndexOf(outcome)];
}

int OutcomeTextId(SettingOutcome outcome) {
    return kOutcomeTexts[IndexOf(outcome)];
}

const char* DiscStopWord(DiscStopOutcome outcome) {
    return kDiscStopWords[IndexOf(outcome)];
}

const char* ProbeWord(ProbeOutcome probe) {
    return kProbeWords[IndexOf(probe)];
}

int ProbeTextId(ProbeOutcome probe) {
    return kProbeTexts[IndexOf(probe)];
}

const char* SeverityWord(Severity severity) {
    switch (severity) {
        case Severity::kInformation:
            return "information";
        case Severity::kWarning:
            return "warning";
        case Severity::kError:
            return "error";
    }
    return "error";
}

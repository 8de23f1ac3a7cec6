// The one description of a report's values that both outputs render: each setting with its
// label, its JSON key, the words of its values (by string id for people, as a word for scripts)
// and where a report keeps it; the words of a write's outcome and of a probe's.
#pragma once

#include <cstdint>

#include "cli/cli_report.h"

struct ReportedSetting {
    int labelId;      // the window's label, "Optimal Writing Speed : "
    const char* key;  // the JSON key
    int textIds[2];   // value 0 (and any but 1), value 1
    const char* words[2];
    SettingState DeviceReport::*state;
    SettingWriteReport WriteReport::*write;

    int TextOf(uint8_t value) const { return textIds[value == 1 ? 1 : 0]; }
    const char* WordOf(uint8_t value) const { return words[value == 1 ? 1 : 0]; }
};

// Optimal Writing Speed, then Audio Optimized Write Mode.
extern const ReportedSetting kReportedSettings[2];

// How a write of one setting ended: the word for scripts, the line for people (which for
// kNotConfirmed takes the number of writes).
const char* OutcomeWord(SettingOutcome outcome);
int OutcomeTextId(SettingOutcome outcome);

// How the disc stop before saving went, for scripts.
const char* DiscStopWord(DiscStopOutcome outcome);

// A message's severity, for scripts: "information", "warning", "error".
const char* SeverityWord(Severity severity);

// Why a device is no supported drive: the word for scripts, the line for people.
const char* ProbeWord(ProbeOutcome probe);
int ProbeTextId(ProbeOutcome probe);

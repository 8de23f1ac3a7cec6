// The demo without a GUI: the main window runs on the in-memory dialog backend and what a person
// would see is printed as text: the drive list, the log box once the timer has shown every queued
// line, and each control's state and text. It shows start-up, the choice of the second drive and
// a press of Check setting, then closes the window.
#pragma once

#include <cstdint>
#include <ostream>

#include "sim/replayed_report.h"

// language: kLanguageEnglish or kLanguageJapanese (res/resource_catalog.h); texts are
// printed as UTF-8. replay: the drives of a diagnostic report instead of the demo's, nullptr for
// the demo's. Returns the program's exit code.
int RunConsoleDemo(uint16_t language, std::ostream& out, const ReplayedReport* replay = nullptr);

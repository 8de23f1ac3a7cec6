// The Linux window's "Save diagnostic report...": the item on the window's menu (the context
// menu there) and what it does: a file dialog for saving, its name suggested with the date
// (velmora-drive-report-YYYY-MM-DD.json in the home folder), then the report made with the
// window's drive-access mutex (reads only) and written to the file chosen. Nothing else is
// written; a report that cannot be written is told in a message box. Cancelling sends nothing.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "dialog/dialog.h"
#include "platform/drive_access_mutex.h"

// Makes the report document with the mutex the window's other drive commands take.
using DiagnosticReportMaker = std::function<std::string(DriveAccessMutex& mutex)>;

// The suggested file name for a report made at the time given (local time).
std::string SuggestedReportFileName(std::time_t now);

// Appends the item to the window's system menu (the Qt backend's context menu).
void AppendDiagnosticReportItem(CDialog& window);

// The item's command: asks for the file, makes the report and writes it. mutex may be null (it
// could not be created): the window then says so and makes none.
void SaveDiagnosticReport(CDialog& window, const DiagnosticReportMaker& makeReport,
                          DriveAccessMutex* mutex);

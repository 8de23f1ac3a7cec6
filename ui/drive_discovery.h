// Finding the drives the program serves: each letter from C to Z is opened, asked for its model
// identification buffer (READ BUFFER, buffer F1h, mode 2) and, when that names a supported
// model, for its INQUIRY text, which becomes the drive's entry in the list.
#pragma once

#include <string>

#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/narrow_code_page.h"

constexpr char kFirstDriveLetter = 'C';
constexpr char kLastDriveLetter = 'Z';

// 1 when the zero-terminated text contains "7315KT52    " or "7305KT52    ", found at a
// character boundary of the narrow code page (a lead byte pairs with the byte after it), else 0.
int IsSupportedModel(const char* text, const NarrowCodePage& codePage);

// Tries one letter. Returns 1 and the combo-box text ("E: " and the INQUIRY text) when a
// supported drive answers there, else 0. The drive is closed again either way, and only after
// each command's worker has ended.
int ProbeDriveLetter(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex, char letter,
                     const NarrowCodePage& codePage, std::string* entryText);

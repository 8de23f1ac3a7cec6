// The system's error numbers (errno, GetLastError()) as the command line tells them apart; a
// refusal for want of rights is drive/permission_refusal.h's IsPermissionError.
//
// Kept apart from the transport's headers on purpose: platform/os_error.h's enumerator
// OsErrorKind::kNoSuchDevice and the transport's constant kNoDevice cannot meet in one file, which
// GCC 12's -Wshadow reports as a shadowing declaration.
#pragma once

#include <string>

bool IsAbsentDevice(int osError);  // nothing there, or it went away
bool IsTimeout(int osError);       // the command did not end in time
bool IsBusy(int osError);          // another opener holds the device
bool IsDeviceError(int osError);   // the device did not answer the system

// The system's own words for the number ("Permission denied").
std::string SystemErrorText(int osError);

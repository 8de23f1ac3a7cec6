// Which of the two settings the selected drive has, as its last settings read found. Set by
// ReadCurrentSettings; the writing side reads it to decide what to write and what to restore.
#pragma once

struct SupportedSettings {
    int optimalSpeed = 0;  // the optimal-speed-supported flag, 0 or 1
    int audioMode = 0;     // the audio-mode-supported flag, 0 or 1
};

// The writing side's own flags, kept by the main window beside the supported ones.
struct ApplyFlags {
    int applySucceeded = 0;     // 1 only when the latest ApplySettings queued "complete"
    int restoreInProgress = 0;  // 1 only while RestoreFactoryDefault runs ApplySettings
};

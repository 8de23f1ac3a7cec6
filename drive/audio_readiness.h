// Whether the selected drive lets its Audio Optimized Write Mode be changed now. The main
// window's media watcher keeps this flag from its background polls of the drive.
#pragma once

class AudioReadiness {
public:
    virtual ~AudioReadiness() = default;
    // 1 when the audio mode may be changed now, else 0.
    virtual int IsReady() const = 0;
};

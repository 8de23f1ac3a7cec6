// A transport in front of the simulated drives that watches how the program uses handles: a
// handle closed while a command on it is still running, or a command sent on a handle that is
// not open, counts as a violation. Opens can be refused one by one.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "platform/scsi_transport.h"

class WatchingTransport : public ScsiTransport {
public:
    explicit WatchingTransport(ScsiTransport& inner) : inner_(inner) {}

    // Called with each letter to open; true refuses that open.
    void SetOpenRefusal(std::function<bool(char)> refuse) {
        std::lock_guard<std::mutex> guard(mutex_);
        refuse_ = std::move(refuse);
    }
    int Violations() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return violations_;
    }
    int OpenHandles() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return static_cast<int>(letters_.size());
    }
    std::vector<char> OpenLetters() const {
        std::lock_guard<std::mutex> guard(mutex_);
        std::vector<char> letters;
        for (const auto& [handle, letter] : letters_) {
            letters.push_back(letter);
        }
        return letters;
    }

    DeviceHandle Open(char letter) override {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (refuse_ && refuse_(letter)) {
                return kNoDevice;
            }
        }
        const DeviceHandle handle = inner_.Open(letter);
        if (handle != kNoDevice) {
            std::lock_guard<std::mutex> guard(mutex_);
            letters_[handle] = letter;
        }
        return handle;
    }

    void Close(DeviceHandle handle) override {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (running_[handle] > 0 || letters_.erase(handle) == 0) {
                ++violations_;
            }
        }
        inner_.Close(handle);
    }

    bool Execute(DeviceHandle handle, PassThroughRequest& request) override {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (handle != kNoDevice && letters_.count(handle) == 0) {
                ++violations_;
            }
            ++running_[handle];
        }
        const bool executed = inner_.Execute(handle, request);
        std::lock_guard<std::mutex> guard(mutex_);
        --running_[handle];
        return executed;
    }

private:
    ScsiTransport& inner_;
    mutable std::mutex mutex_;
    std::function<bool(char)> refuse_;
    std::map<DeviceHandle, char> letters_;
    std::map<DeviceHandle, int> running_;
    int violations_ = 0;
};

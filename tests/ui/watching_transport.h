// A transport in front of the simulated drives that watches how the program uses handles: a
// handle closed while a command on it is still running, or a command sent on a handle that is
// not open, counts as a violation. Opens can be refused one by one.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/scsi_transport.h"

class WatchingTransport : public ScsiTransport {
public:
    explicit WatchingTransport(ScsiTransport& inner) : inner_(inner) {}

    // Called with each device path to open; true refuses that open.
    void SetOpenRefusal(std::function<bool(const std::string&)> refuse) {
        std::lock_guard<std::mutex> guard(mutex_);
        refuse_ = std::move(refuse);
    }
    int Violations() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return violations_;
    }
    int OpenHandles() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return static_cast<int>(paths_.size());
    }
    // Commands handed to the system so far, whatever became of them.
    int Executed() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return executed_;
    }
    std::vector<std::string> OpenPaths() const {
        std::lock_guard<std::mutex> guard(mutex_);
        std::vector<std::string> paths;
        for (const auto& [handle, path] : paths_) {
            paths.push_back(path);
        }
        return paths;
    }

    OpenResult Open(const std::string& devicePath) override {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (refuse_ && refuse_(devicePath)) {
                return OpenResult{kNoDevice, kRefusedOpenError};
            }
        }
        const OpenResult opened = inner_.Open(devicePath);
        if (opened.handle != kNoDevice) {
            std::lock_guard<std::mutex> guard(mutex_);
            paths_[opened.handle] = devicePath;
        }
        return opened;
    }

    static constexpr int kRefusedOpenError = 13;  // as EACCES

    void Close(DeviceHandle handle) override {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (running_[handle] > 0 || paths_.erase(handle) == 0) {
                ++violations_;
            }
        }
        inner_.Close(handle);
    }

    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (handle != kNoDevice && paths_.count(handle) == 0) {
                ++violations_;
            }
            ++running_[handle];
            ++executed_;
        }
        const TransportResult executed = inner_.Execute(handle, request);
        std::lock_guard<std::mutex> guard(mutex_);
        --running_[handle];
        return executed;
    }

private:
    ScsiTransport& inner_;
    mutable std::mutex mutex_;
    std::function<bool(const std::string&)> refuse_;
    std::map<DeviceHandle, std::string> paths_;
    std::map<DeviceHandle, int> running_;
    int violations_ = 0;
    int executed_ = 0;
};

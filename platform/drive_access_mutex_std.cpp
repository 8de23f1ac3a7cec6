// The drive-access mutex outside Windows: a process-local recursive mutex with a bounded wait.
// Built from a plain mutex and a condition variable rather than std::recursive_timed_mutex,
// whose timed lock on this C library is pthread_mutex_clocklock: a call the thread sanitizer
// does not see, so that it takes every later unlock for one of a mutex never locked.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/drive_access_mutex.h"

namespace {

class RecursiveDriveAccessMutex : public DriveAccessMutex {
public:
    void Lock() override {
        std::unique_lock<std::mutex> guard(state_);
        released_.wait(guard, [this] { return MayTake(); });
        Take();
    }
    bool LockWithin(uint32_t milliseconds) override {
        std::unique_lock<std::mutex> guard(state_);
        if (!released_.wait_for(guard, std::chrono::milliseconds(milliseconds),
                                [this] { return MayTake(); })) {
            return false;
        }
        Take();
        return true;
    }
    void Unlock() override {
        std::lock_guard<std::mutex> guard(state_);
        if (depth_ == 0 || owner_ != std::this_thread::get_id()) {
            return;  // not held by this thread: nothing to give up
        }
        if (--depth_ == 0) {
            owner_ = std::thread::id();
            released_.notify_one();
        }
    }

private:
    bool MayTake() const { return depth_ == 0 || owner_ == std::this_thread::get_id(); }
    void Take() {
        owner_ = std::this_thread::get_id();
        ++depth_;
    }

    std::mutex state_;
    std::condition_variable released_;
    std::thread::id owner_;
    unsigned depth_ = 0;
};

}  // namespace

std::unique_ptr<DriveAccessMutex> CreateDriveAccessMutex(const char* /*name*/) {
    return std::make_unique<RecursiveDriveAccessMutex>();
}

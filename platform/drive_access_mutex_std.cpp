// The drive-access mutex outside Windows: a process-local recursive mutex.
#include <chrono>
#include <memory>
#include <mutex>

#include "platform/drive_access_mutex.h"

namespace {

class RecursiveDriveAccessMutex : public DriveAccessMutex {
public:
    void Lock() override { mutex_.lock(); }
    bool LockWithin(uint32_t milliseconds) override {
        return mutex_.try_lock_for(std::chrono::milliseconds(milliseconds));
    }
    void Unlock() override { mutex_.unlock(); }

private:
    std::recursive_timed_mutex mutex_;
};

}  // namespace

std::unique_ptr<DriveAccessMutex> CreateDriveAccessMutex(const char* /*name*/) {
    return std::make_unique<RecursiveDriveAccessMutex>();
}

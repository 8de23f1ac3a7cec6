// The drive-access mutex outside Windows: a process-local recursive mutex.
#include <memory>
#include <mutex>

#include "platform/drive_access_mutex.h"

namespace {

class RecursiveDriveAccessMutex : public DriveAccessMutex {
public:
    void Lock() override { mutex_.lock(); }
    void Unlock() override { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

}  // namespace

std::unique_ptr<DriveAccessMutex> CreateDriveAccessMutex(const char* /*name*/) {
    return std::make_unique<RecursiveDriveAccessMutex>();
}

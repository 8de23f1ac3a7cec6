// The drive-access mutex on Windows: a named mutex ("mutex" for the program), shared by every
// process that opens the same name. A Win32 mutex is recursive for its owning thread by nature.
#include <windows.h>

#include <memory>

#include "platform/drive_access_mutex.h"

namespace {

class NamedDriveAccessMutex : public DriveAccessMutex {
public:
    explicit NamedDriveAccessMutex(HANDLE handle) : handle_(handle) {}
    ~NamedDriveAccessMutex() override { CloseHandle(handle_); }
    NamedDriveAccessMutex(const NamedDriveAccessMutex&) = delete;
    NamedDriveAccessMutex& operator=(const NamedDriveAccessMutex&) = delete;

    // WAIT_ABANDONED also hands over ownership, so any wait result but failure owns it.
    void Lock() override { WaitForSingleObject(handle_, INFINITE); }
    bool LockWithin(uint32_t milliseconds) override {
        const DWORD waited = WaitForSingleObject(handle_, milliseconds);
        return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    void Unlock() override { ReleaseMutex(handle_); }

private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<DriveAccessMutex> CreateDriveAccessMutex(const char* name) {
    HANDLE handle = CreateMutexA(nullptr, FALSE, name);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_unique<NamedDriveAccessMutex>(handle);
}

// The process-wide lock that serialises all use of the drive. Recursive for its owning thread:
// an apply holds it while the probe and the verifications take it again. On Windows it is shared
// by name with every program that takes the same name; elsewhere it serialises one process only
// (a drive shared between processes there needs a per-drive lock besides).
#pragma once

#include <cstdint>
#include <memory>

class DriveAccessMutex {
public:
    virtual ~DriveAccessMutex() = default;
    virtual void Lock() = 0;  // waits without time limit; at once when the caller owns it
    // Waits at most the time given; true when the caller then holds it (also when another
    // holder gave it up by ending), false when it is still held elsewhere.
    virtual bool LockWithin(uint32_t milliseconds) = 0;
    virtual void Unlock() = 0;  // gives up one acquisition
};

// The name of the program's mutex; other running copies of the program share it by this name.
constexpr const char kDriveAccessMutexName[] = "mutex";

// Creates the mutex (on Windows the named mutex of that name, shared with every process that uses
// the same name; elsewhere the name is not used); null when the system refuses.
std::unique_ptr<DriveAccessMutex> CreateDriveAccessMutex(const char* name);

// Holds one acquisition for a scope.
class DriveLock {
public:
    explicit DriveLock(DriveAccessMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
    ~DriveLock() { mutex_.Unlock(); }
    DriveLock(const DriveLock&) = delete;
    DriveLock& operator=(const DriveLock&) = delete;

private:
    DriveAccessMutex& mutex_;
};

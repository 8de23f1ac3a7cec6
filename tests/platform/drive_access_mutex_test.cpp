#include "platform/drive_access_mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

bool OtherThreadGetsItWithin(DriveAccessMutex& mutex, std::atomic<bool>& got,
                             std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!got && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    (void)mutex;
    return got;
}

TEST(DriveAccessMutexTest, RecursiveForItsOwnerAndReleasedOnlyByTheLastUnlock) {
    auto mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    ASSERT_NE(mutex, nullptr);
    std::atomic<bool> got{false};
    mutex->Lock();
    mutex->Lock();  // must not deadlock
    std::thread other([&] {
        DriveLock lock(*mutex);
        got = true;
    });
    mutex->Unlock();
    EXPECT_FALSE(OtherThreadGetsItWithin(*mutex, got, std::chrono::milliseconds(50)));
    mutex->Unlock();
    EXPECT_TRUE(OtherThreadGetsItWithin(*mutex, got, std::chrono::milliseconds(5000)));
    other.join();
}

TEST(DriveAccessMutexTest, ABoundedWaitGivesUpWhileAnotherThreadHoldsIt) {
    auto mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    ASSERT_NE(mutex, nullptr);
    ASSERT_TRUE(mutex->LockWithin(0));
    ASSERT_TRUE(mutex->LockWithin(0));  // its owner again
    bool gotWhileHeld = true;
    std::thread([&] { gotWhileHeld = mutex->LockWithin(30); }).join();
    EXPECT_FALSE(gotWhileHeld);
    mutex->Unlock();
    mutex->Unlock();
    std::thread([&] {
        EXPECT_TRUE(mutex->LockWithin(30));
        mutex->Unlock();
    }).join();
}

}  // namespace

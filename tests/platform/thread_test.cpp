#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct Gate {
    std::atomic<bool> open{false};
    std::atomic<bool> finished{false};
};

void WaitAtGate(void* argument) {
    Gate* gate = static_cast<Gate*>(argument);
    while (!gate->open) {
        SleepMilliseconds(1);
    }
    gate->finished = true;
}

TEST(ThreadTest, BoundedWaitReportsARunningThreadThenItsEnd) {
    Gate gate;
    ThreadHandle thread = StartThread(WaitAtGate, &gate);
    ASSERT_NE(thread, nullptr);
    EXPECT_FALSE(WaitForThread(thread, 20));
    gate.open = true;
    EXPECT_TRUE(WaitForThread(thread, kWaitForever));
    EXPECT_TRUE(gate.finished);
    EXPECT_TRUE(WaitForThread(thread, 0));  // an ended thread answers at once, again
    CloseThread(thread);
}

TEST(ThreadTest, IdlePriorityThreadRuns) {
    Gate gate;
    gate.open = true;
    ThreadHandle thread = StartThread(WaitAtGate, &gate, ThreadPriority::kIdle);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(WaitForThread(thread, 5000));
    EXPECT_TRUE(gate.finished);
    CloseThread(thread);
}

void NoteCallingThread(void* argument) {
    *static_cast<std::thread::id*>(argument) = std::this_thread::get_id();
}

TEST(ThreadTest, BodyRunOnTheCallingThreadHasEndedWhenItsHandleComes) {
    std::thread::id ranOn;
    ThreadHandle thread = RunOnCallingThread(NoteCallingThread, &ranOn);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(WaitForThread(thread, 0));
    EXPECT_TRUE(WaitForThread(thread, kWaitForever));
    CloseThread(thread);
}

TEST(ThreadTest, NoThreadIsHarmless) {
    EXPECT_TRUE(WaitForThread(nullptr, 10));
    CloseThread(nullptr);
}

}  // namespace

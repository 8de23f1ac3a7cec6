// A fresh drive state with its buffers and an open drive on the recording transport.
#pragma once

#include <gtest/gtest.h>

#include "drive/drive_state.h"
#include "tests/drive/recording_transport.h"

class DriveFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
        state.driveHandle = RecordingTransport::kOpenHandle;
    }

    SentCommand OnlySent() const {
        auto sent = transport.Sent();
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? SentCommand{} : sent.back();
    }

    RecordingTransport transport;
    DriveState state{transport};
};

// Drive claims for tests: each lock and claim answers as the test sets it, and every take and
// release is noted with what `stamp` says at that moment (the commands the drive has received, for
// instance), so that a test can see what was held around which command.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/drive_claim.h"

class FakeDriveClaims : public DriveClaims {
public:
    HoldResult LockForWriting(const std::string& blockNode, uint32_t /*waitMs*/) override {
        return Answer("lock " + blockNode, lockOutcome);
    }
    HoldResult ClaimExclusively(const std::string& blockNode) override {
        return Answer("claim " + blockNode, claimOutcome);
    }
    std::unique_ptr<DriveReadLock> OpenReadLock(const std::string& /*blockNode*/) override {
        return nullptr;
    }
    std::string MountPointOf(const std::string& deviceNumber) override {
        return deviceNumber == mountedNumber ? mountPoint : std::string();
    }

    HoldOutcome lockOutcome = HoldOutcome::kHeld;
    HoldOutcome claimOutcome = HoldOutcome::kHeld;
    int refusalError = 16;  // as EBUSY
    std::string mountedNumber, mountPoint;
    std::function<std::string()> stamp = [] { return std::string(); };
    std::vector<std::string> events;

private:
    struct NotedHold : DriveHold {
        NotedHold(FakeDriveClaims& owner, std::string released)
            : claims(owner), note(std::move(released)) {}
        ~NotedHold() override { claims.Note("release " + note); }
        FakeDriveClaims& claims;
        std::string note;
    };
    void Note(const std::string& what) {
        const std::string when = stamp();
        events.push_back(when.empty() ? what : what + " @" + when);
    }
    HoldResult Answer(const std::string& what, HoldOutcome outcome) {
        Note(what);
        HoldResult result;
        result.outcome = outcome;
        if (outcome == HoldOutcome::kHeld) {
            result.hold = std::make_unique<NotedHold>(*this, what);
        } else {
            result.osError = refusalError;
        }
        return result;
    }
};

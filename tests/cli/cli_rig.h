// velmora-drive run in-process against simulated drives: E: has both settings, F: is empty, G:
// carries the other model identifier and has Optimal Writing Speed only. Each run's exit code,
// stdout and stderr are kept; the drives keep what they received. Every JSON document a test's
// runs print is checked against the program's schema when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_program.h"
#include "res/resource_catalog.h"
#include "sim/simulated_transport.h"

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

// The drive-access mutex as another program holding it throughout: every bounded wait fails.
class HeldElsewhereMutex : public DriveAccessMutex {
public:
    void Lock() override {}
    bool LockWithin(uint32_t /*milliseconds*/) override { return false; }
    void Unlock() override {}
};

// The drive's lock and claim as a test sets them: each held or refused, what a lock or claim
// was asked of counted, and the mount table's answer given.
class SetClaims : public DriveClaims {
public:
    HoldResult LockForWriting(const std::string& /*node*/, uint32_t /*waitMs*/) override {
        ++locks;
        return HoldResult{lock, 0, nullptr};
    }
    HoldResult ClaimExclusively(const std::string& /*node*/) override {
        ++claims;
        return HoldResult{claim, claim == HoldOutcome::kBusy ? EBUSY : 0, nullptr};
    }
    std::unique_ptr<DriveReadLock> OpenReadLock(const std::string& /*node*/) override {
        return nullptr;
    }
    std::string MountPointOf(const std::string& /*number*/) override { return mountPoint; }

    HoldOutcome lock = HoldOutcome::kHeld;
    HoldOutcome claim = HoldOutcome::kHeld;
    std::string mountPoint;
    int locks = 0;
    int claims = 0;
};

// The drives of a test, lent to one run at a time; each has the names given.
class LentDrives : public DriveSystem {
public:
    LentDrives(ScsiTransport& transport, std::vector<DriveCandidate> candidates, bool heldElsewhere,
               DriveClaims& claims, DriveNames names = {})
        : transport_(transport),
          candidates_(std::move(candidates)),
          heldElsewhere_(heldElsewhere),
          claims_(claims),
          names_(std::move(names)) {}
    ScsiTransport& Transport() override { return transport_; }
    std::vector<DriveCandidate> Candidates() override { return candidates_; }
    std::unique_ptr<DriveAccessMutex> AccessMutex() override {
        return heldElsewhere_ ? std::make_unique<HeldElsewhereMutex>() : DriveSystem::AccessMutex();
    }
    DriveClaims& Claims() override { return claims_; }
    DriveNames NamesOf(const DriveCandidate& /*drive*/) override { return names_; }

private:
    ScsiTransport& transport_;
    std::vector<DriveCandidate> candidates_;
    bool heldElsewhere_;
    DriveClaims& claims_;
    DriveNames names_;
};

inline SimulatedDriveConfig BothSettingsDrive() {
    SimulatedDriveConfig config;
    config.product = "CD-R DRIVE 7315 ";
    config.optimalSpeed = 1;
    return config;
}

inline SimulatedDriveConfig SpeedOnlyDrive() {
    SimulatedDriveConfig config;
    config.modelText = "7305KT52    ";
    config.supportsAudioMode = false;
    return config;
}

class CliRig : public ::testing::Test {
protected:
    // The documents checked at once, with Debian's python3-jsonschema.
    void TearDown() override {
        if (documents_.empty()) {
            return;
        }
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string command =
            std::string("/usr/bin/python3 ") + JSON_VALIDATOR + " " + VELMORA_DRIVE_SCHEMA;
        for (size_t i = 0; i < documents_.size(); ++i) {
            const std::string path = ::testing::TempDir() + "velmora-drive-" +
                                     test->test_suite_name() + "." + test->name() + "-" +
                                     std::to_string(i) + ".json";
            std::ofstream(path) << documents_[i];
            command += " " + path;
        }
        EXPECT_EQ(std::system(command.c_str()), 0) << "a JSON document does not match the schema";
    }

    CliRun Run(std::vector<std::string> arguments, uint16_t language = kLanguageEnglish,
               AccessRemedy remedy = AccessRemedy::kJoinCdromGroup) {
        arguments.insert(arguments.begin(), "velmora-drive");
        std::ostringstream out, err;
        const CliEnvironment environment{out,
                                         err,
                                         language,
                                         remedy,
                                         [this](const DriveSource&) {
                                             return std::make_unique<LentDrives>(
                                                 *front, candidates, mutexHeldElsewhere,
                                                 driveClaims, names);
                                         },
                                         interrupt,
                                         [this] { return rawIoAllowed; },
                                         codeset};
        CliRun run;
        run.code = RunCli(arguments, environment);
        run.out = out.str();
        run.err = err.str();
        const bool json =
            std::find(arguments.begin(), arguments.end(), "--json") != arguments.end() ||
            std::find(arguments.begin(), arguments.end(), "-j") != arguments.end();
        if (json && !run.out.empty()) {
            documents_.push_back(run.out);
        }
        return run;
    }

    // The opcodes drive E received, in order.
    std::vector<uint8_t> OpcodesAtE() const {
        std::vector<uint8_t> opcodes;
        for (const ReceivedCommand& command : e.Received()) {
            opcodes.push_back(command.cdb[0]);
        }
        return opcodes;
    }
    // WRITE BUFFER pages of the kind (9 speed, 2 audio mode) drive E received.
    int WritesAtE(uint8_t kind) const {
        int count = 0;
        for (const ReceivedCommand& command : e.Received()) {
            count += command.cdb[0] == 0x3B && command.dataOut.at(0) == kind ? 1 : 0;
        }
        return count;
    }

    SimulatedTransport transport;
    ScsiTransport* front = &transport;  // what the runs send through
    SimulatedDrive& e = transport.AddDrive('E', BothSettingsDrive());
    SimulatedDrive& g = transport.AddDrive('G', SpeedOnlyDrive());
    std::vector<DriveCandidate> candidates{LetterCandidate('E'), LetterCandidate('F'),
                                           LetterCandidate('G')};
    bool mutexHeldElsewhere = false;  // another program holds the drive access
    SetClaims driveClaims;            // the drive's lock and claim
    std::function<bool()> interrupt;  // a request to end the program, when it returns true
    bool rawIoAllowed = true;         // a block node would pass a write
    DriveNames names;                 // what the system names each drive by
    std::string codeset = "UTF-8";    // of the user's locale

private:
    std::vector<std::string> documents_;
};

// The vocabulary of a simulated drive's answers: SCSI status bytes and the sense data it gives.
#pragma once

#include <cstdint>

constexpr uint8_t kScsiStatusGood = 0x00;
constexpr uint8_t kScsiStatusCheckCondition = 0x02;

struct SenseTriple {
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
};

inline bool operator==(const SenseTriple& a, const SenseTriple& b) {
    return a.key == b.key && a.asc == b.asc && a.ascq == b.ascq;
}
inline bool operator!=(const SenseTriple& a, const SenseTriple& b) {
    return !(a == b);
}

// The sense data the model answers with.
constexpr SenseTriple kSenseNoMediumTrayClosed{0x02, 0x3A, 0x01};
constexpr SenseTriple kSenseNoMediumTrayOpen{0x02, 0x3A, 0x02};
constexpr SenseTriple kSenseBecomingReady{0x02, 0x04, 0x01};
constexpr SenseTriple kSenseInvalidOpcode{0x05, 0x20, 0x00};
constexpr SenseTriple kSenseInvalidFieldInCdb{0x05, 0x24, 0x00};
constexpr SenseTriple kSenseParameterListLength{0x05, 0x1A, 0x00};
constexpr SenseTriple kSenseInvalidFieldInParameterList{0x05, 0x26, 0x00};
constexpr SenseTriple kSenseCommandSequenceError{0x05, 0x2C, 0x00};

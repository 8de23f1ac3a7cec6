#include "drive/sense_class.h"

namespace {

constexpr uint8_t kKeyNoSense = 0x00;
constexpr uint8_t kKeyNotReady = 0x02;
constexpr uint8_t kKeyHardwareError = 0x04;
constexpr uint8_t kKeyUnitAttention = 0x06;

SenseClass ClassifyNotReady(uint8_t asc, uint8_t ascq) {
    if (asc == 0x04) {
        if (ascq == 0x01) {
            return kSenseClassBecomingReady;
        }
        return ascq == 0x02 ? kSenseClassInitializingRequired : kSenseClassUnclassified;
    }
    if (asc == 0x3A) {
        switch (ascq) {
            case 0x00:
                return kSenseClassMediumNotPresent;
            case 0x01:
                return kSenseClassNoMediumTrayClosed;
            case 0x02:
                return kSenseClassNoMediumTrayOpen;
            default:
                return kSenseClassUnclassified;
        }
    }
    return kSenseClassUnclassified;
}

SenseClass ClassifyHardwareError(uint8_t asc, uint8_t ascq) {
    if (asc == 0x08 && ascq == 0x01) {
        return kSenseClassCommunicationTimeout;
    }
    if (asc == 0x4C && ascq == 0x00) {
        return kSenseClassSelfConfigFailed;
    }
    return kSenseClassUnclassified;
}

SenseClass ClassifyUnitAttention(uint8_t asc, uint8_t ascq) {
    if (asc == 0x28 && ascq == 0x00) {
        return kSenseClassMediumMayHaveChanged;
    }
    if (asc == 0x29 && ascq == 0x00) {
        return kSenseClassPowerOnReset;
    }
    return kSenseClassUnclassified;
}

}  // namespace

SenseClass ClassifySense(uint8_t senseKey, uint8_t asc, uint8_t ascq) {
    switch (senseKey) {
        case kKeyNoSense:
            return asc == 0 && ascq == 0 ? kSenseClassNoSense : kSenseClassUnclassified;
        case kKeyNotReady:
            return ClassifyNotReady(asc, ascq);
        case kKeyHardwareError:
            return ClassifyHardwareError(asc, ascq);
        case kKeyUnitAttention:
            return ClassifyUnitAttention(asc, ascq);
        default:
            return kSenseClassUnclassified;
    }
}

SenseClass ClassifyLastSense(const DriveState& state) {
    const uint8_t* sense = state.request.sense;
    return ClassifySense(sense[2], sense[12], sense[13]);
}

bool IsMediumNotPresent(SenseClass senseClass) {
    return senseClass == kSenseClassMediumNotPresent ||
           senseClass == kSenseClassNoMediumTrayClosed || senseClass == kSenseClassNoMediumTrayOpen;
}

#include "drive/sense_class.h"

namespace {

constexpr uint8_t kKeyNoSense = 0x00;
constexpr uint8_t kKeyNotReady = 0x02;
constexpr uint8_t kKeyHardwareError = 0x04;
constexpr uint8_t kKeyUnitAttention = 0x06;
constexpr uint8_t kDescriptorCurrent = 0x72;
constexpr uint8_t kDescriptorDeferred = 0x73;
constexpr uint8_t kStatusCheckCondition = 0x02;

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

SenseFields SenseFieldsOf(const uint8_t* sense) {
    const uint8_t responseCode = sense[0] & 0x7F;
    if (responseCode == kDescriptorCurrent || responseCode == kDescriptorDeferred) {
        return SenseFields{static_cast<uint8_t>(sense[1] & 0x0F), sense[2], sense[3]};
    }
    return SenseFields{sense[2], sense[12], sense[13]};
}

SenseClass ClassifyLastSense(const DriveState& state) {
    const SenseFields fields = SenseFieldsOf(state.request.sense);
    return ClassifySense(fields.key, fields.asc, fields.ascq);
}

bool ReportsUnitAttention(const DriveState& state) {
    return state.block.transport.Sent() &&
           state.request.header.ScsiStatus == kStatusCheckCondition &&
           SenseFieldsOf(state.request.sense).key == kKeyUnitAttention;
}

bool IsMediumNotPresent(SenseClass senseClass) {
    return senseClass == kSenseClassMediumNotPresent ||
           senseClass == kSenseClassNoMediumTrayClosed || senseClass == kSenseClassNoMediumTrayOpen;
}

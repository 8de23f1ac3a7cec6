#include "drive/sense_class.h"

#include <gtest/gtest.h>

#include "tests/drive/recording_transport.h"

namespace {

struct SenseCase {
    uint8_t key, asc, ascq;
    int expected;
};

TEST(SenseClassTest, ListedConditions) {
    const SenseCase listed[] = {
        {0x00, 0x00, 0x00, 0},  {0x02, 0x3A, 0x00, 3},  {0x02, 0x04, 0x01, 5},
        {0x04, 0x08, 0x01, 6},  {0x06, 0x29, 0x00, 7},  {0x06, 0x28, 0x00, 8},
        {0x02, 0x04, 0x02, 9},  {0x04, 0x4C, 0x00, 10}, {0x02, 0x3A, 0x01, 11},
        {0x02, 0x3A, 0x02, 12},
    };
    for (const SenseCase& c : listed) {
        EXPECT_EQ(ClassifySense(c.key, c.asc, c.ascq), c.expected)
            << std::hex << int(c.key) << "/" << int(c.asc) << "/" << int(c.ascq);
    }
}

TEST(SenseClassTest, NearMissesAreUnclassified) {
    const struct {
        uint8_t key, asc, ascq;
    } nearMisses[] = {
        {0x02, 0x3A, 0x03}, {0x02, 0x04, 0x00}, {0x02, 0x04, 0x03}, {0x02, 0x05, 0x01},
        {0x04, 0x4C, 0x01}, {0x04, 0x08, 0x00}, {0x04, 0x3A, 0x00}, {0x06, 0x29, 0x01},
        {0x06, 0x28, 0x01}, {0x06, 0x3A, 0x00}, {0x00, 0x00, 0x01}, {0x00, 0x3A, 0x00},
        {0x01, 0x00, 0x00}, {0x03, 0x3A, 0x00}, {0x05, 0x24, 0x00}, {0x07, 0x3A, 0x00},
        {0x0B, 0x00, 0x00}, {0x0B, 0x3A, 0x01},
    };
    for (const auto& c : nearMisses) {
        EXPECT_EQ(ClassifySense(c.key, c.asc, c.ascq), kSenseClassUnclassified)
            << std::hex << int(c.key) << "/" << int(c.asc) << "/" << int(c.ascq);
    }
}

TEST(SenseClassTest, FlagBitsInTheKeyByteAreNotMaskedAway) {
    EXPECT_EQ(ClassifySense(0x22, 0x3A, 0x00), kSenseClassUnclassified);  // ILI + NOT READY
    EXPECT_EQ(ClassifySense(0x80, 0x00, 0x00), kSenseClassUnclassified);  // filemark, no sense
}

TEST(SenseClassTest, LastSenseIsReadFromTheRecordsSenseArea) {
    RecordingTransport transport;
    DriveState state{transport};
    EXPECT_EQ(ClassifyLastSense(state), kSenseClassNoSense);
    uint8_t* raw = reinterpret_cast<uint8_t*>(&state.request);
    raw[kSenseKeyOffset] = 0x02;
    raw[kAscOffset] = 0x3A;
    raw[kAscqOffset] = 0x02;
    EXPECT_EQ(ClassifyLastSense(state), kSenseClassNoMediumTrayOpen);
}

TEST(SenseClassTest, OnlyTheThreeNoMediumClassesMeanNoDisc) {
    for (int value = 0; value <= 12; ++value) {
        bool expected = value == 3 || value == 11 || value == 12;
        EXPECT_EQ(IsMediumNotPresent(static_cast<SenseClass>(value)), expected) << value;
    }
}

}  // namespace

// Descriptor format (72h current, 73h deferred) keeps key, ASC and ASCQ in bytes 1 to 3; fixed
// format (and anything else) in bytes 2, 12 and 13, the key byte unmasked.
TEST(SenseClassTest, DescriptorAndFixedFormatGiveTheSameFields) {
    uint8_t descriptor[18] = {0x72, 0x02, 0x3A, 0x01};
    uint8_t fixed[18] = {0x70, 0, 0x02, 0, 0, 0, 0, 0x0A, 0, 0, 0, 0, 0x3A, 0x01};
    for (const uint8_t* sense : {+descriptor, +fixed}) {
        const SenseFields fields = SenseFieldsOf(sense);
        EXPECT_EQ(ClassifySense(fields.key, fields.asc, fields.ascq),
                  kSenseClassNoMediumTrayClosed);
    }
    descriptor[0] = 0xF3;  // deferred, with the valid bit: the key's low four bits only
    descriptor[1] = 0xF6;
    EXPECT_EQ(SenseFieldsOf(descriptor).key, 0x06);
    fixed[2] = 0x22;
    EXPECT_EQ(SenseFieldsOf(fixed).key, 0x22);
}

TEST(SenseClassTest, UnitAttentionIsOnlyACheckConditionWithKeySix) {
    RecordingTransport transport;
    DriveState state{transport};
    state.block.transport.outcome = TransportOutcome::kSent;
    state.request.header.ScsiStatus = 0x02;
    uint8_t* raw = reinterpret_cast<uint8_t*>(&state.request);
    raw[kSenseKeyOffset] = 0x06;
    EXPECT_TRUE(ReportsUnitAttention(state));
    state.request.header.ScsiStatus = 0x00;
    EXPECT_FALSE(ReportsUnitAttention(state));
    state.request.header.ScsiStatus = 0x02;
    state.block.transport.outcome = TransportOutcome::kOsError;
    EXPECT_FALSE(ReportsUnitAttention(state));
}

// DriveTable: the listed drives by their position in the drive combo box. Discovery fills
// entries 0, 1, 2, ... in ascending order of drive letter; entries past the count it returned
// carry nothing meaningful.
#pragma once

#include <array>
#include <cstdint>

struct DriveEntry {
    // Bytes 0 to 2 would address a host adapter, target and unit; only the pass-through is
    // built, so they stay 0. Byte 3 is the drive letter, C to Z.
    uint8_t bytes[4] = {};

    char Letter() const { return static_cast<char>(bytes[3]); }
    void SetLetter(char letter) { bytes[3] = static_cast<uint8_t>(letter); }
};

struct DriveTable {
    static constexpr int kCapacity = 128;
    std::array<DriveEntry, kCapacity> entries{};
};

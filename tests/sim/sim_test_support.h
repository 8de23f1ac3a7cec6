// Sends commands to a SimulatedDrive the way a transport does, for the sim's own tests.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "sim/simulated_drive.h"

struct SimReply {
    uint8_t status = 0;
    std::array<uint8_t, 18> sense{};
    std::vector<uint8_t> data;  // the whole transfer buffer after the command
    uint32_t dataInBytes = 0;
    SenseTriple Sense() const { return SenseTriple{sense[2], sense[12], sense[13]}; }
};

inline SimReply SendCommand(SimulatedDrive& drive, std::initializer_list<uint8_t> cdbBytes,
                            uint8_t dataIn = 1, uint32_t length = 256,
                            std::vector<uint8_t> dataOut = {}, uint8_t fill = 0xEE) {
    std::array<uint8_t, 16> cdb{};
    size_t i = 0;
    for (uint8_t byte : cdbBytes) {
        cdb[i++] = byte;
    }
    SimReply reply;
    reply.data = dataOut.empty() ? std::vector<uint8_t>(length, fill) : dataOut;
    ScsiCommand command;
    command.cdb = cdb.data();
    command.cdbLength = 12;
    command.dataIn = dataIn;
    command.data = reply.data.empty() ? nullptr : reply.data.data();
    command.transferLength = static_cast<uint32_t>(reply.data.size());
    command.timeoutSeconds = 10;
    reply.status = drive.Execute(command, reply.sense.data(), &reply.dataInBytes);
    return reply;
}

inline SimReply ReadSettingsPage(SimulatedDrive& drive, uint8_t mode = 1) {
    return SendCommand(drive, {0x3C, mode, 0xF4, 0, 0, 0, 0, 0x01, 0x00});
}

// WRITE BUFFER FAh mode 1 with a 256-byte page whose first four bytes are given.
inline SimReply WritePage(SimulatedDrive& drive, uint8_t b0, uint8_t b1, uint8_t value,
                          uint8_t save) {
    std::vector<uint8_t> page(256, 0);
    page[0] = b0;
    page[1] = b1;
    page[2] = value;
    page[3] = save;
    return SendCommand(drive, {0x3B, 0x01, 0xFA, 0, 0, 0, 0, 0x01, 0x00}, 0, 256, page);
}

inline SimReply WriteSpeed(SimulatedDrive& drive, uint8_t value, uint8_t save) {
    return WritePage(drive, 9, 0, value, save);
}
inline SimReply WriteAudio(SimulatedDrive& drive, uint8_t value, uint8_t save) {
    return WritePage(drive, 2, 0x80, value, save);
}

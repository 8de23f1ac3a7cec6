// A command descriptor block as the executors take it, and the direction codes of its data.
#pragma once

#include <array>
#include <cstdint>

// Always 12 bytes; a shorter command leaves the bytes beyond its own length 0.
using Cdb = std::array<uint8_t, 12>;

// Direction codes: 1 reads into DataInBuffer, 0 writes from DataOutBuffer, any other value
// (the builders use 2) moves no data and names DataOutBuffer.
enum Direction : int32_t { kDirectionOut = 0, kDirectionIn = 1, kDirectionNone = 2 };

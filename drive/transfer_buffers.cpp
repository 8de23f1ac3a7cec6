#include "drive/transfer_buffers.h"

#include <cstdlib>

namespace {

// Zero-filled so that no reader ever sees indeterminate bytes. calloc gets the zeros from the
// system's fresh pages instead of writing them, so a page costs nothing until it is used: a run
// of the command line touches a few kilobytes of the 4 MiB, and writing all of it first would be
// most of the run's time.
uint8_t* AllocateZeroed() {
    return static_cast<uint8_t*>(std::calloc(TransferBuffers::kSize, 1));
}

}  // namespace

void TransferBuffers::Release::operator()(uint8_t* bytes) const {
    std::free(bytes);
}

int AllocateTransferBuffers(TransferBuffers& buffers) {
    if (buffers.IsAllocated()) {
        return 1;
    }
    buffers.dataOut_.reset(AllocateZeroed());
    buffers.dataIn_.reset(AllocateZeroed());
    if (!buffers.IsAllocated()) {
        FreeTransferBuffers(buffers);
        return 0;
    }
    return 1;
}

void FreeTransferBuffers(TransferBuffers& buffers) {
    buffers.dataOut_.reset();
    buffers.dataIn_.reset();
}

#include "drive/transfer_buffers.h"

#include <new>

int AllocateTransferBuffers(TransferBuffers& buffers) {
    if (buffers.IsAllocated()) {
        return 1;
    }
    // Zero-filled so that no reader ever sees indeterminate bytes.
    buffers.dataOut_.reset(new (std::nothrow) uint8_t[TransferBuffers::kSize]());
    buffers.dataIn_.reset(new (std::nothrow) uint8_t[TransferBuffers::kSize]());
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

// DataOutBuffer and DataInBuffer: the two 2 MiB buffers through which all drive data passes.
// Every reply lands at byte 0 of DataInBuffer; DataOutBuffer carries data to the drive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class TransferBuffers {
public:
    static constexpr size_t kSize = 2 * 1024 * 1024;

    uint8_t* DataInBuffer() const { return dataIn_.get(); }    // nullptr until allocated
    uint8_t* DataOutBuffer() const { return dataOut_.get(); }  // nullptr until allocated
    bool IsAllocated() const { return dataIn_ != nullptr && dataOut_ != nullptr; }

private:
    friend int AllocateTransferBuffers(TransferBuffers& buffers);
    friend void FreeTransferBuffers(TransferBuffers& buffers);

    struct Release {
        void operator()(uint8_t* bytes) const;
    };
    std::unique_ptr<uint8_t[], Release> dataOut_;
    std::unique_ptr<uint8_t[], Release> dataIn_;
};

// Obtains both buffers (zero-filled); 1 on success, 0 when either could not be obtained, in
// which case neither is kept and every command that needs a buffer is refused.
int AllocateTransferBuffers(TransferBuffers& buffers);
void FreeTransferBuffers(TransferBuffers& buffers);

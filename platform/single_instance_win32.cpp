// Single instance on Windows: a paging-file-backed named mapping of 10 bytes. The first instance
// writes its main window handle into the first bytes; a later start that finds the name taken
// reads the handle and brings that window to the front.
#include <windows.h>

#include <cstring>

#include "platform/single_instance.h"

namespace {

constexpr DWORD kMappingSize = 10;
static_assert(sizeof(HWND) <= kMappingSize, "the window handle must fit the mapping");

class FileMappingClaim : public SingleInstanceMapping {
public:
    explicit FileMappingClaim(HANDLE mapping) : mapping_(mapping) {}
    ~FileMappingClaim() override { CloseHandle(mapping_); }

    void PublishWindow(uintptr_t nativeWindow,
                       std::function<void(const WindowActivation&)> /*bringToFront*/) override {
        void* view = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0);
        if (view == nullptr) {
            return;
        }
        const HWND window = reinterpret_cast<HWND>(nativeWindow);
        std::memcpy(view, &window, sizeof window);
        UnmapViewOfFile(view);
    }

private:
    HANDLE mapping_;
};

void BringPublishedWindowToFront(HANDLE mapping) {
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) {
        return;
    }
    HWND window = nullptr;
    std::memcpy(&window, view, sizeof window);
    UnmapViewOfFile(view);
    if (window != nullptr && IsWindow(window)) {
        if (IsIconic(window)) {
            ShowWindow(window, SW_RESTORE);
        }
        SetForegroundWindow(window);
    }
}

}  // namespace

InstanceClaim ClaimSingleInstance(const char* name, std::unique_ptr<SingleInstanceMapping>* held,
                                  const WindowActivation& /*launch*/) {
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMappingSize, name);
    if (mapping == nullptr) {
        return InstanceClaim::kFailed;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        BringPublishedWindowToFront(mapping);
        CloseHandle(mapping);
        return InstanceClaim::kAlreadyRunning;
    }
    *held = std::make_unique<FileMappingClaim>(mapping);
    return InstanceClaim::kFirst;
}

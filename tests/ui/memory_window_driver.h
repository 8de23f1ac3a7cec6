// The window driver over the in-memory backend: each step of the clock is one tick of every
// timer, with a millisecond's pause for the worker threads.
#pragma once

#include <chrono>
#include <thread>

#include "res/generated_resource_catalog.h"
#include "tests/ui/window_driver.h"

class MemoryWindowDriver : public WindowDriver {
public:
    explicit MemoryWindowDriver(uint16_t language) : host_(GeneratedResourceCatalog(), language) {}

    DialogBackend& Backend() override { return host_; }
    std::string ToUtf8(const std::string& narrow) const override { return host_.ToUtf8(narrow); }
    bool Open(CDialog& dialog) override {
        dialog_ = &dialog;
        return host_.Open(dialog);
    }
    bool IsOpen() const override { return dialog_ != nullptr && host_.IsOpen(*dialog_); }
    bool Click(int id) override { return host_.Click(id); }
    bool SelectComboItem(int id, int index) override { return host_.SelectComboItem(id, index); }
    void PressEscape() override { host_.PressKey(DialogKey::kEscape); }
    std::string Text(int id) const override { return host_.Text(id); }
    bool IsEnabled(int id) const override { return host_.IsEnabled(id); }
    int GetCheck(int id) const override { return host_.GetCheck(id); }
    std::vector<std::string> ComboItems(int id) const override { return host_.ComboItems(id); }
    int ComboSelection(int id) const override { return host_.ComboSelection(id); }
    bool RunUntil(const std::function<bool()>& condition) override {
        for (int tick = 0; tick < kTickLimit; ++tick) {
            if (condition()) {
                return true;
            }
            host_.TickTimers(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return condition();
    }
    void SetMessageBoxAnswerer(std::function<void(const MessageBoxRecord&)> answerer) override {
        host_.SetMessageBoxAnswerer(
            [answerer](MemoryDialogHost&, const MessageBoxRecord& box) { answerer(box); });
    }
    std::vector<MessageBoxRecord> MessageBoxes() const override { return host_.MessageBoxes(); }

private:
    static constexpr int kTickLimit = 3000;
    MemoryDialogHost host_;
    const CDialog* dialog_ = nullptr;
};

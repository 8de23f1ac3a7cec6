// A dialog for the backend's own tests: its message map records what reaches it, in order, with
// the thread that delivered it.
#pragma once

#include <iterator>
#include <thread>
#include <vector>

#include "dialog/dialog.h"
#include "res/resource_ids.h"

constexpr unsigned kWmPrivate = 0x8001;

class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(DialogBackend& backend, int templateId = IDD_MAIN)
        : CDialog(templateId, backend) {}

    struct Seen {
        unsigned message;
        uintptr_t wParam;
        std::thread::id thread;
    };
    std::vector<Seen> seen;

    std::vector<uintptr_t> Of(unsigned message) const {
        std::vector<uintptr_t> params;
        for (const Seen& s : seen) {
            if (s.message == message) {
                params.push_back(s.wParam);
            }
        }
        return params;
    }

    using CDialog::ComboInsertString;
    using CDialog::EditReplaceSel;
    using CDialog::EditSetSel;
    using CDialog::GetControlText;
    using CDialog::GetControlTextLength;
    using CDialog::KillTimer;
    using CDialog::SetTimer;

protected:
    const MessageMap& GetMessageMap() const override {
        static constexpr MessageMapEntry kEntries[] = {
            MapClicked<&RecordingDialog::Clicked<IDC_SPEED_ON>>(IDC_SPEED_ON),
            MapClicked<&RecordingDialog::Clicked<IDC_SPEED_OFF>>(IDC_SPEED_OFF),
            MapClicked<&RecordingDialog::Clicked<IDC_SAVE_SPEED>>(IDC_SAVE_SPEED),
            MapClicked<&RecordingDialog::Clicked<IDC_AUDIO_HIGH>>(IDC_AUDIO_HIGH),
            MapClicked<&RecordingDialog::Clicked<IDC_APPLY>>(IDC_APPLY),
            MapCommand<&RecordingDialog::Selected>(kCbnSelChange, IDC_DRIVE_COMBO),
            MapTimer<&RecordingDialog::OnTimer>(),
            MapMessage<&RecordingDialog::OnPrivate>(kWmPrivate),
            MapHelp<&RecordingDialog::OnHelp>(),
            MapSysCommand<&RecordingDialog::OnSysCommand>(),
            MapDestroy<&RecordingDialog::OnDestroyed>(),
        };
        static const MessageMap kMap{&CDialog::BaseMessageMap(), kEntries, std::size(kEntries)};
        return kMap;
    }
    void OnOK() override {
        Record(kWmCommand, kIdOk);
        CDialog::OnOK();
    }
    void OnCancel() override {
        Record(kWmCommand, kIdCancel);
        CDialog::OnCancel();
    }

private:
    void Record(unsigned message, uintptr_t wParam) {
        seen.push_back({message, wParam, std::this_thread::get_id()});
    }
    template <int id>
    void Clicked() {
        Record(kWmCommand, static_cast<uintptr_t>(id));
    }
    void Selected() { Record(kWmCommand, MakeCommandParam(IDC_DRIVE_COMBO, kCbnSelChange)); }
    void OnTimer(unsigned timerId) { Record(kWmTimer, timerId); }
    intptr_t OnPrivate(uintptr_t wParam, intptr_t /*lParam*/) {
        Record(kWmPrivate, wParam);
        return 0;
    }
    bool OnHelp() {
        Record(kWmHelp, 0);
        return true;
    }
    void OnSysCommand(unsigned commandId, intptr_t /*lParam*/) {
        Record(kWmSysCommand, commandId);
        Default();
    }
    void OnDestroyed() { Record(kWmDestroy, 0); }
};

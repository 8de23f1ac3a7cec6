#include "dialog/control_model.h"

#include <algorithm>

#include "dialog/window_messages.h"

namespace {

constexpr uint32_t kWsDisabled = 0x08000000u;
constexpr uint32_t kWsGroup = 0x00020000u;
constexpr uint32_t kWsTabStop = 0x00010000u;
constexpr uint32_t kEsMultiline = 0x0004u;
constexpr uint32_t kEsWantReturn = 0x1000u;

}  // namespace

bool ControlState::IsButton() const {
    return IsPushButton() || kind == ControlKind::kRadioButton || kind == ControlKind::kCheckBox;
}

bool ControlState::IsPushButton() const {
    return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultPushButton;
}

bool ControlState::WantsReturn() const {
    return kind == ControlKind::kEdit && (style & kEsMultiline) && (style & kEsWantReturn);
}

void ControlState::SetText(const std::string& newText) {
    text = newText;
    selectionStart = selectionEnd = 0;
}

void ControlState::ResetItems() {
    items.clear();
    selection = -1;
}

int ControlState::InsertItem(int index, const std::string& item) {
    if (index < -1 || index > static_cast<int>(items.size())) {
        return -1;
    }
    const int at = index == -1 ? static_cast<int>(items.size()) : index;
    items.insert(items.begin() + at, item);
    return at;
}

void ControlState::SelectItem(int index) {
    const bool inRange = index >= 0 && index < static_cast<int>(items.size());
    selection = inRange ? index : -1;
}

void ControlState::SetEditSelection(int start, int end) {
    const int length = static_cast<int>(text.size());
    if (end < 0 || end > length) {
        end = length;
    }
    start = std::clamp(start, 0, length);
    selectionStart = std::min(start, end);
    selectionEnd = std::max(start, end);
}

void ControlState::ReplaceEditSelection(const std::string& replacement) {
    text.replace(selectionStart, selectionEnd - selectionStart, replacement);
    selectionStart = selectionEnd = selectionStart + static_cast<int>(replacement.size());
}

ControlModel::ControlModel(const DialogTemplate& source, const CatalogText& text) {
    for (int i = 0; i < source.controlCount; ++i) {
        const ControlTemplate& c = source.controls[i];
        ControlState control;
        control.id = c.id;
        control.kind = c.kind;
        control.style = c.style;
        control.enabled = (c.style & kWsDisabled) == 0;
        if (c.kind != ControlKind::kIcon) {  // an icon's text is its resource id
            control.text = text.ToNarrow(c.text);
        }
        controls_.push_back(control);
    }
}

ControlState* ControlModel::Find(int id) {
    for (ControlState& control : controls_) {
        if (control.id == id && id != -1) {
            return &control;
        }
    }
    return nullptr;
}

const ControlState* ControlModel::Find(int id) const {
    return const_cast<ControlModel*>(this)->Find(id);
}

void ControlModel::Click(ControlState& button) {
    if (button.kind == ControlKind::kRadioButton) {
        CheckRadioInGroup(button);
    } else if (button.kind == ControlKind::kCheckBox) {
        button.check = button.check ? 0 : 1;
    }
}

// The group runs from the last control with WS_GROUP up to the clicked one, and on to the next
// control with WS_GROUP.
void ControlModel::CheckRadioInGroup(const ControlState& clicked) {
    size_t start = 0;
    size_t index = 0;
    for (size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].style & kWsGroup) {
            start = i;
        }
        if (&controls_[i] == &clicked) {
            index = i;
            break;
        }
    }
    for (size_t i = start; i < controls_.size(); ++i) {
        if (i > index && (controls_[i].style & kWsGroup)) {
            break;
        }
        if (controls_[i].kind == ControlKind::kRadioButton) {
            controls_[i].check = (i == index) ? 1 : 0;
        }
    }
}

int ControlModel::FirstTabStop() const {
    for (const ControlState& control : controls_) {
        if ((control.style & kWsTabStop) && control.enabled && control.id != -1) {
            return control.id;
        }
    }
    return 0;
}

int ControlModel::DefaultButtonId() const {
    for (const ControlState& control : controls_) {
        if (control.kind == ControlKind::kDefaultPushButton && control.enabled) {
            return control.id;
        }
    }
    return kIdOk;
}

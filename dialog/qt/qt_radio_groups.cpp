#include "dialog/qt/qt_radio_groups.h"

#include <QEvent>
#include <QKeyEvent>

#include "dialog/qt/qt_dialog_controls.h"

namespace {

// +1 for the keys that go forward, -1 backward, 0 for any other key.
int StepOf(const QKeyEvent& key) {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return 0;
    }
    switch (key.key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            return 1;
        case Qt::Key_Up:
        case Qt::Key_Left:
            return -1;
        default:
            return 0;
    }
}

}  // namespace

QtRadioGroups::QtRadioGroups(Click click, QObject* parent)
    : QObject(parent), click_(std::move(click)) {}

void QtRadioGroups::AddGroup(const std::vector<std::pair<int, QRadioButton*>>& buttons) {
    std::vector<QRadioButton*> widgets;
    for (const auto& [id, button] : buttons) {
        button->installEventFilter(this);
        widgets.push_back(button);
    }
    GroupRadioButtons(widgets, this);
    groups_.push_back(buttons);
}

void QtRadioGroups::UpdateTabStops() {
    for (const Group& group : groups_) {
        QRadioButton* stop = group.front().second;
        for (const auto& [id, button] : group) {
            if (button->isChecked()) {
                stop = button;
                break;
            }
        }
        for (const auto& [id, button] : group) {
            button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }
}

const std::pair<int, QRadioButton*>* QtRadioGroups::Next(const QObject* watched, int step) const {
    for (const Group& group : groups_) {
        const int size = static_cast<int>(group.size());
        for (int at = 0; at < size; ++at) {
            if (group[at].second != watched) {
                continue;
            }
            for (int moved = 1; moved < size; ++moved) {
                const auto& candidate = group[((at + step * moved) % size + size) % size];
                if (candidate.second->isEnabled() && !candidate.second->isHidden()) {
                    return &candidate;
                }
            }
            return nullptr;
        }
    }
    return nullptr;
}

// Every arrow key on a radio button is the group's: Qt's own handling would move the focus
// without the check, or leave the group.
bool QtRadioGroups::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int step = StepOf(*static_cast<QKeyEvent*>(event));
    if (step == 0) {
        return false;
    }
    if (const auto* next = Next(watched, step)) {
        next->second->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        click_(next->first);
    }
    return true;
}

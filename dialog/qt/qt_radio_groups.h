// The radio buttons of a dialog's template groups, as the Windows dialog manager treats them: a
// group is one stop for Tab, at its checked button (the first while none is checked), and the
// arrow keys move the focus and the check round the group, passing over buttons that are
// disabled or hidden. The window keeps the checks (its control model); a move by arrow key is a
// click it is told of.
#pragma once

#include <QObject>
#include <QRadioButton>
#include <functional>
#include <utility>
#include <vector>

class QtRadioGroups : public QObject {
public:
    using Click = std::function<void(int id)>;
    QtRadioGroups(Click click, QObject* parent);

    // One template group's buttons with their ids, in template order.
    void AddGroup(const std::vector<std::pair<int, QRadioButton*>>& buttons);
    // Call after the checks changed: gives each group's tab stop to its checked button.
    void UpdateTabStops();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Group = std::vector<std::pair<int, QRadioButton*>>;
    // The button an arrow key moves to from watched (step 1 or -1); nullptr when none.
    const std::pair<int, QRadioButton*>* Next(const QObject* watched, int step) const;

    Click click_;
    std::vector<Group> groups_;
};

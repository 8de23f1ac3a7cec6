#include "tests/qt/qt_window_driver.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "dialog/qt/qt_display_text.h"
#include "res/generated_resource_catalog.h"

namespace {

constexpr int kRunLimitMs = 5000;

}  // namespace

QPoint ClickPoint(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    if (qobject_cast<QCheckBox*>(button) != nullptr) {
        return button->style()
            ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button)
            .center();
    }
    if (qobject_cast<QRadioButton*>(button) != nullptr) {
        return button->style()
            ->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button)
            .center();
    }
    return button->rect().center();
}

QtWindowDriver::QtWindowDriver(uint16_t language) : backend_(GeneratedResourceCatalog(), language) {
    backend_.SetMessageBoxHook(
        [this](const CDialog* owner, const std::string& title, const std::string& text) {
            boxes_.push_back({owner != nullptr ? owner->TemplateId() : -1, title, text});
            if (answerer_) {
                answerer_(MessageBoxRecord(boxes_.back()));
            }
        });
}

std::string QtWindowDriver::ToUtf8(const std::string& narrow) const {
    return backend_.Text().ToUtf8(narrow);
}

std::string QtWindowDriver::Narrow(const QString& shown) const {
    return NarrowText(backend_.Text(), shown);
}

QWidget* QtWindowDriver::Widget(int id) const {
    return dialog_ != nullptr ? backend_.ControlWidget(*dialog_, id) : nullptr;
}

bool QtWindowDriver::Open(CDialog& dialog) {
    dialog_ = &dialog;
    return backend_.Open(dialog);
}

bool QtWindowDriver::IsOpen() const {
    return dialog_ != nullptr && backend_.IsOpen(*dialog_);
}

bool QtWindowDriver::Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(Widget(id));
    if (button == nullptr || !button->isEnabled()) {
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ClickPoint(button));
    return true;
}

// A choice in the list: the combo box's current item changes and it reports the activation, as
// it does when the user picks an item from the dropped list.
bool QtWindowDriver::SelectComboItem(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(Widget(id));
    if (combo == nullptr || !combo->isEnabled() || index < 0 || index >= combo->count()) {
        return false;
    }
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

void QtWindowDriver::PressEscape() {
    if (dialog_ != nullptr) {
        QTest::keyClick(backend_.WindowWidget(*dialog_), Qt::Key_Escape);
    }
}

QString ShownText(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return QString();
}

std::string QtWindowDriver::Text(int id) const {
    QWidget* widget = Widget(id);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        return Narrow(edit->toPlainText());
    }
    return Narrow(ShownText(widget));
}

bool QtWindowDriver::IsEnabled(int id) const {
    const QWidget* widget = Widget(id);
    return widget != nullptr && widget->isEnabled();
}

int QtWindowDriver::GetCheck(int id) const {
    QWidget* widget = Widget(id);
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        return box->checkState() == Qt::PartiallyChecked ? 2 : box->isChecked() ? 1 : 0;
    }
    auto* radio = qobject_cast<QRadioButton*>(widget);
    return radio != nullptr && radio->isChecked() ? 1 : 0;
}

std::vector<std::string> QtWindowDriver::ComboItems(int id) const {
    std::vector<std::string> items;
    if (auto* combo = qobject_cast<QComboBox*>(Widget(id))) {
        for (int i = 0; i < combo->count(); ++i) {
            items.push_back(Narrow(combo->itemText(i)));
        }
    }
    return items;
}

int QtWindowDriver::ComboSelection(int id) const {
    auto* combo = qobject_cast<QComboBox*>(Widget(id));
    return combo != nullptr ? combo->currentIndex() : -1;
}

bool QtWindowDriver::RunUntil(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > kRunLimitMs) {
            return false;
        }
        QTest::qWait(1);
    }
    return true;
}

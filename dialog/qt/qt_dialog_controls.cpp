#include "dialog/qt/qt_dialog_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "dialog/qt/qt_display_text.h"
#include "dialog/qt/qt_edit_control.h"
#include "dialog/qt/qt_readable_color.h"
#include "dialog/window_styles.h"

namespace {

constexpr int kIconSize = 32;  // SM_CXICON: an icon control takes the icon's own size

// Win32 RGB packs 0x00BBGGRR.
QColor FromColorRef(uint32_t color) {
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

QWidget* CreateButton(const ControlTemplate& control, const QString& text, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::kRadioButton:
            // The window keeps the template's groups: it puts each radio button in a group that
            // is not exclusive (GroupRadioButtons), so Qt's own exclusivity stays out.
            return new QRadioButton(text, parent);
        case ControlKind::kCheckBox:
            return new QCheckBox(text, parent);
        default: {
            auto* button = new QPushButton(text, parent);
            // The window handles Enter itself, as the Win32 dialog manager does.
            button->setAutoDefault(false);
            button->setDefault(control.kind == ControlKind::kDefaultPushButton);
            return button;
        }
    }
}

QWidget* CreateComboBox(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);  // a drop-down list
    return combo;
}

QWidget* CreateIcon(const QIcon& icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(icon.pixmap(kIconSize, kIconSize));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// A Win32 group box: a plain frame whose title interrupts its top line, nothing filled inside.
constexpr char kGroupBoxLook[] =
    "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
    " left: 0.5em; padding: 0 0.2em; }";

QWidget* CreateGroupBox(const QString& text, QWidget* parent) {
    auto* group = new QGroupBox(text, parent);
    group->setStyleSheet(QString::fromLatin1(kGroupBoxLook));
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    group->setFocusPolicy(Qt::NoFocus);
    return group;
}

}  // namespace

QtStaticText::QtStaticText(bool prefixProcessing, QWidget* parent)
    : QLabel(parent), prefixProcessing_(prefixProcessing) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);  // SS_LEFT breaks lines at words
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QtStaticText::ShowText(const QString& text) {
    setText(prefixProcessing_ ? WithoutMnemonics(text) : text);
}

void QtStaticText::paintEvent(QPaintEvent* event) {
    if (query_) {
        ApplyColor(query_());
    }
    QLabel::paintEvent(event);
}

// Setting the palette it already has changes nothing, so the usual paint triggers no other. A
// colour chosen for Windows' light dialogs is kept readable on the theme's window colour.
void QtStaticText::ApplyColor(const ControlColor& color) {
    QPalette colors = parentWidget() != nullptr ? parentWidget()->palette() : QPalette();
    if (color.setTextColor) {
        colors.setColor(QPalette::WindowText, ReadableTextColor(FromColorRef(color.textColor),
                                                                colors.color(QPalette::Window)));
    }
    setPalette(colors);
    setAutoFillBackground(!color.transparentBackground);
}

QWidget* CreateControlWidget(const ControlTemplate& control, const QString& text, const QIcon& icon,
                             QWidget* parent) {
    switch (control.kind) {
        case ControlKind::kPushButton:
        case ControlKind::kDefaultPushButton:
        case ControlKind::kRadioButton:
        case ControlKind::kCheckBox:
            return CreateButton(control, text, parent);
        case ControlKind::kGroupBox:
            return CreateGroupBox(text, parent);
        case ControlKind::kIcon:
            return CreateIcon(icon, parent);
        case ControlKind::kEdit:
            return new QtEditControl(control.style, parent);
        case ControlKind::kComboBox:
            return CreateComboBox(parent);
        case ControlKind::kStatic:
            break;
    }
    auto* label = new QtStaticText(!HasStyle(control.style, kSsNoPrefix), parent);
    label->ShowText(text);
    return label;
}

void ShowControlText(QWidget* widget, ControlKind kind, const QString& text) {
    switch (kind) {
        case ControlKind::kPushButton:
        case ControlKind::kDefaultPushButton:
        case ControlKind::kRadioButton:
        case ControlKind::kCheckBox:
            static_cast<QAbstractButton*>(widget)->setText(text);
            break;
        case ControlKind::kGroupBox:
            static_cast<QGroupBox*>(widget)->setTitle(text);
            break;
        case ControlKind::kStatic:
            static_cast<QtStaticText*>(widget)->ShowText(text);
            break;
        case ControlKind::kEdit:
            static_cast<QtEditControl*>(widget)->ShowText(text);
            break;
        case ControlKind::kComboBox:  // a drop-down list has no text of its own
        case ControlKind::kIcon:
            break;
    }
}

namespace {

Qt::CheckState CheckStateOf(int state) {
    return state == 2 ? Qt::PartiallyChecked : state == 1 ? Qt::Checked : Qt::Unchecked;
}

}  // namespace

void ShowCheckState(QWidget* widget, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setTristate(state == 2 || box->isTristate());
        box->setCheckState(CheckStateOf(state));
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        radio->setChecked(state != 0);
    }
}

bool ShowsCheckState(QWidget* widget, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        return box->checkState() == CheckStateOf(state);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        return radio->isChecked() == (state != 0);
    }
    return true;
}

void GroupRadioButtons(const std::vector<QRadioButton*>& buttons, QObject* owner) {
    auto* group = new QButtonGroup(owner);
    group->setExclusive(false);
    for (QRadioButton* button : buttons) {
        group->addButton(button);
    }
}

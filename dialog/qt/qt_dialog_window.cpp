#include "dialog/qt/qt_dialog_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDebug>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/qt/qt_dialog_controls.h"
#include "dialog/qt/qt_display_text.h"
#include "dialog/qt/qt_drawn_order.h"
#include "dialog/qt/qt_edit_control.h"
#include "dialog/qt/qt_radio_groups.h"
#include "dialog/qt/qt_window_activation.h"
#include "dialog/window_foreground.h"
#include "dialog/window_styles.h"
#include "res/spoken_names.h"

namespace {

constexpr int kSystemIconSize = 32;            // SM_CXICON, SM_CYICON at 96 dots per inch
constexpr unsigned kPreciseTimerLimitMs = 20;  // below this a coarse timer would drift too far

// A message posted to the window from any thread.
class PostedMessageEvent : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    explicit PostedMessageEvent(const WindowMessage& message) : QEvent(Kind()), message_(message) {}
    const WindowMessage& Message() const { return message_; }

private:
    WindowMessage message_;
};

Qt::WindowFlags WindowFlagsOf(const DialogTemplate& source, bool owned) {
    Qt::WindowFlags flags = owned ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (HasStyle(source.style, kWsSysMenu)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (!owned && HasStyle(source.style, kWsMinimizeBox)) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
    }
    return flags;
}

// Tab stops take the focus from the keyboard and the mouse; other input controls only when
// clicked; texts, frames and icons never.
Qt::FocusPolicy FocusPolicyOf(const ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::kStatic:
        case ControlKind::kGroupBox:
        case ControlKind::kIcon:
            return Qt::NoFocus;
        default:
            return HasStyle(control.style, kWsTabStop) ? Qt::StrongFocus : Qt::ClickFocus;
    }
}

}  // namespace

QtDialogWindow::QtDialogWindow(QtDialogBackend& backend, CDialog& dialog,
                               const DialogTemplate& source, QWidget* owner)
    : QDialog(owner, WindowFlagsOf(source, owner != nullptr)),
      backend_(backend),
      dialog_(&dialog),
      source_(source),
      layout_(source),
      model_(source, backend.Text()),
      radioGroups_(new QtRadioGroups([this](int id) { OnUserClick(id); }, this)) {
    setFont(layout_.Font());
    setWindowTitle(DisplayText(backend_.Text(), backend_.Text().ToNarrow(source.caption)));
    setFixedSize(layout_.ClientSize());
    CreateControls();
    auto* about = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(about, &QShortcut::activated, this, [this] { FirstMenuItem(); });
    RegisterForegroundWindow(NativeHandle(), [this](const WindowActivation& launch) {
        QMetaObject::invokeMethod(
            this, [this, launch] { BringToFront(launch); }, Qt::QueuedConnection);
    });
}

QtDialogWindow::~QtDialogWindow() {
    UnregisterForegroundWindow(NativeHandle());
}

QWidget* QtDialogWindow::Control(int id) const {
    const auto found = widgets_.find(id);
    return found != widgets_.end() ? found->second : nullptr;
}

void QtDialogWindow::CreateControls() {
    // A group runs from a control with WS_GROUP to the next one, as ControlModel counts it.
    std::vector<QWidget*> created;
    std::vector<std::pair<int, QRadioButton*>> radioGroup;
    for (int i = 0; i < source_.controlCount; ++i) {
        const ControlTemplate& control = source_.controls[i];
        QWidget* widget = CreateControl(control);
        created.push_back(widget);
        if (HasStyle(control.style, kWsGroup) && !radioGroup.empty()) {
            radioGroups_->AddGroup(radioGroup);
            radioGroup.clear();
        }
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            radioGroup.emplace_back(control.id, radio);
        }
        if (control.id != -1) {
            widgets_[control.id] = widget;
            ConnectControl(control.id, widget);
        }
    }
    if (!radioGroup.empty()) {
        radioGroups_->AddGroup(radioGroup);
    }
    radioGroups_->UpdateTabStops();
    // Group boxes lie under the controls they frame, whatever their place in the template.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->inherits("QGroupBox")) {
            child->lower();
        }
    }
    OrderAndDescribeControls(created);
    NameCaptionlessControls();
}

// The controls that take the focus get the tab order in which they are drawn; each one drawn in
// a group box is described by the box's title, which a screen reader says with its name.
void QtDialogWindow::OrderAndDescribeControls(const std::vector<QWidget*>& created) {
    std::vector<DrawnItem> items;
    std::vector<QWidget*> placed;
    for (QWidget* widget : created) {
        const bool frame = qobject_cast<QGroupBox*>(widget) != nullptr;
        if (frame || widget->focusPolicy() != Qt::NoFocus) {
            items.push_back({widget->geometry(), frame});
            placed.push_back(widget);
        }
    }
    for (int index : DrawnOrder(items)) {
        if (!tabOrder_.empty()) {
            setTabOrder(tabOrder_.back(), placed[index]);
        }
        tabOrder_.push_back(placed[index]);
        const int frame = EnclosingFrame(items, index);
        if (frame >= 0) {
            placed[index]->setAccessibleDescription(
                WithoutMnemonics(static_cast<QGroupBox*>(placed[frame])->title()));
        }
    }
}

// A label that is not shown, whose buddy the control is: Qt names an edit by it, and gives a
// combo box, which it names by its current entry on Linux, a labelled-by relation to it.
void QtDialogWindow::NameCaptionlessControls() {
    for (const auto& [id, widget] : widgets_) {
        const int stringId = SpokenNameStringId(source_.id, id);
        if (stringId == 0) {
            continue;
        }
        auto* label = new QLabel(DisplayText(backend_.Text(), backend_.LoadText(stringId)), this);
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(widget);
        label->hide();
    }
}

QWidget* QtDialogWindow::CreateControl(const ControlTemplate& control) {
    const CatalogText& text = backend_.Text();
    QIcon icon;
    QString caption;
    if (control.kind == ControlKind::kIcon) {  // its text is the icon's resource id
        icon = backend_.IconOf(backend_.LoadIconResource(std::atoi(control.text)));
    } else {
        caption = DisplayText(text, text.ToNarrow(control.text));
    }
    QWidget* widget = CreateControlWidget(control, caption, icon, this);
    widget->setObjectName(QString::number(control.id));
    QRect place = layout_.ControlRect(control);
    if (control.kind == ControlKind::kComboBox) {
        // The template's height is the dropped list's; the box itself is as high as its font.
        place.setHeight(widget->sizeHint().height());
    } else if (control.kind == ControlKind::kIcon) {
        place.setSize(QSize(kSystemIconSize, kSystemIconSize));
    }
    widget->setGeometry(place);
    widget->setFocusPolicy(FocusPolicyOf(control));
    widget->setEnabled(!HasStyle(control.style, kWsDisabled));
    widget->setVisible(HasStyle(control.style, kWsVisible));
    if (auto* label = dynamic_cast<QtStaticText*>(widget)) {
        label->SetColorQuery([this, id = control.id] { return QueryColor(id); });
    }
    return widget;
}

// A check box or radio button is heard by its change of state, not by its click signal: a
// click, the keyboard and an assistive tool's toggle action all change it, and the toggle action
// sends no click.
void QtDialogWindow::ConnectControl(int id, QWidget* widget) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        connect(box, &QCheckBox::stateChanged, this, [this, id] { OnShownCheckChanged(id); });
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        connect(radio, &QAbstractButton::toggled, this, [this, id] { OnShownCheckChanged(id); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnUserClick(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this,
                [this, id](int index) { OnUserSelect(id, index); });
    }
}

void QtDialogWindow::Initialise() {
    ++busy_;
    dialog_->AttachWindow(this);
    const bool focusFirst = dialog_ != nullptr && dialog_->OnInitDialog();
    if (backend_.ProgramEndRequested()) {
        EndOnceIdle(kIdCancel);
    }
    LeaveHandler();
    if (focusFirst) {
        const auto first = std::find_if(tabOrder_.begin(), tabOrder_.end(), [](QWidget* control) {
            return (control->focusPolicy() & Qt::TabFocus) && control->isEnabled();
        });
        if (first != tabOrder_.end()) {
            (*first)->setFocus();
        }
    }
}

void QtDialogWindow::RunModalLoop() {
    if (ended_) {
        return;
    }
    modalLoop_ = true;
    exec();
    modalLoop_ = false;
}

void QtDialogWindow::ShowModeless() {
    if (ended_) {
        FinishIfIdle();
    } else if (HasStyle(source_.style, kWsVisible)) {
        show();
    }
}

void QtDialogWindow::Finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    for (const auto& timer : timers_) {
        killTimer(timer.second);
    }
    timers_.clear();
    CDialog* dialog = dialog_;
    if (dialog != nullptr) {
        intptr_t ignored = 0;
        ++busy_;
        dialog->Dispatch({kWmDestroy, 0, 0}, &ignored);
        --busy_;
        dialog->AttachWindow(nullptr);
    }
    dialog_ = nullptr;
    UnregisterForegroundWindow(NativeHandle());
    backend_.WindowFinished(*this, dialog);
}

// A window that is not in a modal loop ends as soon as no handler of it is running any more.
void QtDialogWindow::FinishIfIdle() {
    if (!ended_ || busy_ != 0 || modalLoop_ || finished_) {
        return;
    }
    Finish();
    deleteLater();
}

bool QtDialogWindow::Deliver(const WindowMessage& message, intptr_t* result) {
    if (dialog_ == nullptr || finished_) {
        return false;
    }
    intptr_t ignored = 0;
    ++busy_;
    const bool handled = dialog_->Dispatch(message, result != nullptr ? result : &ignored);
    LeaveHandler();
    FinishIfIdle();
    return handled;
}

// The outermost handler carries out an end asked while it ran, as if it had ended the dialog
// itself as it returned.
void QtDialogWindow::LeaveHandler() {
    if (busy_ == 1 && endOnceIdleAsked_) {
        EndDialog(endOnceIdleResult_);
    }
    --busy_;
}

void QtDialogWindow::EndOnceIdle(int result) {
    if (busy_ == 0) {
        EndDialog(result);
    } else if (!endOnceIdleAsked_) {
        endOnceIdleAsked_ = true;
        endOnceIdleResult_ = result;
    }
}

void QtDialogWindow::SendCommand(int id, unsigned code) {
    Deliver({kWmCommand, MakeCommandParam(id, code), 0});
}

// What the system's default handling of the window menu's commands does for a dialog.
void QtDialogWindow::SendSysCommand(unsigned commandId) {
    if (Deliver({kWmSysCommand, commandId, 0}) || finished_) {
        return;
    }
    switch (commandId & 0xFFF0u) {
        case kScClose:
            SendCommand(kIdCancel, kBnClicked);
            break;
        case kScMinimize:
            showMinimized();
            break;
        case kScRestore:
            showNormal();
            break;
        default:
            break;
    }
}

// An automatic button changes as a click changes it (a radio button takes the check from the
// rest of its group), then the dialog hears of the click.
void QtDialogWindow::OnUserClick(int id) {
    if (ControlState* state = Use(id)) {
        model_.Click(*state);
        ShowChecks();
        SendCommand(id, kBnClicked);
    }
}

// The window shows its model's check states; a state it did not set came from the user, and
// is a click: the model decides the new states (a radio button stays checked) and shows them.
void QtDialogWindow::OnShownCheckChanged(int id) {
    const ControlState* state = Use(id);
    if (state != nullptr && !ShowsCheckState(Control(id), state->check)) {
        OnUserClick(id);
    }
}

void QtDialogWindow::OnUserSelect(int id, int index) {
    if (ControlState* state = Use(id)) {
        state->SelectItem(index);
        SendCommand(id, kCbnSelChange);
    }
}

void QtDialogWindow::ShowChecks() {
    for (const auto& [id, widget] : widgets_) {
        const ControlState* state = model_.Find(id);
        if (state != nullptr &&
            (state->kind == ControlKind::kRadioButton || state->kind == ControlKind::kCheckBox)) {
            ShowCheckState(widget, state->check);
        }
    }
    radioGroups_->UpdateTabStops();
}

// Enter presses the focused push button; a multi-line edit that wants Return keeps it; anywhere
// else the default push button, or IDOK, is issued.
void QtDialogWindow::PressEnter() {
    int focused = 0;
    for (const auto& [id, widget] : widgets_) {
        if (widget == focusWidget()) {
            focused = id;
        }
    }
    const ControlState* state = model_.Find(focused);
    if (state != nullptr && state->IsPushButton()) {
        SendCommand(focused, kBnClicked);
    } else if (state == nullptr || !state->WantsReturn()) {
        SendCommand(model_.DefaultButtonId(), kBnClicked);
    }
}

void QtDialogWindow::FirstMenuItem() {
    for (const MenuItem& item : menu_) {
        if (!item.separator) {
            SendSysCommand(item.commandId);
            return;
        }
    }
}

void QtDialogWindow::BringToFront(const WindowActivation& launch) {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    // A box or dialog open over the window is what the user has to answer first: it takes the
    // focus, and the launch's token, which is good for one activation only.
    QWidget* target = this;
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
        modal->raise();
        target = modal;
    }
    ActivateForLaunch(target, launch);
}

ControlColor QtDialogWindow::QueryColor(int id) {
    ControlColor color;
    color.controlId = id;
    if (!Deliver({kWmCtlColorStatic, 0, reinterpret_cast<intptr_t>(&color)})) {
        return ControlColor{};
    }
    return color;
}

std::unique_ptr<QMenu> QtDialogWindow::BuildWindowMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setFont(font());
    for (const MenuItem& item : menu_) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(DisplayText(backend_.Text(), item.text));
        connect(action, &QAction::triggered, this, [this, id = item.commandId] {
            QMetaObject::invokeMethod(
                this, [this, id] { SendSysCommand(id); }, Qt::QueuedConnection);
        });
    }
    return menu;
}

bool QtDialogWindow::event(QEvent* event) {
    if (event->type() == PostedMessageEvent::Kind()) {
        Deliver(static_cast<PostedMessageEvent*>(event)->Message());
        return true;
    }
    return QDialog::event(event);
}

void QtDialogWindow::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            Deliver({kWmTimer, id, 0});
            return;
        }
    }
    QDialog::timerEvent(event);
}

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!plain) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Escape:
            SendCommand(kIdCancel, kBnClicked);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            PressEnter();
            break;
        case Qt::Key_F1:
            Deliver({kWmHelp, 0, 0});
            break;
        default:
            QWidget::keyPressEvent(event);
            break;
    }
}

// The close button and the desktop's close command are SC_CLOSE; the dialog decides.
void QtDialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!ended_) {
        SendSysCommand(kScClose);
    }
}

void QtDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu = BuildWindowMenu();
    if (!menu->isEmpty()) {
        menu->exec(event->globalPos());
    }
}

uintptr_t QtDialogWindow::NativeHandle() const {
    return reinterpret_cast<uintptr_t>(static_cast<const QWidget*>(this));
}

void QtDialogWindow::ForgetDialog() {
    dialog_ = nullptr;
    EndDialog(kIdCancel);
}

void QtDialogWindow::EndDialog(int result) {
    if (ended_) {
        return;
    }
    ended_ = true;
    result_ = result;
    if (modalLoop_) {
        done(result);  // the loop returns once the running handler has
    } else {
        hide();
        FinishIfIdle();
    }
}

bool QtDialogWindow::Post(const WindowMessage& message) {
    QCoreApplication::postEvent(this, new PostedMessageEvent(message));
    return true;
}

ControlState* QtDialogWindow::Use(int id) {
    return Control(id) != nullptr ? model_.Find(id) : nullptr;
}

const ControlState* QtDialogWindow::Use(int id) const {
    return Control(id) != nullptr ? model_.Find(id) : nullptr;
}

void QtDialogWindow::EnableControl(int id, bool enable) {
    if (ControlState* state = Use(id)) {
        state->enabled = enable;
        Control(id)->setEnabled(enable);
    }
}

void QtDialogWindow::SetCheck(int id, int state) {
    ControlState* control = Use(id);
    if (control != nullptr &&
        (control->kind == ControlKind::kRadioButton || control->kind == ControlKind::kCheckBox)) {
        control->check = state;
        ShowCheckState(Control(id), state);
        radioGroups_->UpdateTabStops();
    }
}

int QtDialogWindow::GetCheck(int id) const {
    const ControlState* state = Use(id);
    return state != nullptr ? state->check : 0;
}

void QtDialogWindow::SetControlText(int id, const std::string& text) {
    if (ControlState* state = Use(id)) {
        state->SetText(text);
        ShowControlText(Control(id), state->kind, DisplayText(backend_.Text(), text));
        if (state->kind == ControlKind::kEdit) {
            ShowEditState(id, *state);
        }
    }
}

std::string QtDialogWindow::GetControlText(int id) const {
    const ControlState* state = Use(id);
    return state != nullptr ? state->text : std::string();
}

int QtDialogWindow::GetControlTextLength(int id) const {
    const ControlState* state = Use(id);
    return state != nullptr ? static_cast<int>(state->text.size()) : 0;
}

void QtDialogWindow::ComboResetContent(int id) {
    if (ControlState* state = Use(id)) {
        state->ResetItems();
        if (auto* combo = qobject_cast<QComboBox*>(Control(id))) {
            combo->clear();
        }
    }
}

int QtDialogWindow::ComboInsertString(int id, int index, const std::string& text) {
    ControlState* state = Use(id);
    auto* combo = qobject_cast<QComboBox*>(Control(id));
    if (state == nullptr || combo == nullptr) {
        return -1;
    }
    const int at = state->InsertItem(index, text);
    if (at >= 0) {
        combo->insertItem(at, DisplayText(backend_.Text(), text));
        combo->setCurrentIndex(state->selection);  // inserting selects nothing, unlike Qt
    }
    return at;
}

void QtDialogWindow::ComboSetCurSel(int id, int index) {
    ControlState* state = Use(id);
    if (auto* combo = qobject_cast<QComboBox*>(Control(id)); state != nullptr && combo) {
        state->SelectItem(index);
        combo->setCurrentIndex(state->selection);
    }
}

int QtDialogWindow::ComboGetCurSel(int id) const {
    const ControlState* state = Use(id);
    return state != nullptr ? state->selection : -1;
}

void QtDialogWindow::EditSetSel(int id, int start, int end) {
    ControlState* state = Use(id);
    if (state != nullptr && state->kind == ControlKind::kEdit) {
        state->SetEditSelection(start, end);
        ShowEditState(id, *state);
    }
}

void QtDialogWindow::EditScrollCaret(int id) {
    if (auto* edit = dynamic_cast<QtEditControl*>(Control(id))) {
        edit->ScrollToCaret();
    }
}

void QtDialogWindow::EditReplaceSel(int id, const std::string& text, bool /*canUndo*/) {
    ControlState* state = Use(id);
    if (state != nullptr && state->kind == ControlKind::kEdit) {
        state->ReplaceEditSelection(text);
        ShowEditState(id, *state);
    }
}

// The selection is kept in bytes of the narrow text; the view counts characters of its own.
void QtDialogWindow::ShowEditState(int id, const ControlState& state) {
    auto* edit = dynamic_cast<QtEditControl*>(Control(id));
    if (edit == nullptr) {
        return;
    }
    const CatalogText& text = backend_.Text();
    edit->ShowText(DisplayText(text, state.text));
    const auto position = [&](int offset) {
        return static_cast<int>(DisplayText(text, state.text.substr(0, offset)).size());
    };
    edit->PlaceSelection(position(state.selectionStart), position(state.selectionEnd));
}

bool QtDialogWindow::SetTimer(unsigned timerId, unsigned periodMs) {
    KillTimer(timerId);  // the same id again replaces the timer
    const Qt::TimerType type = periodMs < kPreciseTimerLimitMs ? Qt::PreciseTimer : Qt::CoarseTimer;
    const int qtId = startTimer(static_cast<int>(periodMs), type);
    if (qtId == 0) {
        return false;
    }
    timers_[timerId] = qtId;
    return true;
}

void QtDialogWindow::KillTimer(unsigned timerId) {
    const auto found = timers_.find(timerId);
    if (found != timers_.end()) {
        killTimer(found->second);
        timers_.erase(found);
    }
}

// Modal to the window; the box's own loop goes on delivering the program's timers and posted
// messages, as a Win32 message box's loop does.
int QtDialogWindow::ShowMessageBox(const std::string& text, const std::string& title) {
    const CatalogText& narrow = backend_.Text();
    if (backend_.ProgramEndRequested()) {
        // Nobody is there to answer it any more: what it says goes to the session's log.
        qWarning().noquote() << DisplayText(narrow, title) + QStringLiteral(": ") +
                                    DisplayText(narrow, text);
        return kIdOk;
    }
    QMessageBox box(QMessageBox::NoIcon, DisplayText(narrow, title), DisplayText(narrow, text),
                    QMessageBox::Ok, this);
    box.setFont(font());  // a window does not take its owner's font, and this one has the glyphs
    const QtDialogBackend::MessageBoxHook hook = backend_.MessageBoxHookFunction();
    if (hook) {
        QTimer::singleShot(0, &box, [&box, &hook, &title, &text, owner = dialog_] {
            hook(owner, title, text);
            box.done(QMessageBox::Ok);
        });
    }
    box.exec();
    return kIdOk;
}

bool QtDialogWindow::ChooseFileToSave(const SaveFileRequest& request, ChosenFile* chosen) {
    if (backend_.ProgramEndRequested()) {
        return false;
    }
    return RunSaveFileDialog(this, backend_.Text(), request, backend_.SaveFileDialogHookFunction(),
                             chosen);
}

bool QtDialogWindow::HasSystemMenu() const {
    return HasStyle(source_.style, kWsSysMenu);
}

void QtDialogWindow::AppendSystemMenuSeparator() {
    menu_.push_back({true, 0, std::string()});
}

void QtDialogWindow::AppendSystemMenuItem(unsigned commandId, const std::string& text) {
    menu_.push_back({false, commandId, text});
}

// The icon holds every size a desktop may ask for, so large and small are the same icon.
void QtDialogWindow::SetIcon(IconHandle icon, bool /*large*/) {
    setWindowIcon(backend_.IconOf(icon));
}

int QtDialogWindow::SystemIconWidth() const {
    return kSystemIconSize;
}

int QtDialogWindow::SystemIconHeight() const {
    return kSystemIconSize;
}

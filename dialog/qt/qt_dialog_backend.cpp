#include "dialog/qt/qt_dialog_backend.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "dialog/qt/qt_dialog_window.h"

namespace {

// The sizes the icon resources are drawn at (res/make-icon.sh), the ones desktops ask for.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// An icon resource's images: ":/icons/<id>/<size>.png" (res/app_icons.qrc).
QIcon LoadIconImages(int iconId) {
    QIcon icon;
    for (int size : kIconSizes) {
        const QString path = QStringLiteral(":/icons/%1/%2.png").arg(iconId).arg(size);
        if (QFile::exists(path)) {
            icon.addFile(path, QSize(size, size));
        }
    }
    return icon;
}

}  // namespace

QtDialogBackend::QtDialogBackend(const ResourceCatalog& catalog, uint16_t language)
    : text_(catalog, language) {}

QtDialogBackend::~QtDialogBackend() {
    while (!windows_.empty()) {
        QtDialogWindow* window = windows_.back();
        window->EndDialog(kIdCancel);
        window->Finish();  // takes it off the list
        delete window;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QtDialogWindow* QtDialogBackend::MakeWindow(CDialog& dialog) {
    const DialogTemplate* source = text_.FindDialog(dialog.TemplateId());
    if (source == nullptr) {
        return nullptr;
    }
    QWidget* owner = dialog.Parent() != nullptr ? WindowWidget(*dialog.Parent()) : nullptr;
    auto* window = new QtDialogWindow(*this, dialog, *source, owner);
    windows_.push_back(window);
    window->Initialise();
    return window;
}

int QtDialogBackend::RunModal(CDialog& dialog) {
    std::unique_ptr<QtDialogWindow> window(MakeWindow(dialog));
    if (window == nullptr) {
        return -1;
    }
    if (modalHook_ && !window->Ended()) {
        RunModalHook(*window, dialog);
    }
    window->RunModalLoop();
    window->Finish();
    return window->Result();
}

// Queued into the dialog's own loop, which has started by the time the hook runs.
void QtDialogBackend::RunModalHook(QtDialogWindow& window, CDialog& dialog) {
    QTimer::singleShot(0, &window, [hook = modalHook_, &window, &dialog] {
        hook(dialog);
        if (!window.Ended()) {
            window.EndDialog(kIdCancel);
        }
    });
}

bool QtDialogBackend::Open(CDialog& dialog) {
    QtDialogWindow* window = MakeWindow(dialog);
    if (window == nullptr) {
        return false;
    }
    window->ShowModeless();
    return true;
}

void QtDialogBackend::RequestProgramEnd() {
    if (programEndRequested_) {
        return;
    }
    programEndRequested_ = true;
    CloseWhatWaitsForTheUser();
    const std::vector<QtDialogWindow*> open = windows_;  // an ending window leaves the list
    for (auto window = open.rbegin(); window != open.rend(); ++window) {
        (*window)->EndOnceIdle(kIdCancel);
    }
}

// Popup menus, and every other dialog open over the program's dialogs (message boxes, file
// dialogs and the questions they ask), each in a loop of its own that the user would have to end.
void QtDialogBackend::CloseWhatWaitsForTheUser() {
    for (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr;) {
        popup->close();
        QWidget* next = QApplication::activePopupWidget();
        popup = next != popup ? next : nullptr;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* waiting = qobject_cast<QDialog*>(widget);
        const bool ours = std::find(windows_.begin(), windows_.end(), widget) != windows_.end();
        if (waiting != nullptr && !ours && waiting->isVisible()) {
            waiting->reject();
        }
    }
}

void QtDialogBackend::WindowFinished(QtDialogWindow& window, const CDialog* dialog) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
    if (dialog != nullptr) {
        results_.emplace_back(dialog, window.Result());
    }
}

QtDialogWindow* QtDialogBackend::WindowOf(const CDialog& dialog) const {
    for (QtDialogWindow* window : windows_) {
        if (window->Dialog() == &dialog) {
            return window;
        }
    }
    return nullptr;
}

bool QtDialogBackend::IsOpen(const CDialog& dialog) const {
    return WindowOf(dialog) != nullptr;
}

int QtDialogBackend::ResultOf(const CDialog& dialog) const {
    for (auto it = results_.rbegin(); it != results_.rend(); ++it) {
        if (it->first == &dialog) {
            return it->second;
        }
    }
    return -1;
}

QDialog* QtDialogBackend::WindowWidget(const CDialog& dialog) const {
    return WindowOf(dialog);
}

QWidget* QtDialogBackend::ControlWidget(const CDialog& dialog, int id) const {
    const QtDialogWindow* window = WindowOf(dialog);
    return window != nullptr ? window->Control(id) : nullptr;
}

IconHandle QtDialogBackend::LoadIconResource(int iconId) {
    const auto known = std::find(iconIds_.begin(), iconIds_.end(), iconId);
    if (known != iconIds_.end()) {
        return static_cast<IconHandle>(known - iconIds_.begin()) + 1;
    }
    const QIcon icon = LoadIconImages(iconId);
    if (icon.isNull()) {
        return 0;
    }
    icons_.push_back(icon);
    iconIds_.push_back(iconId);
    return static_cast<IconHandle>(icons_.size());
}

QIcon QtDialogBackend::IconOf(IconHandle icon) const {
    return icon >= 1 && icon <= icons_.size() ? icons_[icon - 1] : QIcon();
}

// The executable's file name without its extension, as the Win32 backend gives it.
std::string QtDialogBackend::ApplicationName() const {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (name.isEmpty()) {
        name = QCoreApplication::applicationName();
    }
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        name.truncate(dot);
    }
    return text_.ToNarrow(name.toStdString());
}

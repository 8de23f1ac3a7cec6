#include "dialog/qt/qt_save_file_dialog.h"

#include <QDir>
#include <QFile>
#include <QTimer>

#include "dialog/qt/qt_display_text.h"

bool RunSaveFileDialog(QWidget* owner, const CatalogText& text, const SaveFileRequest& request,
                       const SaveFileDialogHook& hook, ChosenFile* chosen) {
    QFileDialog dialog(owner, DisplayText(text, request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(DisplayText(text, request.fileTypes));
    dialog.setDirectory(QDir::home());
    dialog.selectFile(QString::fromStdString(request.suggestedName));
    if (owner != nullptr) {
        dialog.setFont(owner->font());
    }
    if (hook) {
        QTimer::singleShot(0, &dialog, [&dialog, &hook] {
            hook(dialog);
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QString path = dialog.selectedFiles().constFirst();
    chosen->path = QFile::encodeName(path).toStdString();
    chosen->shownName = text.ToNarrow(path.toStdString());
    return true;
}

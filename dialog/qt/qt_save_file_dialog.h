// The file dialog for saving of the Qt backend: a QFileDialog modal to its owner, in save mode,
// offering the request's file types and its suggested name in the user's home folder, and asking
// before it replaces a file. Its loop keeps the program's timers and posted messages going.
#pragma once

#include <QFileDialog>
#include <functional>

#include "dialog/catalog_text.h"
#include "dialog/dialog_backend.h"

// Runs while the dialog is open, as a user acting on it (it accepts or rejects the dialog; one
// still open when it returns is cancelled).
using SaveFileDialogHook = std::function<void(QFileDialog& dialog)>;

// True when the user chose a file; *chosen then has its path in the file system's encoding and
// its name as narrow text.
bool RunSaveFileDialog(QWidget* owner, const CatalogText& text, const SaveFileRequest& request,
                       const SaveFileDialogHook& hook, ChosenFile* chosen);

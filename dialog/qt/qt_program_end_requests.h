// The system's requests to end the program (SIGTERM, SIGINT, SIGHUP: a log-out, a kill, a closed
// terminal), heard by the Qt event loop: the signal handler only records the request
// (platform/interrupt_signals.h), and the loop, watching the descriptor it writes to, ends the
// backend's dialogs on the GUI thread as QtDialogBackend::RequestProgramEnd describes. An Apply
// under way finishes with every read-back first, and the program then ends through its dialogs'
// normal end, as if closed. A second signal of the same number ends the program at once.
#pragma once

#include <QSocketNotifier>
#include <memory>

#include "dialog/qt/qt_dialog_backend.h"

class QtProgramEndRequests {
public:
    // Starts recording the requests (for the rest of the process's life) and listening for
    // them; a request that came before the loop runs is heard once it does.
    explicit QtProgramEndRequests(QtDialogBackend& backend);

private:
    std::unique_ptr<QSocketNotifier> notifier_;  // none where the system offers no descriptor
};

#include "dialog/qt/qt_program_end_requests.h"

#include "platform/interrupt_signals.h"

QtProgramEndRequests::QtProgramEndRequests(QtDialogBackend& backend) {
    RecordInterruptRequests();
    const int notices = InterruptNoticeDescriptor();
    if (notices < 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(notices, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [&backend] {
        TakeInterruptNotices();
        backend.RequestProgramEnd();
    });
}

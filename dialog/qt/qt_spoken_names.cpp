#include "dialog/qt/qt_spoken_names.h"

#include "res/resource_ids.h"

namespace {

struct SpokenName {
    int dialogId;
    int controlId;
    int stringId;
};

constexpr SpokenName kSpokenNames[] = {
    {IDD_MAIN, IDC_DRIVE_COMBO, IDS_DRIVE_LIST_NAME},
    {IDD_MAIN, IDC_LOG_EDIT, IDS_LOG_NAME},
};

}  // namespace

int SpokenNameStringId(int dialogId, int controlId) {
    for (const SpokenName& name : kSpokenNames) {
        if (name.dialogId == dialogId && name.controlId == controlId) {
            return name.stringId;
        }
    }
    return 0;
}

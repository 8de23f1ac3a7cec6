// The names a screen reader speaks for the controls that show no caption of their own: the
// dialog templates give the drive list and the log box no text, so the string table holds a name
// for each. Resource data beside the templates; the backends with an accessibility interface read
// it.
#pragma once

#include "res/resource_ids.h"

struct SpokenName {
    int dialogId;
    int controlId;
    int stringId;
};

inline constexpr SpokenName kSpokenNames[] = {
    {IDD_MAIN, IDC_DRIVE_COMBO, IDS_DRIVE_LIST_NAME},
    {IDD_MAIN, IDC_LOG_EDIT, IDS_LOG_NAME},
};

// The string id of the control's spoken name; 0 for a control that needs none.
inline int SpokenNameStringId(int dialogId, int controlId) {
    for (const SpokenName& name : kSpokenNames) {
        if (name.dialogId == dialogId && name.controlId == controlId) {
            return name.stringId;
        }
    }
    return 0;
}

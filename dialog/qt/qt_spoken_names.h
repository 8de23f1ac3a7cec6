// The names a screen reader speaks for the controls that show no caption of their own: the
// Windows templates give the drive list and the log box no text, so the string table holds a
// name for each.
#pragma once

// The string id of the control's spoken name; 0 for a control that needs none.
int SpokenNameStringId(int dialogId, int controlId);

// Lookup in the generated resource tables. Exact language match only: the caller picks the
// language, as the Win32 backend's resource loader does from the user's locale.
#include "platform/resource_catalog.h"

#include "res/resource_catalog_data.h"

const DialogTemplate* FindDialogTemplate(int dialogId, uint16_t language) {
    for (int i = 0; i < kCatalogDialogCount; ++i) {
        if (kCatalogDialogs[i].id == dialogId && kCatalogDialogs[i].language == language) {
            return &kCatalogDialogs[i];
        }
    }
    return nullptr;
}

const char* FindStringResource(int stringId, uint16_t language) {
    for (int i = 0; i < kCatalogStringCount; ++i) {
        if (kCatalogStrings[i].id == stringId && kCatalogStrings[i].language == language) {
            return kCatalogStrings[i].text;
        }
    }
    return nullptr;
}

#include "res/generated_resource_catalog.h"

#include "res/resource_catalog_data.h"

namespace {

class GeneratedCatalog : public ResourceCatalog {
public:
    const DialogTemplate* FindDialog(int dialogId, uint16_t language) const override {
        for (int i = 0; i < kCatalogDialogCount; ++i) {
            if (kCatalogDialogs[i].id == dialogId && kCatalogDialogs[i].language == language) {
                return &kCatalogDialogs[i];
            }
        }
        return nullptr;
    }

    const char* FindString(int stringId, uint16_t language) const override {
        for (int i = 0; i < kCatalogStringCount; ++i) {
            if (kCatalogStrings[i].id == stringId && kCatalogStrings[i].language == language) {
                return kCatalogStrings[i].text;
            }
        }
        return nullptr;
    }
};

}  // namespace

const ResourceCatalog& GeneratedResourceCatalog() {
    static const GeneratedCatalog kCatalog;
    return kCatalog;
}

// The tables the catalog generator writes from the resource scripts.
#pragma once

#include <cstdint>

#include "res/resource_catalog.h"

struct CatalogString {
    int id;
    uint16_t language;
    const char* text;  // UTF-8
};

extern const DialogTemplate kCatalogDialogs[];
extern const int kCatalogDialogCount;
extern const CatalogString kCatalogStrings[];
extern const int kCatalogStringCount;

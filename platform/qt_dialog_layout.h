// A dialog template's font and geometry on screen: the template's font, or its installed stand-in
// (platform/dialog_font_substitutes.h), at the pixel size Windows gives it; and the template's
// dialog units turned into pixels through that font's base units (platform/dialog_units.h).
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "platform/dialog_units.h"
#include "platform/resource_catalog.h"

class QtDialogLayout {
public:
    explicit QtDialogLayout(const DialogTemplate& source);

    const QFont& Font() const { return font_; }
    DialogBaseUnits BaseUnits() const { return base_; }
    QSize ClientSize() const;
    QRect ControlRect(const ControlTemplate& control) const;

private:
    const DialogTemplate& source_;
    QFont font_;
    DialogBaseUnits base_;
};

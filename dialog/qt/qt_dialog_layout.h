// A dialog template's font and geometry on screen: the template's font, or its installed stand-in
// (dialog/dialog_font_substitutes.h), at the pixel size Windows gives it; and the template's
// dialog units turned into pixels through that font's base units (dialog/dialog_units.h).
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "dialog/dialog_units.h"
#include "res/resource_catalog.h"

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

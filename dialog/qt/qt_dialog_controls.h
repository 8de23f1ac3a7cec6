// The Qt widget of each kind of template control, and how the window sets a widget's text and
// check state from its control model. Statics, group boxes and icons let clicks through, as Win32
// statics do, so a group box laid over its radio buttons never takes their clicks.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QString>
#include <functional>
#include <vector>

#include "dialog/window_messages.h"
#include "res/resource_catalog.h"

// A static text that asks the dialog for its colours each time it is painted, as a Win32 static
// sends WM_CTLCOLORSTATIC: the text colour and background mode the handler sets are applied.
class QtStaticText : public QLabel {
public:
    using ColorQuery = std::function<ControlColor()>;
    QtStaticText(bool prefixProcessing, QWidget* parent);
    void SetColorQuery(ColorQuery query) { query_ = std::move(query); }
    void ShowText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColor(const ControlColor& color);

    const bool prefixProcessing_;
    ColorQuery query_;
};

// The widget of a template control with its text and style; an icon control shows icon.
QWidget* CreateControlWidget(const ControlTemplate& control, const QString& text, const QIcon& icon,
                             QWidget* parent);
void ShowControlText(QWidget* widget, ControlKind kind, const QString& text);
// 0 unchecked, 1 checked, 2 indeterminate; check boxes and radio buttons only, as BM_SETCHECK.
void ShowCheckState(QWidget* widget, int state);
// Whether the widget shows what ShowCheckState(widget, state) would show; true for other widgets.
bool ShowsCheckState(QWidget* widget, int state);
// The radio buttons of one template group, in a button group that is not exclusive: the window
// keeps the group's one check itself, and Qt leaves the buttons of a group alone. Without a
// group Qt would make every radio button of the window exclusive with the others, and turning
// that off (autoExclusive) would make them check boxes to assistive technology.
void GroupRadioButtons(const std::vector<QRadioButton*>& buttons, QObject* owner);

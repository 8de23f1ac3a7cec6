// The Qt backend against the framework's contract: both templates in both languages become
// widgets at their places with their texts and states; the user's clicks and keys reach the
// message map as Win32 notifications, through the radio groups of the template; posted messages
// and timers arrive in order on the GUI thread and not after the window has gone; message boxes
// are modal with the window's timers running; an accessible toggle is a click; the window menu
// and Ctrl+I open the About box; the description is blue; the edit keeps the program's narrow
// text; the icon has every size.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <thread>

#include "dialog/qt/qt_dialog_layout.h"
#include "dialog/qt/qt_dialog_window.h"
#include "dialog/qt/qt_display_text.h"
#include "res/generated_resource_catalog.h"
#include "tests/qt/qt_window_driver.h"
#include "tests/qt/recording_dialog.h"
#include "tests/ui/driven_main_window_rig.h"

namespace {

const WindowBackendCase kQt{"qt", [](uint16_t language) -> std::unique_ptr<WindowDriver> {
                                return std::make_unique<QtWindowDriver>(language);
                            }};

void Activate(QWidget* window) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

bool WaitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 3000);
}

// The widget with the control's id at the control's place: controls without an id are told
// apart by their places.
QWidget* WidgetAt(QDialog* window, const ControlTemplate& control, const QRect& place) {
    for (QWidget* child : window->findChildren<QWidget*>(QString::number(control.id))) {
        const bool samePlace = control.kind == ControlKind::kComboBox
                                   ? child->x() == place.x() && child->y() == place.y() &&
                                         child->width() == place.width()
                                   : child->pos() == place.topLeft();
        if (samePlace) {
            return child;
        }
    }
    return nullptr;
}

void ExpectControlAsTemplated(QDialog* window, const ControlTemplate& control,
                              const QtDialogLayout& layout) {
    const QRect place = layout.ControlRect(control);
    QWidget* widget = WidgetAt(window, control, place);
    ASSERT_NE(widget, nullptr) << control.id << " " << control.text;
    EXPECT_TRUE(widget->isVisibleTo(window)) << control.text;
    EXPECT_TRUE(widget->isEnabled()) << control.text;
    switch (control.kind) {
        case ControlKind::kIcon:
            ASSERT_NE(qobject_cast<QLabel*>(widget), nullptr);
            EXPECT_EQ(qobject_cast<QLabel*>(widget)->pixmap().size(), QSize(32, 32));
            return;
        case ControlKind::kEdit:
            ASSERT_NE(qobject_cast<QPlainTextEdit*>(widget), nullptr);
            EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(widget)->isReadOnly());
            EXPECT_EQ(qobject_cast<QPlainTextEdit*>(widget)->verticalScrollBarPolicy(),
                      Qt::ScrollBarAlwaysOn);
            break;
        case ControlKind::kComboBox:
            ASSERT_NE(qobject_cast<QComboBox*>(widget), nullptr);
            EXPECT_EQ(qobject_cast<QComboBox*>(widget)->currentIndex(), -1);
            break;
        case ControlKind::kRadioButton:
            ASSERT_NE(qobject_cast<QRadioButton*>(widget), nullptr);
            EXPECT_FALSE(qobject_cast<QRadioButton*>(widget)->isChecked());
            break;
        case ControlKind::kCheckBox:
            ASSERT_NE(qobject_cast<QCheckBox*>(widget), nullptr);
            EXPECT_FALSE(qobject_cast<QCheckBox*>(widget)->isChecked());
            break;
        case ControlKind::kPushButton:
        case ControlKind::kDefaultPushButton:
            ASSERT_NE(qobject_cast<QPushButton*>(widget), nullptr);
            EXPECT_EQ(qobject_cast<QPushButton*>(widget)->isDefault(),
                      control.kind == ControlKind::kDefaultPushButton);
            break;
        case ControlKind::kGroupBox:
        case ControlKind::kStatic:
            break;
    }
    if (control.kind != ControlKind::kComboBox) {
        EXPECT_EQ(widget->size(), place.size()) << control.text;
    }
    EXPECT_EQ(ShownText(widget), QString::fromUtf8(control.text)) << control.id;
}

TEST(QtTemplates, EveryControlOfBothDialogsInBothLanguagesIsInItsPlaceWithItsText) {
    struct Case {
        uint16_t language;
        int dialog;
        const char* family;
    };
    for (const Case c : {Case{kLanguageEnglish, IDD_MAIN, "DejaVu Sans"},
                         Case{kLanguageEnglish, IDD_ABOUTBOX, "DejaVu Sans"},
                         Case{kLanguageJapanese, IDD_MAIN, "IPAPGothic"},
                         Case{kLanguageJapanese, IDD_ABOUTBOX, "IPAPGothic"}}) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.dialog);
        QtDialogBackend backend(GeneratedResourceCatalog(), c.language);
        RecordingDialog dialog(backend, c.dialog);
        ASSERT_TRUE(backend.Open(dialog));
        QDialog* window = backend.WindowWidget(dialog);
        ASSERT_NE(window, nullptr);
        const DialogTemplate* source = GeneratedResourceCatalog().FindDialog(c.dialog, c.language);
        const QtDialogLayout layout(*source);
        EXPECT_EQ(QFontInfo(window->font()).family(), QString::fromLatin1(c.family));
        EXPECT_EQ(window->size(), layout.ClientSize());
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(source->caption));
        EXPECT_EQ(window->isVisible(), c.dialog == IDD_MAIN);  // only it has WS_VISIBLE
        for (int i = 0; i < source->controlCount; ++i) {
            ExpectControlAsTemplated(window, source->controls[i], layout);
        }
        // Besides the template's controls only the labels that name captionless ones, unseen.
        int others = 0;
        for (QWidget* child :
             window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            auto* label = qobject_cast<QLabel*>(child);
            others += label != nullptr && label->buddy() != nullptr && label->isHidden() ? 1 : 0;
        }
        EXPECT_EQ(window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(),
                  source->controlCount + others);
        EXPECT_EQ(others, c.dialog == IDD_MAIN ? 2 : 0);
    }
}

TEST(QtTemplates, DialogUnitsFollowTheFontsOwnMetrics) {
    for (uint16_t language : {kLanguageEnglish, kLanguageJapanese}) {
        const DialogTemplate* source = GeneratedResourceCatalog().FindDialog(IDD_MAIN, language);
        const QtDialogLayout layout(*source);
        const QFontMetrics metrics(layout.Font());
        EXPECT_EQ(layout.BaseUnits().y, metrics.height());
        const double average = metrics.horizontalAdvance(QStringLiteral(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                               52.0;
        EXPECT_NEAR(layout.BaseUnits().x, average, 0.5);
    }
}

struct OpenRecordingDialog {
    explicit OpenRecordingDialog(uint16_t language = kLanguageEnglish)
        : backend(GeneratedResourceCatalog(), language), dialog(backend) {
        EXPECT_TRUE(backend.Open(dialog));
        window = backend.WindowWidget(dialog);
    }
    template <class Widget>
    Widget* Control(int id) {
        return qobject_cast<Widget*>(backend.ControlWidget(dialog, id));
    }
    void Click(int id) {
        auto* button = Control<QAbstractButton>(id);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ClickPoint(button));
    }
    QtDialogBackend backend;
    RecordingDialog dialog;
    QDialog* window = nullptr;
};

TEST(QtControls, ClicksFollowTheTemplatesRadioGroupsAndReachTheMessageMap) {
    OpenRecordingDialog w;
    w.Click(IDC_SPEED_ON);
    w.Click(IDC_AUDIO_HIGH);
    w.Click(IDC_SPEED_OFF);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SPEED_ON), 0);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_EQ(w.dialog.GetCheck(IDC_AUDIO_HIGH), 1);  // a group of its own
    EXPECT_FALSE(w.Control<QRadioButton>(IDC_SPEED_ON)->isChecked());
    EXPECT_TRUE(w.Control<QRadioButton>(IDC_AUDIO_HIGH)->isChecked());
    w.Click(IDC_SPEED_OFF);  // clicking the checked one keeps it checked
    EXPECT_EQ(w.dialog.GetCheck(IDC_SPEED_OFF), 1);
    w.Click(IDC_SAVE_SPEED);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SAVE_SPEED), 1);
    w.Click(IDC_SAVE_SPEED);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SAVE_SPEED), 0);
    w.dialog.EnableControl(IDC_APPLY, false);
    EXPECT_FALSE(w.Control<QPushButton>(IDC_APPLY)->isEnabled());
    w.Click(IDC_APPLY);  // disabled: nothing
    w.dialog.EnableControl(IDC_APPLY, true);
    w.Click(IDC_APPLY);
    EXPECT_EQ(w.dialog.Of(kWmCommand),
              (std::vector<uintptr_t>{IDC_SPEED_ON, IDC_AUDIO_HIGH, IDC_SPEED_OFF, IDC_SPEED_OFF,
                                      IDC_SAVE_SPEED, IDC_SAVE_SPEED, IDC_APPLY}));
    w.dialog.SetCheck(IDC_SPEED_ON, 1);  // BM_SETCHECK leaves the rest of the group alone
    EXPECT_TRUE(w.Control<QRadioButton>(IDC_SPEED_OFF)->isChecked());
}

// Assistive technology (a screen reader, the accessibility bus) toggles check boxes and radio
// buttons through their accessibility interface, which changes the widget without a click. The
// window must hear it as the user's click, or Apply writes the old choice while the screen shows
// the new one; and radio buttons must say they are radio buttons.
TEST(QtControls, AnAccessibleToggleIsTheUsersClickAndRadioButtonsSayWhatTheyAre) {
    OpenRecordingDialog w;
    const auto accessible = [&](int id) {
        return QAccessible::queryAccessibleInterface(w.backend.ControlWidget(w.dialog, id));
    };
    const auto toggle = [&](int id) {
        QAccessibleInterface* control = accessible(id);
        ASSERT_NE(control, nullptr);
        ASSERT_NE(control->actionInterface(), nullptr);
        ASSERT_TRUE(control->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        control->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    EXPECT_EQ(accessible(IDC_SPEED_ON)->role(), QAccessible::RadioButton);
    EXPECT_EQ(accessible(IDC_AUDIO_LOW)->role(), QAccessible::RadioButton);
    EXPECT_EQ(accessible(IDC_SAVE_SPEED)->role(), QAccessible::CheckBox);
    w.dialog.SetCheck(IDC_SPEED_ON, 1);
    w.dialog.SetCheck(IDC_AUDIO_HIGH, 1);
    w.dialog.SetCheck(IDC_SAVE_AUDIO, 2);
    w.dialog.SetCheck(IDC_SAVE_AUDIO, 0);
    EXPECT_TRUE(w.dialog.Of(kWmCommand).empty());  // the window's own changes are no clicks

    toggle(IDC_SPEED_OFF);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SPEED_ON), 0);
    EXPECT_FALSE(w.Control<QRadioButton>(IDC_SPEED_ON)->isChecked());
    EXPECT_TRUE(accessible(IDC_SPEED_OFF)->state().checked);
    EXPECT_EQ(w.dialog.GetCheck(IDC_AUDIO_HIGH), 1);  // another group
    toggle(IDC_SPEED_OFF);  // as a click: the checked radio button stays checked
    EXPECT_EQ(w.dialog.GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_TRUE(w.Control<QRadioButton>(IDC_SPEED_OFF)->isChecked());
    toggle(IDC_SAVE_SPEED);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SAVE_SPEED), 1);
    toggle(IDC_SAVE_SPEED);
    EXPECT_EQ(w.dialog.GetCheck(IDC_SAVE_SPEED), 0);
    EXPECT_FALSE(w.Control<QCheckBox>(IDC_SAVE_SPEED)->isChecked());
    EXPECT_EQ(w.dialog.Of(kWmCommand), (std::vector<uintptr_t>{IDC_SPEED_OFF, IDC_SPEED_OFF,
                                                               IDC_SAVE_SPEED, IDC_SAVE_SPEED}));
}

TEST(QtControls, TheDropDownListInsertsWithoutSelectingAndReportsTheUsersChoice) {
    OpenRecordingDialog w;
    EXPECT_EQ(w.dialog.ComboInsertString(IDC_DRIVE_COMBO, -1, "E: one"), 0);
    EXPECT_EQ(w.dialog.ComboInsertString(IDC_DRIVE_COMBO, -1, "G: two"), 1);
    EXPECT_EQ(w.dialog.ComboInsertString(IDC_DRIVE_COMBO, 5, "bad"), -1);
    auto* combo = w.Control<QComboBox>(IDC_DRIVE_COMBO);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), -1);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(w.dialog.Of(kWmCommand),
              std::vector<uintptr_t>{MakeCommandParam(IDC_DRIVE_COMBO, kCbnSelChange)});
    EXPECT_EQ(w.window->findChild<QComboBox*>()->currentText(), QStringLiteral("G: two"));
}

TEST(QtKeys, EnterEscF1AndTheCloseButtonActAsTheDialogManagerMakesThem) {
    {
        OpenRecordingDialog w;
        Activate(w.window);
        w.Control<QWidget>(IDC_LOG_EDIT)->setFocus();
        QTest::keyClick(w.Control<QWidget>(IDC_LOG_EDIT), Qt::Key_Return);  // the edit keeps it
        w.Control<QWidget>(IDC_APPLY)->setFocus();
        QTest::keyClick(w.Control<QWidget>(IDC_APPLY), Qt::Key_Return);
        QTest::keyClick(w.window, Qt::Key_F1);
        EXPECT_TRUE(w.backend.IsOpen(w.dialog));
        w.Control<QWidget>(IDC_SAVE_SPEED)->setFocus();
        QTest::keyClick(w.Control<QWidget>(IDC_SAVE_SPEED), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(w.dialog.Of(kWmCommand), (std::vector<uintptr_t>{IDC_APPLY, kIdOk}));
        EXPECT_EQ(w.dialog.Of(kWmHelp).size(), 1u);
        EXPECT_FALSE(w.backend.IsOpen(w.dialog));
        EXPECT_EQ(w.backend.ResultOf(w.dialog), kIdOk);
        EXPECT_EQ(w.dialog.Of(kWmDestroy).size(), 1u);
        EXPECT_EQ(w.dialog.Window(), nullptr);
    }
    {
        OpenRecordingDialog w;
        QTest::keyClick(w.window, Qt::Key_Escape);
        EXPECT_EQ(w.backend.ResultOf(w.dialog), kIdCancel);
    }
    {
        OpenRecordingDialog w;
        w.window->close();
        EXPECT_EQ(w.dialog.Of(kWmSysCommand), std::vector<uintptr_t>{kScClose});
        EXPECT_EQ(w.backend.ResultOf(w.dialog), kIdCancel);
    }
}

TEST(QtMessages, PostsFromAnotherThreadArriveInOrderOnTheGuiThreadAndNotAfterTheWindow) {
    OpenRecordingDialog w;
    std::thread worker([&] {
        for (uintptr_t i = 1; i <= 50; ++i) {
            EXPECT_TRUE(w.dialog.PostToWindow(kWmPrivate, i, 0));
        }
    });
    worker.join();
    ASSERT_TRUE(WaitFor([&] { return w.dialog.Of(kWmPrivate).size() == 50; }));
    for (size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(w.dialog.Of(kWmPrivate)[i], i + 1);
    }
    for (const RecordingDialog::Seen& seen : w.dialog.seen) {
        EXPECT_EQ(seen.thread, std::this_thread::get_id());
    }

    EXPECT_TRUE(w.dialog.PostToWindow(kWmPrivate, 99, 0));
    w.dialog.EndDialog(kIdCancel);  // before the post is delivered
    EXPECT_FALSE(w.dialog.PostToWindow(kWmPrivate, 100, 0));
    QTest::qWait(20);
    EXPECT_EQ(w.dialog.Of(kWmPrivate).size(), 50u);
}

TEST(QtMessages, TimersTickByTheirIdsUntilKilledAndASecondSetReplacesTheFirst) {
    OpenRecordingDialog w;
    const auto ticks = [&](uintptr_t id) {
        const std::vector<uintptr_t> all = w.dialog.Of(kWmTimer);
        return std::count(all.begin(), all.end(), id);
    };
    ASSERT_TRUE(w.dialog.SetTimer(7, 2));
    ASSERT_TRUE(w.dialog.SetTimer(9, 10));
    ASSERT_TRUE(WaitFor([&] { return ticks(7) >= 5 && ticks(9) >= 2; }));
    w.dialog.KillTimer(7);
    ASSERT_TRUE(w.dialog.SetTimer(9, 100000));
    const auto seven = ticks(7);
    const auto nine = ticks(9);
    QTest::qWait(40);
    EXPECT_EQ(ticks(7), seven);
    EXPECT_EQ(ticks(9), nine);
    w.dialog.EndDialog(kIdOk);
    EXPECT_EQ(w.dialog.Of(kWmDestroy).size(), 1u);
}

TEST(QtMessageBox, IsModalWithTheProgramsNameAndTheWindowsTimersKeepTicking) {
    OpenRecordingDialog w(kLanguageJapanese);
    ASSERT_TRUE(w.dialog.SetTimer(1, 2));
    QString shownText;
    QString shownTitle;
    QString shownFamily;
    bool ticksWhileOpen = false;
    const CDialog* owner = nullptr;
    std::string narrowTitle;
    w.backend.SetMessageBoxHook(
        [&](const CDialog* boxOwner, const std::string& title, const std::string&) {
            owner = boxOwner;
            narrowTitle = title;
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shownText = box->text();
            shownFamily = QFontInfo(box->font()).family();
            shownTitle = box->windowTitle();
            const size_t before = w.dialog.Of(kWmTimer).size();
            ticksWhileOpen =
                QTest::qWaitFor([&] { return w.dialog.Of(kWmTimer).size() >= before + 5; }, 2000);
        });
    const std::string text = w.backend.Text().ToNarrow("設定しました\r\n二行目");
    EXPECT_EQ(w.dialog.ShowMessageBox(text), kIdOk);
    EXPECT_EQ(owner, &w.dialog);
    EXPECT_EQ(narrowTitle, "qt_tests");
    EXPECT_EQ(shownTitle, QStringLiteral("qt_tests"));
    EXPECT_EQ(shownText, QStringLiteral("設定しました\n二行目"));
    EXPECT_EQ(shownFamily, QStringLiteral("IPAPGothic"));  // the dialog's font, not a fallback
    EXPECT_TRUE(ticksWhileOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtEdit, KeepsTheNarrowTextAndSelectionWhileShowingItsLines) {
    OpenRecordingDialog w(kLanguageJapanese);
    const CatalogText& text = w.backend.Text();
    w.dialog.SetControlText(IDC_LOG_EDIT, text.ToNarrow("設定\r\n"));
    EXPECT_EQ(w.dialog.GetControlTextLength(IDC_LOG_EDIT), 6);  // two Shift-JIS characters
    const int end = w.dialog.GetControlTextLength(IDC_LOG_EDIT);
    w.dialog.EditSetSel(IDC_LOG_EDIT, end, end);
    w.dialog.EditReplaceSel(IDC_LOG_EDIT, "OFF", false);
    w.dialog.EditSetSel(IDC_LOG_EDIT, 0, 4);  // the first two characters
    w.dialog.EditReplaceSel(IDC_LOG_EDIT, "ON", false);
    EXPECT_EQ(text.ToUtf8(w.dialog.GetControlText(IDC_LOG_EDIT)), "ON\r\nOFF");
    auto* edit = w.Control<QPlainTextEdit>(IDC_LOG_EDIT);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("ON\nOFF"));
    EXPECT_EQ(edit->textCursor().position(), 2);  // the caret follows the replacement
    EXPECT_EQ(edit->document()->blockCount(), 2);
}

TEST(QtIcons, TheIconHasEveryDesktopSizeAndUnknownIconsNone) {
    QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
    const IconHandle icon = backend.LoadIconResource(IDR_MAINFRAME);
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(backend.LoadIconResource(IDR_MAINFRAME), icon);
    EXPECT_EQ(backend.IconOf(icon).availableSizes(),
              (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    EXPECT_EQ(backend.LoadIconResource(129), 0u);
    EXPECT_TRUE(backend.IconOf(0).isNull());
}

// The real main window: its window menu and Ctrl+I open the About box, nothing else does; its
// description is blue; its window carries the icon.
struct MainWindowWithoutDrives : DrivenMainWindowRig {
    MainWindowWithoutDrives() : DrivenMainWindowRig(kQt, kLanguageEnglish) {
        EXPECT_TRUE(Open());
        Qt().SetModalHook([this](CDialog& modal) {
            opened.push_back(modal.TemplateId());
            QDialog* about = Qt().WindowWidget(modal);
            aboutCaption = about->windowTitle();
            auto* ok = qobject_cast<QPushButton*>(Qt().ControlWidget(modal, kIdOk));
            okIsDefault = ok->isDefault();
            QTest::mouseClick(ok, Qt::LeftButton);
        });
    }
    QtDialogBackend& Qt() { return static_cast<QtWindowDriver&>(*driver).Qt(); }
    QtDialogWindow* Window() { return static_cast<QtDialogWindow*>(Qt().WindowWidget(*dialog)); }

    std::vector<int> opened;
    QString aboutCaption;
    bool okIsDefault = false;
};

TEST(QtMainWindow, TheWindowMenuAndCtrlIOpenTheAboutBoxAndF1DoesNothing) {
    MainWindowWithoutDrives w;
    Activate(w.Window());
    const std::unique_ptr<QMenu> menu = w.Window()->BuildWindowMenu();
    QList<QAction*> items;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            items.push_back(action);
        }
    }
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Velmora Drive Utility Version(&A)..."));
    items[0]->trigger();
    ASSERT_TRUE(WaitFor([&] { return w.opened.size() == 1; }));
    EXPECT_EQ(w.opened[0], IDD_ABOUTBOX);
    EXPECT_EQ(w.aboutCaption, QStringLiteral("Velmora Drive Utility Version Information"));
    EXPECT_TRUE(w.okIsDefault);

    QTest::keyClick(w.Window(), Qt::Key_F1);
    QTest::qWait(20);
    EXPECT_EQ(w.opened.size(), 1u);
    Activate(w.Window());
    QTest::keyClick(w.Window(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(WaitFor([&] { return w.opened.size() == 2; }));
    EXPECT_TRUE(w.driver->IsOpen());
    EXPECT_EQ(w.Window()->windowIcon().availableSizes().size(), 6);
}

TEST(QtMainWindow, OnlyTheDescriptionIsPaintedBlue) {
    MainWindowWithoutDrives w;
    w.dialog->SetControlText(IDC_AUDIO_DESCRIPTION, "WWWW");
    auto* description =
        qobject_cast<QLabel*>(w.Qt().ControlWidget(*w.dialog, IDC_AUDIO_DESCRIPTION));
    const QImage image = description->grab().toImage();
    EXPECT_EQ(description->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(description->autoFillBackground());
    int bluePixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            bluePixels += pixel.blue() > 200 && pixel.red() < 90 && pixel.green() < 90 ? 1 : 0;
        }
    }
    EXPECT_GT(bluePixels, 10);
    for (QLabel* other : w.Window()->findChildren<QLabel*>(QStringLiteral("-1"))) {
        other->grab();
        EXPECT_NE(other->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
}

}  // namespace

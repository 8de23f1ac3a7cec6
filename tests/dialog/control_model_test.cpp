// The control model on a template of the test's own: radio groups bounded by WS_GROUP on any
// kind of control, the focus order past disabled and id-less controls, and the edit selection.
#include "dialog/control_model.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

constexpr uint32_t kGroup = 0x00020000u, kTabStop = 0x00010000u, kDisabled = 0x08000000u;

class NoStrings : public ResourceCatalog {
public:
    const DialogTemplate* FindDialog(int, uint16_t) const override { return nullptr; }
    const char* FindString(int, uint16_t) const override { return nullptr; }
};

const ControlTemplate kControls[] = {
    {-1, ControlKind::kStatic, "label", 0, 0, 1, 1, kTabStop, 0},
    {10, ControlKind::kPushButton, "Off", 0, 0, 1, 1, kTabStop | kDisabled, 0},
    {20, ControlKind::kRadioButton, "A", 0, 0, 1, 1, kGroup | kTabStop, 0},
    {21, ControlKind::kRadioButton, "B", 0, 0, 1, 1, 0, 0},
    {30, ControlKind::kGroupBox, "Café", 0, 0, 1, 1, kGroup, 0},  // ends the first group
    {31, ControlKind::kRadioButton, "C", 0, 0, 1, 1, 0, 0},
    {40, ControlKind::kCheckBox, "Save", 0, 0, 1, 1, kTabStop, 0},
    {50, ControlKind::kIcon, "128", 0, 0, 1, 1, 0, 0},
    {60, ControlKind::kEdit, "", 0, 0, 1, 1, 0x1004u, 0},  // multi-line, wants Return
};
const DialogTemplate kDialog{7,         kLanguageEnglish,
                             "",        "",
                             8,         0,
                             0,         0,
                             10,        10,
                             0,         0,
                             kControls, static_cast<int>(std::size(kControls))};

struct Model {
    NoStrings catalog;
    CatalogText text{catalog, kLanguageEnglish};
    ControlModel controls{kDialog, text};
    int Check(int id) const { return controls.Find(id)->check; }
};

TEST(ControlModel, RadioGroupsEndAtTheNextControlWithGroupStyleOfAnyKind) {
    Model m;
    m.controls.Click(*m.controls.Find(31));
    m.controls.Click(*m.controls.Find(21));
    EXPECT_EQ(m.Check(21), 1);
    EXPECT_EQ(m.Check(31), 1);  // behind the group box: another group
    m.controls.Click(*m.controls.Find(20));
    EXPECT_EQ(m.Check(20), 1);
    EXPECT_EQ(m.Check(21), 0);

    m.controls.Click(*m.controls.Find(40));
    EXPECT_EQ(m.Check(40), 1);
    m.controls.Click(*m.controls.Find(40));
    EXPECT_EQ(m.Check(40), 0);
    m.controls.Click(*m.controls.Find(10));  // a push button keeps no check
    EXPECT_EQ(m.Check(10), 0);
}

TEST(ControlModel, FocusStartsAtTheFirstEnabledTabStopWithAnIdAndTextsAreNarrow) {
    Model m;
    EXPECT_EQ(m.controls.FirstTabStop(), 20);
    EXPECT_FALSE(m.controls.Find(10)->enabled);
    EXPECT_EQ(m.controls.DefaultButtonId(), 1);  // no default push button: IDOK
    EXPECT_EQ(m.controls.Find(-1), nullptr);
    EXPECT_EQ(m.controls.Find(30)->text, "Caf\xE9");
    EXPECT_EQ(m.controls.Find(50)->text, "");  // an icon's text is its resource id, not shown
    EXPECT_TRUE(m.controls.Find(60)->WantsReturn());
    EXPECT_FALSE(m.controls.Find(40)->WantsReturn());
}

TEST(ControlModel, EditSelectionIsKeptInsideTheTextAndFollowsAReplacement) {
    Model m;
    ControlState& edit = *m.controls.Find(60);
    edit.SetText("abcdef");
    edit.SetEditSelection(4, 1);  // reversed
    edit.ReplaceEditSelection("XY");
    EXPECT_EQ(edit.text, "aXYef");
    edit.SetEditSelection(99, -1);  // both past the end: the caret at the end
    edit.ReplaceEditSelection("!");
    EXPECT_EQ(edit.text, "aXYef!");
    EXPECT_EQ(edit.selectionStart, 6);
    EXPECT_EQ(edit.selectionEnd, 6);
}

}  // namespace

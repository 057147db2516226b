// The option fields: layouts per action, the reset, the failure path, the
// selection on focus and the key filter.
#include "window_fixture.hpp"

#include <QLabel>

namespace {

using hw::PromptButtons;
using hw::test::WindowTest;

struct LayoutRow
{
    const char *action;
    // Captions and defaults of fields 0 to 11; nullptr: field not used.
    std::array<const char *, 12> captions;
    std::array<const char *, 12> defaults;
    bool option1Text;
};

const LayoutRow kLayouts[] = {
    {"Say", {"File:", "Subtitles:"}, {"", ""}, true},
    {"Cast", {"Spell:", "Target:"}, {"", ""}, true},
    {"Follow",
     {"Target:", nullptr, "Duration(Hours):", "Destiantion X:", "Destiantion Y:", "Destiantion Z:"},
     {"", nullptr, "4", "0", "0", "0"},
     false},
    {"Position in Cell",
     {"Cell ID:", nullptr, "X:", "Y:", "Z:", "Z Rotation:"},
     {"", nullptr, "0", "0", "0", "0"},
     false},
    {"Add Item", {"Item ID:", nullptr, "Quantity:"}, {"", nullptr, "1"}, false},
    {"Set Flee Chance", {nullptr, nullptr, "Percentage:"}, {nullptr, nullptr, "30"}, false},
    {"Appear", {}, {}, false},
    {"Stop Jumping While Moving", {}, {}, false},
    {"Travel", {nullptr, nullptr, "X:", "Y:", "Z:"}, {nullptr, nullptr, "0", "0", "0"}, false},
};

void PrintTo(const LayoutRow &row, std::ostream *os)
{
    *os << row.action;
}

class OptionLayout : public WindowTest, public ::testing::WithParamInterface<LayoutRow>
{
};

TEST_P(OptionLayout, choosingAnActionShowsItsFieldsWithDefaultsAndEmptiesTheRest)
{
    const LayoutRow &row = GetParam();
    // Typed values of the previous action never survive the change.
    chooseAction("Wander");
    for (int n = 1; n < 12; ++n)
        field(n).setText(QStringLiteral("77"));
    chooseAction(row.action);
    for (int n = 0; n < 12; ++n) {
        SCOPED_TRACE(n);
        const bool used = row.captions[n] != nullptr;
        EXPECT_EQ(field(n).isEnabled(), used);
        EXPECT_EQ(window.lblOption[n]->isVisible(), used);
        if (used) {
            EXPECT_EQ(window.lblOption[n]->text(), QString::fromUtf8(row.captions[n]));
            EXPECT_EQ(field(n).text(), QString::fromUtf8(row.defaults[n]));
        } else {
            EXPECT_TRUE(field(n).text().isEmpty());
        }
    }
    EXPECT_EQ(window.option1Text(), row.option1Text);
    EXPECT_TRUE(prompts.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(Actions, OptionLayout, ::testing::ValuesIn(kLayouts));

TEST_F(WindowTest, choosingALayoutAgainRestoresTheDefaults)
{
    chooseAction("Add Item");
    field(0).setText(QStringLiteral("gold_001"));
    field(2).setText(QStringLiteral("50"));
    chooseAction("Remove Item");
    EXPECT_TRUE(field(0).text().isEmpty());
    EXPECT_EQ(field(2).text(), QStringLiteral("1"));
}

TEST_F(WindowTest, anActionTextOutsideTheCatalogueFallsBackToWander)
{
    chooseAction("Say");
    // An empty text is the one a pick-only list can hold that names no action.
    window.cmbTask->setCurrentIndex(-1);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].caption, QStringLiteral("HourWright"));
    EXPECT_EQ(prompts.asked[0].text, QStringLiteral("Command arguments not found!"));
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(window.cmbTask->currentText(), QStringLiteral("Wander"));
    EXPECT_EQ(field(1).text(), QStringLiteral("512"));
    EXPECT_FALSE(window.option1Text());
}

TEST_F(WindowTest, aFieldSelectsItsWholeTextWhenItGetsTheFocus)
{
    window.txtOption[3]->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field(3).selectedText(), QStringLiteral("10"));
    // A click that gives the focus keeps the whole text selected.
    QTest::mouseClick(&field(4), Qt::LeftButton, {}, QPoint(3, 8));
    ASSERT_TRUE(field(4).hasFocus());
    EXPECT_EQ(field(4).selectedText(), QStringLiteral("10"));
    // So the next digit replaces it.
    QTest::keyClick(&field(4), Qt::Key_7);
    EXPECT_EQ(field(4).text(), QStringLiteral("7"));
    // A second click in the focused field places the caret as usual.
    QTest::mouseClick(&field(4), Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_FALSE(field(4).hasSelectedText());
}

TEST_F(WindowTest, tabMovesThroughTheEnabledFieldsSelectingEach)
{
    chooseAction("Travel");
    window.cmbTask->setFocus();
    // chkLOS and chkGlobal come next, then the first enabled field.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &field(2));
    EXPECT_EQ(field(2).selectedText(), QStringLiteral("0"));
}

struct KeyCase
{
    const char *action;
    int field;
    const char *text;
    int selStart; // with selLength 0, the caret
    int selLength;
    QChar key;
    const char *expectText;
    int expectCaret;
};

void PrintTo(const KeyCase &c, std::ostream *os)
{
    *os << c.action << " field " << c.field << " \"" << c.text << "\" sel " << c.selStart << "+"
        << c.selLength << " key " << (c.key == QLatin1Char('\b') ? '#' : c.key.toLatin1());
}

class KeyFilter : public WindowTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(KeyFilter, typedCharacterGivesTextAndCaret)
{
    const KeyCase c = GetParam();
    chooseAction(c.action);
    QLineEdit &box = field(c.field);
    ASSERT_TRUE(box.isEnabled());
    box.setText(QString::fromUtf8(c.text));
    if (c.selLength > 0)
        box.setSelection(c.selStart, c.selLength);
    else
        box.setCursorPosition(c.selStart);
    if (c.key == QLatin1Char('\b'))
        QTest::keyClick(&box, Qt::Key_Backspace);
    else
        QTest::keyClick(&box, c.key.toLatin1());
    EXPECT_EQ(box.text(), QString::fromUtf8(c.expectText));
    EXPECT_EQ(box.cursorPosition(), c.expectCaret);
    EXPECT_TRUE(prompts.asked.empty()) << "refused keys are dropped silently";
}

INSTANTIATE_TEST_SUITE_P(
    Fields, KeyFilter,
    ::testing::Values(
        // One point in a numeric field, judged on the whole text.
        KeyCase {"Wander", 2, "12", 2, 0, '.', "12.", 3},
        KeyCase {"Wander", 2, "12.", 3, 0, '.', "12.", 3},
        KeyCase {"Wander", 2, "1.5", 0, 3, '.', "1.5", 3},
        KeyCase {"Wander", 2, "", 0, 0, '.', ".", 1},
        // The sign key toggles a leading minus wherever the caret is.
        KeyCase {"Wander", 3, "12", 0, 0, '-', "-12", 3},
        KeyCase {"Wander", 3, "12", 1, 0, '-', "-12", 3},
        KeyCase {"Wander", 3, "-12", 1, 0, '-', "12", 2},
        KeyCase {"Wander", 3, "123", 1, 1, '-', "-13", 3},
        KeyCase {"Wander", 3, "55", 0, 2, '-', "-", 1},
        // A minus that is not in front (as pasted) stays; the sign is toggled in front.
        KeyCase {"Wander", 3, "5-3", 1, 0, '-', "-5-3", 4},
        KeyCase {"Wander", 3, "-5-3", 4, 0, '-', "5-3", 3},
        // Digits and Backspace pass; everything else is dropped.
        KeyCase {"Wander", 11, "12", 2, 0, '7', "127", 3},
        KeyCase {"Wander", 11, "12", 1, 0, '\b', "2", 0},
        KeyCase {"Wander", 11, "12", 2, 0, 'a', "12", 2},
        KeyCase {"Wander", 11, "12", 2, 0, ' ', "12", 2},
        KeyCase {"Wander", 11, "12", 2, 0, ',', "12", 2},
        KeyCase {"Wander", 11, "12", 2, 0, '+', "12", 2},
        KeyCase {"Wander", 11, "12", 2, 0, 'E', "12", 2},
        // Field 1 is numeric for Wander, free text for Say and Cast.
        KeyCase {"Wander", 1, "512", 3, 0, 'x', "512", 3},
        KeyCase {"Say", 1, "Hi", 2, 0, '!', "Hi!", 3},
        KeyCase {"Cast", 1, "a-b", 3, 0, '-', "a-b-", 4},
        // Field 0 always takes anything: points and minus are plain characters.
        KeyCase {"Attack", 0, "a.b", 3, 0, '.', "a.b.", 4},
        KeyCase {"Attack", 0, "ab", 1, 0, '-', "a-b", 2},
        KeyCase {"Position in Cell", 0, "Balmora", 7, 0, ',', "Balmora,", 8}));

TEST_F(WindowTest, focusThenMinusThenDigitsBuildANegativeNumber)
{
    window.txtOption[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(&field(2), QStringLiteral("-5"));
    EXPECT_EQ(field(2).text(), QStringLiteral("-5"));
}

TEST_F(WindowTest, aLetterIsRefusedInFieldOneAfterSwitchingFromSayToWander)
{
    chooseAction("Say");
    QTest::keyClicks(&field(1), QStringLiteral("ok"));
    EXPECT_EQ(field(1).text(), QStringLiteral("ok"));
    chooseAction("Wander");
    field(1).setCursorPosition(3);
    QTest::keyClicks(&field(1), QStringLiteral("k1"));
    EXPECT_EQ(field(1).text(), QStringLiteral("5121"));
}

TEST_F(WindowTest, editingKeysAndShortcutsReachANumericField)
{
    field(2).setText(QStringLiteral("45"));
    field(2).setCursorPosition(0);
    QTest::keyClick(&field(2), Qt::Key_Delete);
    EXPECT_EQ(field(2).text(), QStringLiteral("5"));
    QTest::keyClick(&field(2), Qt::Key_End);
    EXPECT_EQ(field(2).cursorPosition(), 1);
    QTest::keyClick(&field(2), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field(2).selectedText(), QStringLiteral("5"));
}

} // namespace

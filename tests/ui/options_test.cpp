// The option fields: layouts per action, the failure path, selection on focus, key filter.
#include "window_fixture.hpp"

#include <QClipboard>
#include <QLabel>

namespace {

using hw::test::WindowTest;

TEST_F(WindowTest, choosingAnActionShowsItsFieldsWithDefaultsAndEmptiesTheRest)
{
    // Action → "n=caption/default" per used field; the others are disabled, empty, unlabelled.
    const std::pair<const char *, const char *> layouts[] = {
        {"Follow",
         "0=Target:/;2=Duration(Hours):/4;3=Destination X:/0;4=Destination Y:/0;5=Destination "
         "Z:/0"},
        {"Appear", ""},
        {"Say", "0=File:/;1=Subtitles:/"},
    };
    for (const auto &[action, layout] : layouts) {
        pick(window.cmbTask, "Add Item"); // typed values never survive, even in a like layout
        field(0).setText(QStringLiteral("gold_001"));
        field(2).setText(QStringLiteral("50"));
        pick(window.cmbTask, action);
        QStringList shown;
        for (int n = 0; n < 12; ++n) {
            EXPECT_EQ(field(n).isEnabled(), window.lblOption[n]->isVisible()) << action << n;
            if (field(n).isEnabled() || !field(n).text().isEmpty())
                shown.append(QString::number(n) + '=' + window.lblOption[n]->text() + '/' +
                             field(n).text());
        }
        EXPECT_EQ(shown.join(';'), QString::fromUtf8(layout));
        EXPECT_EQ(window.option1Text(), QByteArray(action) == "Say");
    }
    // An action outside the catalogue (the empty one) falls back to Wander and its flags.
    window.cmbTask->setCurrentIndex(-1);
    EXPECT_EQ(prompts.asked, QStringList {"HourWright|Command arguments not found!"});
    EXPECT_EQ(window.cmbTask->currentText(), QStringLiteral("Wander"));
    EXPECT_EQ(field(1).text(), QStringLiteral("512"));
    EXPECT_FALSE(window.option1Text());
}

TEST_F(WindowTest, aFieldClickedIntoKeepsTheSelectionItsFocusMade)
{
    // A click that gives the focus keeps the selection, so a digit replaces it;
    // a further click places the caret as usual.
    QTest::mouseClick(&field(4), Qt::LeftButton, {}, QPoint(3, 8));
    EXPECT_EQ(field(4).selectedText(), QStringLiteral("10"));
    QTest::keyClicks(&field(4), QStringLiteral("-7")); // a minus alone, then a digit
    EXPECT_EQ(field(4).text(), QStringLiteral("-7"));
    QTest::mouseClick(&field(4), Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_FALSE(field(4).hasSelectedText());
}

TEST(KeyFilter, typedCharacterGivesTextAndCaret)
{
    // Action, field, its text, selection start (the caret) and length, the key (as typeKeys
    // takes it; "99" on the clipboard), the text and caret after.
    // clang-format off
    const std::tuple<const char *, int, const char *, int, int, char, const char *, int> cases[] = {
        // One point in a numeric field, judged on the whole text.
        {"Wander", 2, "12", 2, 0, '.', "12.", 3}, {"Wander", 2, "12.", 3, 0, '.', "12.", 3},
        {"Wander", 2, "1.5", 0, 3, '.', "1.5", 3},
        // The sign key toggles a leading minus, after taking out a selection; one inside stays.
        {"Wander", 3, "12", 0, 0, '-', "-12", 3}, {"Wander", 3, "-12", 1, 0, '-', "12", 2},
        {"Wander", 3, "123", 1, 1, '-', "-13", 3}, {"Wander", 3, "5-3", 1, 0, '-', "-5-3", 4},
        // Digits, Backspace and Delete pass; every other character, and Ctrl shortcuts, drop.
        {"Wander", 11, "12", 2, 0, '7', "127", 3}, {"Wander", 11, "12", 1, 0, '\b', "2", 0},
        {"Wander", 11, "12", 0, 0, '\x7f', "2", 0}, {"Wander", 11, "12", 2, 0, 'a', "12", 2},
        {"Wander", 1, "512", 3, 0, 'x', "512", 3}, {"Add Item", 2, "5", 1, 0, '\x16', "5", 1},
        // Field 1 of Say and Cast, and field 0, take anything, "." and "-" too; Ctrl+V pastes.
        {"Say", 1, "Hi", 2, 0, '!', "Hi!", 3}, {"Cast", 1, "a-b", 3, 0, '-', "a-b-", 4},
        {"Attack", 0, "a.b", 3, 0, '.', "a.b.", 4}, {"Attack", 0, "ab", 1, 0, '-', "a-b", 2},
        {"Add Item", 0, "", 0, 0, '\x16', "99", 2},
    };
    // clang-format on
    QApplication::clipboard()->setText(QStringLiteral("99"));
    for (const auto &[action, field, text, start, length, key, textAfter, caretAfter] : cases) {
        SCOPED_TRACE(std::string(action) + ' ' + std::to_string(field) + ' ' + text);
        hw::test::Window w;
        w.pick(w.window.cmbTask, action);
        QLineEdit &box = w.field(field);
        box.setText(QString::fromUtf8(text));
        box.setSelection(start, length); // a length of 0 places the caret
        hw::test::typeKeys(&box, std::string(1, key).c_str());
        EXPECT_EQ(box.text(), QString::fromUtf8(textAfter));
        EXPECT_EQ(box.cursorPosition(), caretAfter);
        EXPECT_TRUE(w.prompts.asked.isEmpty()) << "refused keys are dropped silently";
    }
}

} // namespace

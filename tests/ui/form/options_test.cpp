// The option fields: layouts per action, the failure path, selection on focus, key filter.
#include "window_fixture.hpp"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>

namespace {

using namespace hw::test;

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
        // Typed values never survive, even in a like layout.
        pick(controls(window).cmbTask, "Add Item");
        field(0).setText(QStringLiteral("gold_001"));
        field(2).setText(QStringLiteral("50"));
        pick(controls(window).cmbTask, action);
        QStringList shown;
        for (int n = 0; n < 12; ++n) {
            EXPECT_EQ(field(n).isEnabled(), controls(window).lblOption[n]->isVisible())
                << action << n;
            if (field(n).isEnabled() || !field(n).text().isEmpty())
                shown.append(QString::number(n) + '=' + controls(window).lblOption[n]->text() +
                             '/' + field(n).text());
        }
        EXPECT_EQ(shown.join(';'), QString::fromUtf8(layout));
        EXPECT_EQ(window.option1Text(), QByteArray(action) == "Say");
    }
    // An action outside the catalogue (the empty one) falls back to Wander and its flags.
    controls(window).cmbTask->setCurrentIndex(-1);
    EXPECT_EQ(prompts.asked, QStringList {"HourWright|Command arguments not found!"});
    EXPECT_EQ(controls(window).cmbTask->currentText(), QStringLiteral("Wander"));
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

// Action, field, its text, selection start (the caret) and length, the key (as typeKeys takes
// it; \26 is Ctrl+V), what the clipboard holds, the text and caret after.
// clang-format off
const std::tuple<const char *, int, const char *, int, int, char, const char *, const char *, int> kKeys[] = {
    // One point in a numeric field, judged on the whole text.
    {"Wander", 2, "12", 2, 0, '.', "", "12.", 3}, {"Wander", 2, "12.", 3, 0, '.', "", "12.", 3},
    {"Wander", 2, "1.5", 0, 3, '.', "", "1.5", 3},
    // The sign key toggles a leading minus, after taking out a selection; one inside stays.
    {"Wander", 3, "12", 0, 0, '-', "", "-12", 3}, {"Wander", 3, "-12", 1, 0, '-', "", "12", 2},
    {"Wander", 3, "123", 1, 1, '-', "", "-13", 3}, {"Wander", 3, "5-3", 1, 0, '-', "", "-5-3", 4},
    // Digits, Backspace and Delete pass; every other character, and Ctrl shortcuts, drop.
    {"Wander", 11, "12", 2, 0, '7', "", "127", 3}, {"Wander", 11, "12", 1, 0, '\b', "", "2", 0},
    {"Wander", 11, "12", 0, 0, '\x7f', "", "2", 0}, {"Wander", 11, "12", 2, 0, 'a', "", "12", 2},
    {"Wander", 1, "512", 3, 0, 'x', "", "512", 3},
    // Field 1 of Say and Cast, and field 0, take anything, "." and "-" too.
    {"Say", 1, "Hi", 2, 0, '!', "", "Hi!", 3}, {"Cast", 1, "a-b", 3, 0, '-', "", "a-b-", 4},
    {"Attack", 0, "a.b", 3, 0, '.', "", "a.b.", 4}, {"Attack", 0, "ab", 1, 0, '-', "", "a-b", 2},
    {"Add Item", 0, "", 0, 0, '\26', "99", "99", 2},
    // A paste into a numeric field keeps what typing would and ends before a second number.
    {"Add Item", 2, "5", 1, 0, '\26', "99", "599", 3},
    {"Wander", 3, "", 0, 0, '\26', "-12.5.3", "-12.5", 5}, {"Wander", 3, "", 0, 0, '\26', " 1,234.5 m", "1234.5", 6},
    {"Wander", 3, "7", 1, 0, '\26', "5-3", "75", 2}, {"Wander", 3, "12", 0, 0, '\26', "-7", "-712", 2},
    {"Wander", 3, "-12", 3, 0, '\26', "-3", "123", 3}, {"Wander", 3, "1.2", 3, 0, '\26', ".5", "1.2", 3},
    {"Wander", 3, "123", 1, 1, '\26', "4.5", "14.53", 4}, {"Wander", 3, "9", 0, 1, '\26', "abc", "", 0},
};
// clang-format on

TEST(KeyFilter, aKeyOrAPasteGivesTextAndCaretAndAPasteIsOneStepToUndo)
{
    for (const auto &[action, field, text, start, length, key, clipboard, textAfter, caretAfter] :
         kKeys) {
        SCOPED_TRACE(std::string(action) + ' ' + std::to_string(field) + " '" + text + "' " +
                     (key == '\26' ? "paste " + std::string(clipboard) : std::string(1, key)));
        Window w;
        w.pick(controls(w.window).cmbTask, action);
        QLineEdit &box = w.field(field);
        box.setText(QString::fromUtf8(text));
        box.setSelection(start, length); // a length of 0 places the caret
        QApplication::clipboard()->setText(QString::fromUtf8(clipboard));
        typeKeys(&box, std::string(1, key).c_str());
        EXPECT_EQ(box.text(), QString::fromUtf8(textAfter));
        EXPECT_EQ(box.cursorPosition(), caretAfter);
        EXPECT_TRUE(w.prompts.asked.isEmpty()) << "refused keys are dropped silently";
        if (key != '\26')
            continue;
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box.text(), QString::fromUtf8(text));
    }
}

TEST(KeyFilter, shortcutsReachANumericFieldWhileLettersWithAltOrMetaStayOut)
{
    Window w;
    QLineEdit &box = w.field(2);
    box.setText(QStringLiteral("12"));
    const auto press = [&box](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&box, key, modifiers);
        return (box.text() + '|' + box.selectedText() + '|' + QApplication::clipboard()->text())
            .toStdString();
    };
    QApplication::clipboard()->clear();
    EXPECT_EQ(press(Qt::Key_A, Qt::ControlModifier), "12|12|");
    EXPECT_EQ(press(Qt::Key_C, Qt::ControlModifier), "12|12|12");
    EXPECT_EQ(press(Qt::Key_X, Qt::ControlModifier), "||12");
    EXPECT_EQ(press(Qt::Key_Z, Qt::ControlModifier), "12|12|12");
    EXPECT_EQ(press(Qt::Key_End, Qt::NoModifier), "12||12");
    EXPECT_EQ(press(Qt::Key_A, Qt::AltModifier), "12||12");
    EXPECT_EQ(press(Qt::Key_A, Qt::MetaModifier), "12||12");
}

// Pastes `text` into `box` by `route`: "insert" (Shift+Insert), "menu"
// (the context menu's Paste) or "drop" (dropped at the caret).
void paste(QLineEdit &box, const QString &text, const char *route)
{
    QApplication::clipboard()->setText(text);
    const QByteArray how(route);
    if (how == "insert") {
        QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (how == "menu") {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, {}, box.mapToGlobal(QPoint()));
        QApplication::sendEvent(&box, &event);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction *action : menu->actions())
            if (action->text().startsWith(QStringLiteral("&Paste")))
                action->trigger();
        menu->close();
    } else {
        // Qt delivers a drop only inside a drag it runs; the window's filter is handed the
        // drop as Qt would hand it.
        QMimeData mime;
        mime.setText(text);
        const QPoint at(box.width() - 2, box.height() / 2); // after the text
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        QObject *filter = box.window();
        EXPECT_TRUE(filter->eventFilter(&box, &drop));
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction); // the source keeps its text
    }
}

TEST(KeyFilter, aPasteByShiftInsertTheMenuOrADropIntoANumericFieldKeepsWhatTypingWould)
{
    for (const char *route : {"insert", "menu", "drop"}) {
        SCOPED_TRACE(route);
        Window w;
        w.pick(controls(w.window).cmbTask, "Add Item");
        w.field(2).clear();
        paste(w.field(2), QStringLiteral("x-12.5.3"), route);
        EXPECT_EQ(w.field(2).text(), QStringLiteral("-12.5"));
        if (QByteArray(route) == "drop")
            continue;
        paste(w.field(0), QStringLiteral("x-12.5.3"), route); // a text field takes it all
        EXPECT_EQ(w.field(0).text(), QStringLiteral("x-12.5.3"));
    }
}

} // namespace

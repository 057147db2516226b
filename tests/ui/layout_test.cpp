// The layout rule on changes of the client area, and Ctrl+A in the script box.
#include "window_fixture.hpp"

#include "ui/script_box.hpp"
#include "ui/wrap_button.hpp"

#include <map>

namespace {

using hw::test::WindowTest;

std::map<QString, QRect> geometries(const hw::frmMain &window)
{
    std::map<QString, QRect> map;
    for (const QWidget *w : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        map[w->objectName()] = w->geometry();
    return map;
}

// Client width and height; whether the script box, and whether the list and
// the Generate buttons, follow them.
using LayoutCase = std::tuple<int, int, bool, bool>;

class LayoutRule : public WindowTest, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(LayoutRule, movesOnlyTheScriptBoxTheListAndTheGenerateButtons)
{
    const auto [width, height, scriptFollows, listFollows] = GetParam();
    auto expected = geometries(window);
    window.setFixedSize(width, height);
    QCoreApplication::processEvents();
    if (scriptFollows)
        expected[QStringLiteral("txtScript")] = QRect(308, 20, width - 316, height - 24);
    if (listFollows) {
        // Whole rows only. Heights 309 to 320 would ask for a negative height:
        // the list keeps its frame and shows no row.
        const int frame = 2 * window.lstTasks->frameWidth(), rows = window.lstTasks->rowHeight();
        expected[QStringLiteral("lstTasks")].setHeight(
            frame + std::max(0, height - 320 - frame) / rows * rows);
        for (const char *name : {"cmdGenerate(0)", "cmdGenerate(1)", "cmdGenerate(2)"})
            expected[QString::fromUtf8(name)].moveTop(height - 37);
    }
    EXPECT_EQ(geometries(window), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ClientSizes, LayoutRule,
    ::testing::Values(LayoutCase {577, 528, true, true}, LayoutCase {1280, 960, true, true},
                      LayoutCase {700, 309, true, true}, LayoutCase {700, 308, true, false},
                      LayoutCase {345, 55, true, false}, LayoutCase {344, 600, false, false},
                      LayoutCase {600, 54, false, false}));

TEST_F(WindowTest,
       theStartSizeGivesTheScriptBoxTheListAndTheButtonsTheirPlacesAndMinimisingKeepsThem)
{
    EXPECT_EQ(window.txtScript->geometry(), QRect(308, 20, 261, 504));
    EXPECT_EQ(window.cmdGenerate[1]->geometry(), QRect(216, 491, 89, 33));
    EXPECT_LE(window.lstTasks->height(), 208);
    EXPECT_GT(window.lstTasks->height() + window.lstTasks->rowHeight(), 208);
    const auto before = geometries(window);
    window.showMinimized();
    QCoreApplication::processEvents();
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(geometries(window), before);
}

TEST_F(WindowTest, ctrlAWithShiftOrAltSelectsTheWholeScriptAndPlainATypes)
{
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::ControlModifier | Qt::NoModifier, Qt::ControlModifier | Qt::ShiftModifier,
          Qt::ControlModifier | Qt::AltModifier, Qt::KeyboardModifiers()}) {
        for (const QString &text : {QStringLiteral("Begin x\r\nEnd"), QString()}) {
            window.txtScript->setScriptText(text);
            window.txtScript->moveCursor(QTextCursor::Start);
            QTest::keyClick(window.txtScript, Qt::Key_A, modifiers);
            const QTextCursor cursor = window.txtScript->textCursor();
            if (modifiers != Qt::NoModifier) {
                EXPECT_EQ(window.txtScript->scriptText(), text);
                EXPECT_EQ(cursor.selectionStart(), 0);
                EXPECT_EQ(cursor.selectionEnd(), text.isEmpty() ? 0 : 11) << modifiers.toInt();
            } else {
                EXPECT_EQ(window.txtScript->scriptText(), 'a' + text);
            }
        }
    }
}

} // namespace

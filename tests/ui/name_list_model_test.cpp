// The name box's list model: its signals and the persistent indexes that keep
// the box's current entry through a load.
#include "ui/name_list_model.hpp"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include <gtest/gtest.h>

#include <random>

namespace {

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings.append(text);
}

std::vector<std::string> randomIds(std::mt19937 &random, std::size_t count)
{
    static const char *const pieces[] = {"a", "A", "b", "B", "_"};
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < count; ++i) {
        std::string id;
        for (std::size_t n = random() % 4; n > 0; --n)
            id += pieces[random() % 5];
        ids.push_back(id);
    }
    return ids;
}

TEST(NameListModel, everyEntryKeepsItsPersistentIndexThroughEachLoad)
{
    hw::NameListModel model;
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    {
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        std::mt19937 random(3);
        for (int load = 0; load < 30; ++load) {
            std::vector<QPersistentModelIndex> kept;
            QStringList texts;
            for (int row = 0; row < model.rowCount(); ++row) {
                kept.emplace_back(model.index(row));
                texts.append(model.index(row).data().toString());
            }
            model.add(randomIds(random, random() % 12));
            for (std::size_t i = 0; i < kept.size(); ++i) {
                ASSERT_TRUE(kept[i].isValid()) << load;
                EXPECT_EQ(kept[i].data().toString(), texts[static_cast<int>(i)]) << load;
                // Old entries keep their order among themselves, equal ones too.
                if (i > 0) {
                    EXPECT_LT(kept[i - 1].row(), kept[i].row()) << load;
                }
            }
            if (load % 10 == 9)
                model.clear();
        }
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_warnings.isEmpty()) << g_warnings.join('\n').toStdString();
}

} // namespace

// The name box's list model: its signals, checked by Qt's model tester, and the
// persistent indexes that keep the box's current entry through a load.
#include "ui/name_list_model.hpp"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(NameListModel, everyEntryKeepsItsPersistentIndexThroughEachLoad)
{
    hw::NameListModel model;
    // Any inconsistency in the model's signals ends the program.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::mt19937 random(3);
    for (int load = 0; load < 30; ++load) {
        std::vector<QPersistentModelIndex> kept;
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row) {
            kept.emplace_back(model.index(row));
            texts.append(model.index(row).data().toString());
        }
        std::vector<std::string> ids;
        for (auto n = random() % 12; n > 0; --n)
            ids.push_back(std::string("aAbB_").substr(random() % 5, random() % 3));
        model.add(std::move(ids));
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

} // namespace

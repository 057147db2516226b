#include "ui/form/list_edit.hpp"

#include "model/task_list.hpp"
#include "ui/form/list_box.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace hw {

ListEdit sortedEdit(const QStringList &list, QList<int> rows, const QStringList &entries)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    ListEdit edit;
    std::vector<std::string> kept;
    kept.reserve(static_cast<std::size_t>(list.size()));
    for (qsizetype row = 0, next = 0; row < list.size(); ++row) {
        if (next < rows.size() && rows[next] == row) {
            edit.removed.append({static_cast<int>(row), list[row]});
            ++next;
        } else {
            kept.push_back(list[row].toStdString());
        }
    }
    std::vector<std::string> added;
    added.reserve(static_cast<std::size_t>(entries.size()));
    for (const QString &entry : entries)
        added.push_back(entry.toStdString());
    // Sorted among themselves in the order given, then merged: a new entry goes
    // after every kept one that does not sort after it, as one added alone does.
    sortEntries(added);
    std::size_t k = 0;
    int row = 0;
    for (const std::string &entry : added) {
        while (k < kept.size() && !entryLess(entry, kept[k])) {
            ++k;
            ++row;
        }
        edit.added.append({row++, QString::fromStdString(entry)});
    }
    return edit;
}

void applyEdit(ListBox &list, const ListEdit &edit, bool forward, bool selectPutIn)
{
    const auto &out = forward ? edit.removed : edit.added;
    const auto &in = forward ? edit.added : edit.removed;
    // From the bottom up, so that the rows still to go keep their numbers; then
    // from the top down, so that each row is counted among those put in before.
    for (auto at = out.crbegin(); at != out.crend(); ++at)
        delete list.takeItem(at->first);
    for (const auto &[row, text] : in)
        list.insertItem(row, text);
    if (!selectPutIn || in.isEmpty())
        return;
    list.clearSelection();
    list.setCurrentRow(in.front().first, QItemSelectionModel::ClearAndSelect);
    for (const auto &entry : in)
        list.item(entry.first)->setSelected(true);
    list.scrollToItem(list.item(in.front().first));
}

} // namespace hw

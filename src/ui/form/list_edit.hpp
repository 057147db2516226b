#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace hw {

class ListBox;

/// A change of the task list, row by row, that can be made and taken back:
/// the entries taken out, by their rows in the list before, and the entries
/// put in, by their rows in the list after; both in ascending order of rows.
struct ListEdit
{
    QList<std::pair<int, QString>> removed;
    QList<std::pair<int, QString>> added;

    bool empty() const { return removed.isEmpty() && added.isEmpty(); }
};

/// The edit that takes the rows `rows` out of `list` and then files each of
/// `entries` in at its sorted place, in the order given, as Add Task would
/// one after the other.
ListEdit sortedEdit(const QStringList &list, QList<int> rows, const QStringList &entries);

/// Makes `edit` in `list` (forward), or takes it back. The entries that stay
/// keep their selection. With `selectPutIn`, the entries put in become the
/// selection, the first of them the current entry, so that the author sees
/// what came back.
void applyEdit(ListBox &list, const ListEdit &edit, bool forward, bool selectPutIn);

} // namespace hw

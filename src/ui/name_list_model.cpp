#include "ui/name_list_model.hpp"

#include "model/caseless.hpp"
#include "model/name_list.hpp"

#include <QFontMetrics>

#include <algorithm>
#include <iterator>

namespace hw {

NameListModel::NameListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int NameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant NameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return QString::fromStdString(m_names[static_cast<std::size_t>(index.row())]);
}

void NameListModel::add(std::vector<std::string> ids)
{
    if (ids.empty())
        return;
    sortNames(ids);
    const int oldCount = rowCount();
    const int added = static_cast<int>(ids.size());

    // The batch joins at the end, then every row moves to its sorted place in
    // one layout change, which carries the persistent indexes along.
    beginInsertRows({}, oldCount, oldCount + added - 1);
    m_names.insert(m_names.end(), std::make_move_iterator(ids.begin()),
                   std::make_move_iterator(ids.end()));
    endInsertRows();
    if (oldCount == 0)
        return;

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const auto oldBegin = m_names.cbegin();
    const auto oldEnd = oldBegin + oldCount;
    const auto newEnd = m_names.cend();
    // After the merge an old entry has every new one that sorts before it in
    // front of it; a new one every old one that does not sort after it.
    auto mergedRow = [&](int row) {
        const std::string &name = m_names[static_cast<std::size_t>(row)];
        if (row < oldCount)
            return row +
                static_cast<int>(std::lower_bound(oldEnd, newEnd, name, caselessLess) - oldEnd);
        return row - oldCount +
            static_cast<int>(std::upper_bound(oldBegin, oldEnd, name, caselessLess) - oldBegin);
    };
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(createIndex(mergedRow(index.row()), index.column()));

    mergeTail(m_names, static_cast<std::size_t>(oldCount));

    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void NameListModel::clear()
{
    beginResetModel();
    m_names.clear();
    m_names.shrink_to_fit();
    endResetModel();
}

int NameListModel::firstStartingWith(const QString &prefix) const
{
    const std::size_t row = hw::firstStartingWith(m_names, prefix.toStdString());
    return row < m_names.size() ? static_cast<int>(row) : -1;
}

int NameListModel::widestRow(const QFontMetrics &metrics) const
{
    // Longest first: an id of n UTF-8 bytes is at most n of the font's widest
    // characters wide, so once that bound falls to the widest id measured, no
    // shorter id can be wider.
    std::vector<std::size_t> rows(m_names.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row] = row;
    std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
        return m_names[a].size() > m_names[b].size();
    });
    const auto widestCharacter = static_cast<std::size_t>(std::max(1, metrics.maxWidth()));
    int widest = -1, widestRow = -1;
    for (const std::size_t row : rows) {
        if (m_names[row].size() * widestCharacter <= static_cast<std::size_t>(std::max(widest, 0)))
            break;
        const int width = metrics.horizontalAdvance(QString::fromStdString(m_names[row]));
        if (width > widest) {
            widest = width;
            widestRow = static_cast<int>(row);
        }
    }
    return widestRow;
}

} // namespace hw

#include "ui/form/name_list_model.hpp"

#include "model/caseless.hpp"
#include "model/name_list.hpp"

#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>

namespace hw {

namespace {

// caselessLess for an id of the list and a text either way round.
struct CaselessLess
{
    bool operator()(std::string_view a, std::string_view b) const { return caselessLess(a, b); }
};

} // namespace

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

bool NameListModel::contains(std::string_view id) const
{
    // The list is in the Unicode caseless order the author reads; the ids the
    // game takes for `id` are among those that order equal to it.
    const auto [first, last] = std::equal_range(m_names.begin(), m_names.end(), id, CaselessLess());
    return std::any_of(first, last,
                       [id](const std::string &name) { return asciiCaselessEqual(name, id); });
}

int NameListModel::widestRow(const QFontMetricsF &metrics) const
{
    // Each id's width is estimated from a table of the font's character widths,
    // a byte beyond ASCII counted as the font's widest character; then ids are
    // measured, widest estimate first, until no estimate left comes within a
    // tenth (more than kerning takes away) of the widest id measured.
    std::array<qreal, 128> advance {};
    for (std::size_t c = 0; c < advance.size(); ++c)
        advance[c] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    const qreal other = metrics.maxWidth();
    std::vector<std::pair<qreal, std::size_t>> estimates;
    estimates.reserve(m_names.size());
    for (std::size_t row = 0; row < m_names.size(); ++row) {
        qreal width = 0;
        for (const unsigned char c : m_names[row])
            width += c < advance.size() ? advance[c] : other;
        estimates.emplace_back(width, row);
    }
    std::sort(estimates.begin(), estimates.end(), std::greater<>());
    qreal widest = -1;
    int widestRow = -1;
    for (const auto &[estimate, row] : estimates) {
        if (estimate < widest * 0.9)
            break;
        const qreal width = metrics.horizontalAdvance(QString::fromStdString(m_names[row]));
        if (width > widest) {
            widest = width;
            widestRow = static_cast<int>(row);
        }
    }
    return widestRow;
}

} // namespace hw

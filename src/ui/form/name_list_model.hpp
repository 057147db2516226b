#pragma once

#include <QAbstractListModel>

class QFontMetricsF;

#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The list of the NPC name box: NPC ids in caseless order (equal ids in the
/// order of adding), held as UTF-8 so that sorting and the completion's
/// binary search compare them without converting.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit NameListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// Adds `ids` (UTF-8) in one step: the batch is sorted and merged into the
    /// list. Persistent indexes, such as the box's current entry and the
    /// drop-down's selection, stay on their entries.
    void add(std::vector<std::string> ids);

    /// Removes every entry.
    void clear();

    /// True when an entry is the id `id` (UTF-8) as the game compares ids:
    /// ASCII letter case ignored, every other character as it stands.
    bool contains(std::string_view id) const;

    /// The entries as UTF-8, in the list's order. Adding and clearing change
    /// them, after the model's signals that announce the change.
    const std::vector<std::string> &names() const { return m_names; }

    /// The row of the entry that is widest in `metrics`, or -1 when the list
    /// is empty. Only the entries whose estimated width comes near the widest
    /// are measured.
    int widestRow(const QFontMetricsF &metrics) const;

private:
    std::vector<std::string> m_names;
};

} // namespace hw

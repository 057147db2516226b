#include "ui/form/name_box.hpp"

#include "ui/form/name_list_model.hpp"

#include <QFontMetricsF>
#include <QListView>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace hw {

NameBox::NameBox(NameListModel *names, QWidget *parent)
    : QComboBox(parent)
    , m_names(names)
{
    setEditable(true);
    // The list is filled only by loading plugin files, never by Enter; and the
    // box completes names by its own rule, not by the combo box's completer.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setModel(names);
    // Tens of thousands of ids: the drop-down measures one row, not each.
    if (auto *list = qobject_cast<QListView *>(view()))
        list->setUniformItemSizes(true);
    const auto forget = [this] { m_listWidth = -1; };
    connect(names, &QAbstractItemModel::rowsInserted, this, forget);
    connect(names, &QAbstractItemModel::modelReset, this, forget);
}

void NameBox::showPopup()
{
    if (m_listWidth < 0)
        m_listWidth = listWidth();
    view()->setMinimumWidth(m_listWidth);
    QComboBox::showPopup();
}

int NameBox::listWidth() const
{
    const int row = m_names->widestRow(QFontMetricsF(view()->font()));
    if (row < 0)
        return 0;
    const int width = view()->sizeHintForIndex(m_names->index(row)).width() +
        2 * view()->frameWidth() + view()->verticalScrollBar()->sizeHint().width();
    // The list sits in a frame of its own, which must fit on the screen too.
    const auto *frame = qobject_cast<const QFrame *>(view()->parentWidget());
    const int room = screen()->availableGeometry().width() - (frame ? 2 * frame->frameWidth() : 0);
    return std::min(width, room);
}

} // namespace hw

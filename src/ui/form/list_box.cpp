#include "ui/form/list_box.hpp"

#include "ui/form/sorted_insert.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace hw {

namespace {

// Gives every row the list's fixed height, so that the integral height holds.
class FixedRowDelegate : public QStyledItemDelegate
{
public:
    explicit FixedRowDelegate(ListBox *list)
        : QStyledItemDelegate(list)
        , m_list(*list)
    { }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_list.rowHeight()};
    }

private:
    const ListBox &m_list;
};

} // namespace

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setUniformItemSizes(true);
    setItemDelegate(new FixedRowDelegate(this));
    updateRowHeight();
}

void ListBox::updateRowHeight()
{
    // Two pixels of air between lines of text: in the window's font, rows of 13
    // pixels, as the platform's own list boxes have, so that the list's whole
    // rows end above the Generate buttons.
    m_rowHeight = fontMetrics().height() + 2;
}

void ListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
    QListWidget::changeEvent(event);
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Paste) {
        emit pasteRequested();
        return;
    }
    // Taken here: the list view would pass Enter on to the window, whose
    // own use of it is not the list's.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit returnPressed();
            return;
        case Qt::Key_Delete:
            emit deletePressed();
            return;
        default:
            break;
        }
    }
    // The list view's own copy takes only the current entry.
    if (event != QKeySequence::Copy)
        return QListWidget::keyPressEvent(event);
    QString lines;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            lines += item(row)->text() + QLatin1Char('\n');
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines);
}

void ListBox::setIntegralGeometry(const QRect &geometry)
{
    const int frame = 2 * frameWidth();
    const int rows = std::max(0, (geometry.height() - frame) / m_rowHeight);
    setGeometry(geometry.x(), geometry.y(), geometry.width(), frame + rows * m_rowHeight);
}

int ListBox::addSorted(const QString &text)
{
    const int row = sortedRow(
        count(), [&](int i) { return item(i)->text(); }, text);
    insertItem(row, text);
    return row;
}

QStringList ListBox::texts() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list.append(item(i)->text());
    return list;
}

} // namespace hw

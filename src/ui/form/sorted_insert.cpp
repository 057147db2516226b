#include "ui/form/sorted_insert.hpp"

#include <QComboBox>
#include <QSignalBlocker>

namespace hw {

int addSorted(QComboBox &box, const QString &text)
{
    const int row = sortedRow(
        box.count(), [&](int i) { return box.itemText(i); }, text);
    // Inserting into an empty pick-only box would make the new item current and
    // raise a selection change that no author caused; an editable box would
    // also take the item's text. Keep both as they were.
    const int current = box.currentIndex();
    const QString editText = box.isEditable() ? box.currentText() : QString();
    {
        const QSignalBlocker blocker(box);
        box.insertItem(row, text);
        box.setCurrentIndex(current < 0 ? -1 : (current >= row ? current + 1 : current));
        if (box.isEditable())
            box.setEditText(editText);
    }
    return row;
}

} // namespace hw

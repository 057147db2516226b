#include "ui/form/inline_completion.hpp"

#include <QLineEdit>
#include <QString>

namespace hw {

void completeInline(QLineEdit &edit, const QString &typed, const QString &entry)
{
    // Letters that match without regard to case never differ in their number
    // of UTF-16 units, so the entry's rest starts where the typed text ends.
    if (entry.size() < typed.size())
        return;
    const int start = edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition();
    const QString completed = typed + entry.mid(typed.size());
    // Setting the text runs the caller's change handler once more, inside this
    // run; it finds the same entry and sets the same text, which reports no change.
    if (completed != edit.text())
        edit.setText(completed);
    edit.setSelection(start, static_cast<int>(completed.size()) - start);
}

} // namespace hw

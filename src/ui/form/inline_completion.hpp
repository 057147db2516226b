#pragma once

class QLineEdit;
class QString;

namespace hw {

/// Completes `typed`, the text of `edit` (or that text as the list spells
/// its separators), with `entry`, an entry of a list that starts with it
/// (letter case ignored): the rest of the entry follows the typed text,
/// selected from the caret (or the selection's start) to the end, so that
/// typing on replaces it. The typed letters keep their case.
void completeInline(QLineEdit &edit, const QString &typed, const QString &entry);

} // namespace hw

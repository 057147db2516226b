#pragma once

class QEvent;
class QMimeData;

namespace hw {

/// Whether `source` holds any data at all. On X a clipboard or a selection
/// that no program owns gives data without a single format.
bool holdsData(const QMimeData *source);

/// Whether `event` is a paste key (Ctrl+V, Shift+Insert) while the clipboard
/// holds no text: in a line edit such a paste would only delete the selection.
bool pastesNothing(const QEvent &event);

} // namespace hw

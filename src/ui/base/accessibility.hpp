#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace hw {

/// Makes every combo box of the program named by its caption (its accessible
/// name, else its label's text) for screen readers. Qt names a combo box by
/// its current text on Linux, so that "Time" would be read as "00:00".
/// Called once, after the QApplication is made.
void installAccessibleInterfaces();

/// `caption` as a screen reader should speak it as a name: without the
/// access key's "&" and without the colon that ends a label.
QString spokenName(const QString &caption);

/// Names `control` for screen readers after `label`, its caption, which
/// becomes its buddy (read as the control's label on every platform).
void nameAfter(QWidget *control, QLabel *label);

/// Tells screen readers that the text `source` shows has changed and is to
/// be read out now, as a status message is.
void announce(QWidget *source);

/// Who else hears each announcement besides the screen readers, whose bridge
/// sends nothing while none is running (nor on a headless test machine):
/// `listener` is called with each source; null for none. Returns the one before.
using AnnouncementListener = void (*)(QWidget *source);
AnnouncementListener setAnnouncementListener(AnnouncementListener listener);

} // namespace hw

#include "ui/form/wrap_button.hpp"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace hw {

WrapButton::WrapButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{ }

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    // The style draws the bevel and the focus frame; the caption is drawn here
    // with word wrap, which the style's own label does not do.
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    // The access key's letter is underlined, or not, as the style shows them.
    int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    painter.drawItemText(area, flags, option.palette, isEnabled(), caption, QPalette::ButtonText);
}

} // namespace hw

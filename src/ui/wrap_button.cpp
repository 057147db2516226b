#include "ui/wrap_button.hpp"

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
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, option.palette, isEnabled(),
                         caption, QPalette::ButtonText);
}

} // namespace hw

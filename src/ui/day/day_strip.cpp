#include "ui/day/day_strip.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace hw {

namespace {

// The strip's rows, in pixels: a margin, the hours' numbers, the band of the
// groups, the mark of the selected entries' hours, a margin.
constexpr int kSide = 8;
constexpr int kTop = 3;
constexpr int kNumbers = 12;
constexpr int kBand = 20;
constexpr int kMark = 4;
constexpr int kBottom = 4;
constexpr int kHeight = kTop + kNumbers + kBand + 1 + kMark + kBottom;

// Two tones tell neighbouring groups apart on any theme; a group that runs
// more than once an hour stands out.
const QColor kGroupColours[] = {QColor(0xcf, 0xe3, 0xf7), QColor(0xd8, 0xee, 0xcd)};
const QColor kRepeatColour(0xf4, 0xb8, 0xb8);
const QColor kBandText(0x20, 0x20, 0x20);

// One hour: paints nothing but its focus, over the strip's picture, and
// carries the hour's name for the keyboard and screen readers.
class HourButton : public QAbstractButton
{
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!hasFocus())
            return;
        // A frame in the selection's colour, plainer to see than a dotted
        // focus frame on the bands' colours.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

QString twoDigits(int hour)
{
    return QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'));
}

} // namespace

DayStrip::DayStrip(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("dayStrip"));
    setAccessibleName(tr("Day view"));
    setAccessibleDescription(tr("The hours of the day and the group of tasks that runs in each"));
    setFixedHeight(kHeight);
    for (int hour = 0; hour < 24; ++hour) {
        auto *button = new HourButton(this);
        button->setObjectName(QStringLiteral("cmdHour") + twoDigits(hour));
        button->setFocusPolicy(hour == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, this, [this, hour] {
            focusHour(hour);
            emit hourActivated(hour);
        });
        m_buttons[static_cast<std::size_t>(hour)] = button;
    }
    setHours({});
}

QSize DayStrip::sizeHint() const
{
    return {2 * kSide + 24 * 20, kHeight};
}

QSize DayStrip::minimumSizeHint() const
{
    return {2 * kSide + 24 * 10, kHeight};
}

QString DayStrip::hourText(int hour) const
{
    const Hour &h = m_hours[static_cast<std::size_t>(hour)];
    const QString at = twoDigits(hour) + QStringLiteral(":00: ");
    if (h.group < 0)
        return at + tr("nothing runs; the NPC keeps what it was last told");
    const QString times = h.times == 1 ? tr("runs once") : tr("runs %1 times").arg(h.times);
    return at + h.actions + tr(", the %1 group, ").arg(h.time) + times;
}

void DayStrip::setHours(const Hours &hours)
{
    m_hours = hours;
    for (int hour = 0; hour < 24; ++hour) {
        QAbstractButton *button = m_buttons[static_cast<std::size_t>(hour)];
        button->setAccessibleName(hourText(hour));
        button->setToolTip(hourText(hour));
    }
    update();
}

void DayStrip::setMarked(const std::array<bool, 24> &marked)
{
    m_marked = marked;
    update();
}

QRect DayStrip::cell(int hour) const
{
    // Whole pixels shared out from the left, so that the 24 cells end flush.
    const int room = width() - 2 * kSide;
    const int left = kSide + room * hour / 24;
    const int right = kSide + room * (hour + 1) / 24;
    return {left, kTop, right - left, kNumbers + kBand + 1 + kMark};
}

void DayStrip::placeButtons()
{
    for (int hour = 0; hour < 24; ++hour)
        m_buttons[static_cast<std::size_t>(hour)]->setGeometry(cell(hour));
}

void DayStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeButtons();
}

void DayStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QFontMetrics metrics(font());
    for (int hour = 0; hour < 24; ++hour) {
        const QRect c = cell(hour);
        painter.setPen(colours.color(QPalette::WindowText));
        painter.drawText(QRect(c.left(), c.top(), c.width(), kNumbers), Qt::AlignCenter,
                         QString::number(hour));
        const QRect band(c.left(), c.top() + kNumbers, c.width(), kBand);
        const Hour &h = m_hours[static_cast<std::size_t>(hour)];
        if (h.group < 0) {
            painter.setPen(QPen(colours.color(QPalette::Mid), 1, Qt::DotLine));
            painter.drawRect(band.adjusted(1, 1, -2, -2));
        }
        if (m_marked[static_cast<std::size_t>(hour)])
            painter.fillRect(QRect(c.left(), band.bottom() + 2, c.width(), kMark),
                             colours.color(QPalette::Highlight));
    }
    // Each run of hours of one group: one band, named where there is room.
    for (int first = 0; first < 24;) {
        const Hour &h = m_hours[static_cast<std::size_t>(first)];
        int last = first;
        const auto same = [&](int hour) {
            const Hour &next = m_hours[static_cast<std::size_t>(hour)];
            return next.group == h.group && next.times == h.times;
        };
        while (last + 1 < 24 && h.group >= 0 && same(last + 1))
            ++last;
        if (h.group >= 0) {
            const QRect band = QRect(cell(first).topLeft(), cell(last).bottomRight())
                                   .adjusted(1, kNumbers + 1, -1, 0);
            const QRect box(band.left(), band.top(), band.width(), kBand - 2);
            painter.fillRect(box, h.times > 1 ? kRepeatColour : kGroupColours[h.group % 2]);
            painter.setPen(colours.color(QPalette::Mid));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            QString label = h.time + QStringLiteral("  ") + h.actions;
            if (h.times > 1)
                label = QStringLiteral("×%1  ").arg(h.times) + label;
            // The group's time whole or nothing: a cut time would read as another.
            const QString shown = metrics.elidedText(label, Qt::ElideRight, box.width() - 4);
            if (shown.startsWith(h.time)) {
                painter.setPen(kBandText);
                painter.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                                 shown);
            }
        }
        first = last + 1;
    }
}

void DayStrip::focusHour(int hour)
{
    hour = std::clamp(hour, 0, 23);
    // One hour at a time is the strip's stop in the tab order.
    m_buttons[static_cast<std::size_t>(m_current)]->setFocusPolicy(Qt::ClickFocus);
    m_current = hour;
    QAbstractButton *button = m_buttons[static_cast<std::size_t>(hour)];
    button->setFocusPolicy(Qt::StrongFocus);
    if (hasFocus() || isAncestorOf(QApplication::focusWidget()))
        button->setFocus(Qt::OtherFocusReason);
}

bool DayStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return QWidget::eventFilter(watched, event);
    switch (key->key()) {
    case Qt::Key_Left:
        focusHour(m_current - 1);
        return true;
    case Qt::Key_Right:
        focusHour(m_current + 1);
        return true;
    case Qt::Key_Home:
        focusHour(0);
        return true;
    case Qt::Key_End:
        focusHour(23);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit hourActivated(m_current);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace hw

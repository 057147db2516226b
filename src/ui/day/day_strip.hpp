#pragma once

#include <QString>
#include <QWidget>

#include <array>

class QAbstractButton;

namespace hw {

/// A strip of the 24 hours of a schedule's day: over each hour the group of
/// entries that runs in it (a band of colour from its first hour to its
/// last, named by its time and actions where there is room), nothing where
/// no group runs, and a mark under the hours of the selected entries.
///
/// Each hour is a button of its own, named cmdHour00 to cmdHour23, with the
/// hour in words as its accessible name and tooltip. The strip is one stop
/// of the tab order; the arrow keys, Home and End move between the hours,
/// and Space or Enter, like a click, activates one.
class DayStrip : public QWidget
{
    Q_OBJECT
public:
    /// What one hour shows.
    struct Hour
    {
        int group = -1; ///< the group that runs, by number; -1 when none does
        QString time; ///< the group's time ("06:00")
        QString actions; ///< its actions ("Start Running, Travel")
        unsigned times = 0; ///< how often they run in the hour
    };
    using Hours = std::array<Hour, 24>;

    explicit DayStrip(QWidget *parent = nullptr);

    void setHours(const Hours &hours);
    const Hours &hours() const { return m_hours; }

    /// Marks the hours in which the selected entries run.
    void setMarked(const std::array<bool, 24> &marked);
    bool marked(int hour) const { return m_marked[static_cast<std::size_t>(hour)]; }

    QAbstractButton *hourButton(int hour) const
    {
        return m_buttons[static_cast<std::size_t>(hour)];
    }

    /// Hour `hour` in words: "06:00: Start Running, Travel, the 06:00 group,
    /// runs once", or "13:00: nothing runs; the NPC keeps what it was last told".
    QString hourText(int hour) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    /// Hour `hour` was clicked, or chosen by Space or Enter.
    void hourActivated(int hour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect cell(int hour) const;
    void placeButtons();
    void focusHour(int hour);

    Hours m_hours;
    std::array<bool, 24> m_marked {};
    std::array<QAbstractButton *, 24> m_buttons {};
    int m_current = 0; ///< the hour that Tab reaches
};

} // namespace hw

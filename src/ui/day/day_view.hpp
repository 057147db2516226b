#pragma once

#include "generator/day_run.hpp"

#include <QObject>

#include <string>
#include <vector>

namespace hw {

class DayStrip;
class frmMain;

/// Keeps a DayStrip showing the day of the form's schedule: the whole task
/// list with the three switches, run as its script would run in the game.
/// It follows every change of the list and of a switch without Generate, and
/// marks the hours of the selected entries; activating an hour selects the
/// entries of the group that runs in it.
class DayView : public QObject
{
    Q_OBJECT
public:
    DayView(frmMain &form, DayStrip &strip);

    /// Shows the form's day now, rather than once the changes of this turn of
    /// the event loop are in.
    void refresh();

    const ScheduleDay &day() const { return m_day; }

private:
    void refreshSoon();
    void markSelected();
    void selectHour(int hour);

    frmMain &m_form;
    DayStrip &m_strip;
    ScheduleDay m_day;
    bool m_pending = false;
};

} // namespace hw

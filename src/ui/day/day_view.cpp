#include "ui/day/day_view.hpp"

#include "ui/day/day_strip.hpp"
#include "ui/form/frm_main.hpp"

#include <QTimer>

namespace hw {

DayView::DayView(frmMain &form, DayStrip &strip)
    : QObject(&strip)
    , m_form(form)
    , m_strip(strip)
{
    connect(&form, &frmMain::entriesChanged, this, &DayView::refreshSoon);
    connect(&form, &frmMain::switchesChanged, this, &DayView::refreshSoon);
    connect(&form, &frmMain::selectionChanged, this, &DayView::markSelected);
    connect(&strip, &DayStrip::hourActivated, this, &DayView::selectHour);
    refresh();
}

void DayView::refreshSoon()
{
    // A paste adds its entries one by one: the day is worked out once they are all in.
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_pending)
            refresh();
    });
}

void DayView::refresh()
{
    m_pending = false;
    const TaskListFile list = m_form.taskList();
    const std::vector<std::string> &entries = list.entries;
    const ScheduleSwitches switches {list.global, list.equality, list.visibility};
    // The hours do not depend on the NPC's id: any id the script can quote serves.
    m_day = scheduleDay("npc", entries, switches);
    DayStrip::Hours hours;
    for (std::size_t hour = 0; hour < hours.size(); ++hour) {
        const auto &runs = m_day.hours[hour];
        if (runs.empty())
            continue;
        const HourGroup &group = m_day.groups[runs.front().group];
        hours[hour] = {static_cast<int>(runs.front().group), QString::fromStdString(group.time),
                       QString::fromStdString(groupActions(group, entries)), runs.front().times};
    }
    m_strip.setHours(hours);
    markSelected();
}

void DayView::markSelected()
{
    if (m_pending)
        return refresh();
    std::array<bool, 24> marked {};
    for (std::size_t g = 0; g < m_day.groups.size(); ++g) {
        const HourGroup &group = m_day.groups[g];
        bool selected = false;
        for (std::size_t row = group.first; row < group.end && !selected; ++row)
            selected = m_form.isEntrySelected(static_cast<int>(row));
        if (selected)
            for (const int hour : m_day.hoursOf(g))
                marked[static_cast<std::size_t>(hour)] = true;
    }
    m_strip.setMarked(marked);
}

void DayView::selectHour(int hour)
{
    if (m_pending)
        refresh();
    const auto &runs = m_day.hours[static_cast<std::size_t>(hour)];
    if (runs.empty())
        return;
    const HourGroup &group = m_day.groups[runs.front().group];
    m_form.selectEntries(static_cast<int>(group.first), static_cast<int>(group.end));
}

} // namespace hw

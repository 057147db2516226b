#include "ui/day/day_view.hpp"

#include "ui/day/day_strip.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/form/list_box.hpp"

#include <QCheckBox>
#include <QTimer>

namespace hw {

DayView::DayView(frmMain &form, DayStrip &strip)
    : QObject(&strip)
    , m_form(form)
    , m_strip(strip)
{
    QAbstractItemModel *tasks = form.lstTasks->model();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(tasks, signal, this, &DayView::refreshSoon);
    connect(tasks, &QAbstractItemModel::rowsMoved, this, &DayView::refreshSoon);
    connect(tasks, &QAbstractItemModel::modelReset, this, &DayView::refreshSoon);
    connect(tasks, &QAbstractItemModel::dataChanged, this, &DayView::refreshSoon);
    for (QCheckBox *box : {form.chkGlobal, form.chkEqual, form.chkLOS})
        connect(box, &QCheckBox::toggled, this, &DayView::refreshSoon);
    connect(form.lstTasks, &QListWidget::itemSelectionChanged, this, &DayView::markSelected);
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
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(m_form.lstTasks->count()));
    for (int row = 0; row < m_form.lstTasks->count(); ++row)
        entries.push_back(m_form.lstTasks->item(row)->text().toStdString());
    const ScheduleSwitches switches {m_form.chkGlobal->isChecked(), m_form.chkEqual->isChecked(),
                                     m_form.chkLOS->isChecked()};
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
            selected = m_form.lstTasks->item(static_cast<int>(row))->isSelected();
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
    ListBox *list = m_form.lstTasks;
    list->clearSelection();
    for (std::size_t row = group.first; row < group.end; ++row)
        list->item(static_cast<int>(row))->setSelected(true);
    list->setCurrentRow(static_cast<int>(group.first), QItemSelectionModel::NoUpdate);
    list->scrollToItem(list->item(static_cast<int>(group.first)));
}

} // namespace hw

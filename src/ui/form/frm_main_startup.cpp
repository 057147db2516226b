// Start-up: the time list, the action list (which lays out "Wander") and the
// folder the open-file dialog starts in.
#include "ui/form/frm_main.hpp"

#include "model/catalogue.hpp"
#include "platform/data_folder.hpp"
#include "ui/form/sorted_insert.hpp"

#include <QComboBox>

namespace hw {

void frmMain::Form_Load()
{
    FillTimeList();
    FillActionList();
    // Kept for the whole run as the open-file dialog's starting folder.
    m_dataFolder = findDataFolder();
}

void frmMain::FillTimeList()
{
    FormControls &c = m_controls;
    for (int hour = 0; hour < 24; ++hour)
        c.cmbTime->addItem(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
    c.cmbTime->setCurrentIndex(c.cmbTime->findText(QStringLiteral("00:00")));
}

void frmMain::FillActionList()
{
    FormControls &c = m_controls;
    for (const Action &action : actionCatalogue())
        addSorted(*c.cmbTask, QString::fromUtf8(action.name));
    // Lays out the "Wander" options before the window is first shown.
    c.cmbTask->setCurrentIndex(c.cmbTask->findText(QStringLiteral("Wander")));
}

} // namespace hw

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
    for (int hour = 0; hour < 24; ++hour)
        m_controls.cmbTime->addItem(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
    m_controls.cmbTime->setCurrentIndex(m_controls.cmbTime->findText(QStringLiteral("00:00")));
}

void frmMain::FillActionList()
{
    for (const Action &action : actionCatalogue())
        addSorted(*m_controls.cmbTask, QString::fromUtf8(action.name));
    // Lays out the "Wander" options before the window is first shown.
    m_controls.cmbTask->setCurrentIndex(m_controls.cmbTask->findText(QStringLiteral("Wander")));
}

} // namespace hw

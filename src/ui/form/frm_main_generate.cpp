// The three Generate buttons: the schedule script from all tasks or from the
// selected ones, and the central script template.
#include "ui/form/frm_main.hpp"

#include "generator/central_script.hpp"
#include "generator/schedule_script.hpp"
#include "model/messages.hpp"
#include "platform/guid.hpp"
#include "ui/base/game_data.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/list_box.hpp"
#include "ui/form/script_box.hpp"

#include <QCheckBox>
#include <QComboBox>

namespace hw {

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool frmMain::overwriteConfirmed()
{
    // An empty box is overwritten without a question; any text at all, even a
    // lone line break the author typed, is asked about.
    if (m_controls.txtScript->document()->isEmpty())
        return true;
    return m_prompts.ask(this, QString::fromUtf8(kProgramTitle), fromView(kOverwriteQuestion),
                         PromptButtons::YesNo, PromptAnswer::Yes) == PromptAnswer::Yes;
}

void frmMain::cmdGenerate_Click(int Index)
{
    FormControls &c = m_controls;
    if (Index == 2) {
        if (overwriteConfirmed())
            c.txtScript->setScriptText(QString::fromStdString(centralScript(newGuid())));
        return;
    }
    if (Index != 0 && Index != 1)
        return;

    std::vector<std::string> entries;
    std::vector<bool> selected;
    for (int row = 0; row < c.lstTasks->count(); ++row) {
        entries.push_back(c.lstTasks->item(row)->text().toStdString());
        selected.push_back(c.lstTasks->item(row)->isSelected());
    }
    const std::vector<std::string> included = includedEntries(
        entries, selected, Index == 1 ? GenerateScope::Selection : GenerateScope::All);
    const std::string npcId = c.txtName->currentText().toStdString();
    if (const auto problem = scheduleCheck(npcId, included.size())) {
        tell(kProgramTitle, fromView(*problem));
        return;
    }
    if (!overwriteConfirmed())
        return;

    const ScheduleSwitches switches {.global = c.chkGlobal->isChecked(),
                                     .equality = c.chkEqual->isChecked(),
                                     .visibility = c.chkLOS->isChecked()};
    const ScheduleScript script = generateSchedule(npcId, included, switches);
    // One message per entry whose action the generator does not know; the
    // script still comes, with an error line in place of each such command.
    for (std::size_t i = 0; i < script.unknownEntries.size(); ++i)
        tell(kApplicationTitle, fromView(kCommandDataNotFound));
    c.txtScript->setScriptText(QString::fromStdString(script.text));
    emit scheduleGenerated({npcId, included, switches});
}

} // namespace hw

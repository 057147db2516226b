// What the form takes from the game's data: the option fields complete from
// it, and a load of the whole game adds its NPC ids to the name box's list.
#include "ui/form/frm_main.hpp"

#include "ui/form/name_list_model.hpp"
#include "ui/form/option_completion.hpp"

#include <algorithm>

namespace hw {

void frmMain::setGameData(std::shared_ptr<const GameData> game)
{
    m_completion->setGameData(std::move(game));
}

void frmMain::addGameNames(std::vector<std::string> ids, bool clearFirst)
{
    if (clearFirst)
        clearNames();
    std::erase_if(ids, [this](const std::string &id) { return m_names->contains(id); });
    addNames(std::move(ids));
}

} // namespace hw

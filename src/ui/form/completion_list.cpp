#include "ui/form/completion_list.hpp"

#include "model/name_list.hpp"

namespace hw {

std::pair<std::size_t, std::size_t> CompletionList::startingWith(std::string_view prefix) const
{
    const std::size_t first =
        m_names ? firstStartingWith(*m_names, prefix) : firstStartingWith(m_ids, prefix);
    if (first == size())
        return {first, 0};
    return {first,
            m_names ? countStartingWith(*m_names, first, prefix)
                    : countStartingWith(m_ids, first, prefix)};
}

} // namespace hw

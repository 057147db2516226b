#include "model/task_list.hpp"

#include <iterator>

namespace hw {

std::size_t insertSorted(std::vector<std::string> &list, std::string entry)
{
    const std::size_t at = insertPosition(list, entry);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return at;
}

} // namespace hw

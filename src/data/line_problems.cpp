#include "data/line_problems.hpp"

namespace hw {

void LineProblems::add(std::size_t line, std::string message)
{
    if (++m_count <= kMostListed)
        m_into.push_back({m_file, line, std::move(message)});
}

void LineProblems::finish()
{
    if (m_count > kMostListed)
        m_into.push_back({m_file, 0,
                          std::to_string(m_count - kMostListed) +
                              " more broken lines are not listed"});
}

} // namespace hw

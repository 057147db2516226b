#include "data/problem_list.hpp"

namespace hw {

void addProblem(std::vector<LoadOrderProblem> &problems, LoadOrderProblem problem)
{
    if (problems.size() < kMostProblems)
        problems.push_back(std::move(problem));
    else if (problems.size() == kMostProblems)
        problems.push_back({{}, 0, "more problems are not listed"});
}

void LineProblems::add(std::size_t line, std::string message)
{
    if (++m_count <= kMostListed)
        addProblem(m_into, {m_file, line, std::move(message)});
}

void LineProblems::finish()
{
    if (m_count > kMostListed)
        addProblem(m_into,
                   {m_file, 0,
                    std::to_string(m_count - kMostListed) + " more broken lines are not listed"});
}

} // namespace hw

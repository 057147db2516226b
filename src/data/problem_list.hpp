#pragma once

#include "data/load_order.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace hw {

/// The most problems one load order lists: a file that names a hundred
/// thousand missing plugins gives these and one line that says so.
inline constexpr std::size_t kMostProblems = 100;

/// Adds `problem` to `problems`, up to kMostProblems; the one after them says
/// that the rest are not listed, and later ones are dropped.
void addProblem(std::vector<LoadOrderProblem> &problems, LoadOrderProblem problem);

/// Collects the broken lines of one file, up to a limit: a file of a million
/// broken lines gives a few dozen messages, and finish() adds one that counts
/// the rest.
class LineProblems
{
public:
    static constexpr std::size_t kMostListed = 20;

    LineProblems(std::vector<LoadOrderProblem> &into, std::filesystem::path file)
        : m_into(into)
        , m_file(std::move(file))
    { }
    LineProblems(const LineProblems &) = delete;
    LineProblems &operator=(const LineProblems &) = delete;

    void add(std::size_t line, std::string message);

    /// Says how many were not listed, if any.
    void finish();

private:
    std::vector<LoadOrderProblem> &m_into;
    std::filesystem::path m_file;
    std::size_t m_count = 0;
};

} // namespace hw

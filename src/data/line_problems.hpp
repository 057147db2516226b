#pragma once

#include "data/load_order.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace hw {

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

#pragma once

#include "data/load_order.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace hw::test {

/// The whole of `file`, or "" when it cannot be read.
inline std::string fileBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

/// A folder of its own for one test, with a name beyond ASCII ("Données"),
/// removed with everything in it at the end.
class TempFolder
{
public:
    TempFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 pathFromUtf8("hourwright Données " + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    /// `relative` (UTF-8, "/" between names) inside the folder.
    std::filesystem::path operator/(std::string_view relative) const
    {
        return (m_path / pathFromUtf8(relative)).make_preferred();
    }

    const std::filesystem::path &path() const { return m_path; }

    /// Writes `bytes` to `relative`, making the folders on the way.
    std::filesystem::path write(std::string_view relative, std::string_view bytes) const
    {
        const auto file = *this / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    std::filesystem::path folder(std::string_view relative) const
    {
        const auto made = *this / relative;
        std::filesystem::create_directories(made);
        return made;
    }

private:
    std::filesystem::path m_path;
};

} // namespace hw::test

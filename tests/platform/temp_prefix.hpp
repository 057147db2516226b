#pragma once

// A Wine prefix in a temporary folder whose name is not ASCII, with drive C:
// mapped as Wine maps it; removed again at the end of the test.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace hw::test {

namespace fs = std::filesystem;

inline fs::path utf8Path(std::string_view text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

/// `path` as it is written between quotes in system.reg.
inline std::string regEscape(std::string_view path)
{
    std::string out;
    for (const char c : path) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

/// A registry file: Wine's first lines, then `body`.
inline std::string systemReg(std::string_view body)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" +
        std::string(body);
}

class TempPrefix
{
public:
    TempPrefix()
    {
        std::random_device random;
        do
            m_root = fs::temp_directory_path() /
                utf8Path("hourwright-\xC3\xA9-" + std::to_string(random()));
        while (!fs::create_directory(m_root));
        m_prefix = m_root /
            utf8Path("pr\xC3\xA9"
                     "fixe wine");
        fs::create_directories(m_prefix / "drive_c");
        fs::create_directories(m_prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", m_prefix / "dosdevices" / "c:");
    }
    ~TempPrefix()
    {
        std::error_code error;
        fs::remove_all(m_root, error);
    }
    TempPrefix(const TempPrefix &) = delete;
    TempPrefix &operator=(const TempPrefix &) = delete;

    const fs::path &path() const { return m_prefix; }

    /// Creates the folder `relative` (UTF-8, "/" between names) in the prefix.
    fs::path makeFolder(std::string_view relative) const
    {
        const fs::path folder = m_prefix / utf8Path(relative);
        fs::create_directories(folder);
        return folder;
    }

    /// Maps the drive `letter` ("d:") to the prefix's folder `relative`, by
    /// an absolute link as winecfg makes it.
    void mapDrive(std::string_view letter, std::string_view relative) const
    {
        fs::create_directory_symlink(makeFolder(relative), m_prefix / "dosdevices" / letter);
    }

    void writeRegistry(std::string_view text) const
    {
        std::ofstream(m_prefix / "system.reg", std::ios::binary) << text;
    }

    /// Where `relative` is, through the links of the prefix's drives.
    fs::path resolved(std::string_view relative) const
    {
        return fs::canonical(m_prefix / utf8Path(relative));
    }

private:
    fs::path m_root;
    fs::path m_prefix;
};

} // namespace hw::test

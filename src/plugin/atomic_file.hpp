#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

namespace hw {

/// A file written in one piece: the bytes go to a new temporary file in the
/// same folder, which commit() flushes to the disk and renames over the file;
/// until then the file stays as it was, and a file that is never committed is
/// removed again.
class AtomicFile
{
public:
    /// Starts writing `path`. The temporary file takes the permissions of the
    /// file it replaces. Nothing, with `error` set, when it cannot be made.
    static std::unique_ptr<AtomicFile> create(const std::filesystem::path &path,
                                              std::error_code &error);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    /// Appends `bytes`; the system's reason when they could not all be written.
    std::error_code write(std::string_view bytes);

    /// Flushes the bytes to the disk and puts the file in the place of `path`.
    std::error_code commit();

    /// Puts the file at `path`, where no file stood when the write began:
    /// std::errc::file_exists, and nothing changed, when one stands there now.
    /// The bytes are not flushed to the disk first, as they are for a file
    /// that replaces another: should the system stop before they reach it, no
    /// earlier file is lost, only this new one may be short.
    std::error_code commitNew();

private:
    AtomicFile(std::filesystem::path path, std::filesystem::path temporary, int fd);

    std::filesystem::path m_path;
    std::filesystem::path m_temporary;
    int m_fd;
};

} // namespace hw

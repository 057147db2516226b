#include "plugin/atomic_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hw {

namespace {

std::error_code lastError()
{
    const int code = errno;
    return code != 0 ? std::error_code(code, std::generic_category())
                     : std::make_error_code(std::errc::io_error);
}

#ifdef _WIN32
int openNew(const std::filesystem::path &path)
{
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
long writeSome(int fd, const char *bytes, std::size_t count)
{
    return _write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(count, 1 << 30)));
}
int flushToDisk(int fd)
{
    return _commit(fd);
}
int closeFile(int fd)
{
    return _close(fd);
}
// Fails where `to` exists.
int renameNew(const std::filesystem::path &from, const std::filesystem::path &to)
{
    return _wrename(from.c_str(), to.c_str());
}
#else
int openNew(const std::filesystem::path &path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long writeSome(int fd, const char *bytes, std::size_t count)
{
    return static_cast<long>(::write(fd, bytes, count));
}
int flushToDisk(int fd)
{
    return ::fsync(fd);
}
int closeFile(int fd)
{
    return ::close(fd);
}
// Fails with EEXIST where `to` exists.
int renameNew(const std::filesystem::path &from, const std::filesystem::path &to)
{
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}
#endif

} // namespace

std::unique_ptr<AtomicFile> AtomicFile::create(const std::filesystem::path &path,
                                               std::error_code &error)
{
    std::random_device random;
    for (int attempt = 0;; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".hourwright-%08X", static_cast<unsigned>(random()));
        std::filesystem::path temporary = path;
        temporary += suffix;
        errno = 0;
        const int fd = openNew(temporary);
        if (fd < 0 && errno == EEXIST && attempt < 16)
            continue;
        if (fd < 0) {
            error = lastError();
            return nullptr;
        }
        // The new file keeps what the old one allowed (and no more).
        std::error_code ignored;
        const auto old = std::filesystem::status(path, ignored);
        if (std::filesystem::is_regular_file(old))
            std::filesystem::permissions(temporary, old.permissions(),
                                         std::filesystem::perm_options::replace, ignored);
        error.clear();
        return std::unique_ptr<AtomicFile>(new AtomicFile(path, std::move(temporary), fd));
    }
}

AtomicFile::AtomicFile(std::filesystem::path path, std::filesystem::path temporary, int fd)
    : m_path(std::move(path))
    , m_temporary(std::move(temporary))
    , m_fd(fd)
{ }

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0)
        closeFile(m_fd);
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
}

std::error_code AtomicFile::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        errno = 0;
        const long written = writeSome(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return lastError();
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

std::error_code AtomicFile::commitNew()
{
    const int fd = m_fd;
    m_fd = -1;
    errno = 0;
    if (closeFile(fd) != 0)
        return lastError();
    const auto taken = [&] {
        std::error_code ignored;
        return std::filesystem::symlink_status(m_path, ignored).type() !=
            std::filesystem::file_type::not_found;
    };
    std::error_code error;
    errno = 0;
    if (renameNew(m_temporary, m_path) != 0) {
        if (errno == EEXIST || taken())
            return std::make_error_code(std::errc::file_exists);
        // A file system that cannot rename without replacing: the file was
        // not there a moment ago.
        std::filesystem::rename(m_temporary, m_path, error);
    }
    if (!error)
        m_temporary.clear();
    return error;
}

std::error_code AtomicFile::commit()
{
    errno = 0;
    if (flushToDisk(m_fd) != 0)
        return lastError();
    const int fd = m_fd;
    m_fd = -1;
    errno = 0;
    if (closeFile(fd) != 0)
        return lastError();
    std::error_code error;
    std::filesystem::rename(m_temporary, m_path, error);
    if (!error)
        m_temporary.clear();
    return error;
}

} // namespace hw

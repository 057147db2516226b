#include "plugin/byte_source.hpp"

#include "plugin/file_mapping.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

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

// The C library sets errno when a file call fails; should a call fail without
// setting it, the failure must still not pass for success.
std::error_code lastError(std::errc fallback)
{
    const int code = errno;
    return code != 0 ? std::error_code(code, std::generic_category())
                     : std::make_error_code(fallback);
}

class FileErrorCategory final : public std::error_category
{
public:
    const char *name() const noexcept override { return "hourwright-file"; }
    std::string message(int code) const override
    {
        return code == static_cast<int>(FileError::NotRegularFile) ? "not a regular file"
                                                                   : "unknown file error";
    }
};

} // namespace

const std::error_category &fileErrorCategory()
{
    static const FileErrorCategory category;
    return category;
}

std::error_code specialFileError(const std::filesystem::path &path)
{
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (ignored || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status))
        return {};
    if (std::filesystem::is_directory(status))
        return std::make_error_code(std::errc::is_a_directory);
    return FileError::NotRegularFile;
}

ReadResult MemorySource::read(std::uint64_t offset, std::span<char> into)
{
    if (offset >= m_bytes.size())
        return {};
    const auto count = std::min<std::uint64_t>(into.size(), m_bytes.size() - offset);
    std::memcpy(into.data(), m_bytes.data() + offset, count);
    return {static_cast<std::size_t>(count), {}};
}

#ifdef _WIN32

// Windows takes a path with characters outside the ANSI code page only in
// UTF-16, and its C library's fseek and ftell stop at 2 GiB: hence _wfopen,
// _fseeki64 and _ftelli64.
std::unique_ptr<FileSource> FileSource::open(const std::filesystem::path &path,
                                             std::error_code &error, std::size_t)
{
    // Windows refuses to open a folder with "access denied"; say what it is.
    if ((error = specialFileError(path)))
        return nullptr;
    errno = 0;
    std::FILE *file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        error = lastError(std::errc::io_error);
        return nullptr;
    }
    return adopt(file, error);
}

std::unique_ptr<FileSource> FileSource::fromDescriptor(int fd, std::error_code &error)
{
    struct _stat64 info
    {
    };
    errno = 0;
    if (_fstat64(fd, &info) != 0) {
        error = lastError(std::errc::io_error);
        return nullptr;
    }
    if ((info.st_mode & _S_IFMT) != _S_IFREG) {
        error = (info.st_mode & _S_IFMT) == _S_IFDIR
            ? std::make_error_code(std::errc::is_a_directory)
            : make_error_code(FileError::NotRegularFile);
        return nullptr;
    }
    const int copy = _dup(fd);
    std::FILE *file = copy < 0 ? nullptr : _fdopen(copy, "rb");
    if (file == nullptr) {
        error = lastError(std::errc::io_error);
        if (copy >= 0)
            _close(copy);
        return nullptr;
    }
    // The copy keeps the text mode of the descriptor it was made from.
    _setmode(copy, _O_BINARY);
    return adopt(file, error);
}

std::unique_ptr<FileSource> FileSource::adopt(std::FILE *file, std::error_code &error)
{
    // Blocks are read whole into the caller's buffer; a stream buffer would
    // only add a copy and read ahead into data that is passed over.
    std::setvbuf(file, nullptr, _IONBF, 0);
    errno = 0;
    __int64 end = -1;
    if (_fseeki64(file, 0, SEEK_END) == 0)
        end = _ftelli64(file);
    if (end < 0 || _fseeki64(file, 0, SEEK_SET) != 0) {
        error = lastError(std::errc::io_error);
        std::fclose(file);
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<FileSource>(new FileSource(file, static_cast<std::uint64_t>(end)));
}

FileSource::FileSource(std::FILE *file, std::uint64_t size)
    : m_file(file)
    , m_size(size)
{ }

FileSource::~FileSource()
{
    std::fclose(m_file);
}

ReadResult FileSource::read(std::uint64_t offset, std::span<char> into)
{
    // Bytes appended after the file was opened are not part of the scan.
    if (offset >= m_size)
        return {};
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(into.size(), m_size - offset));
    errno = 0;
    if (offset != m_position) {
        if (_fseeki64(m_file, static_cast<__int64>(offset), SEEK_SET) != 0) {
            m_position = ~std::uint64_t {0};
            return {0, lastError(std::errc::io_error)};
        }
        m_position = offset;
    }
    const std::size_t count = std::fread(into.data(), 1, wanted, m_file);
    m_position += count;
    if (count < wanted && std::ferror(m_file)) {
        std::clearerr(m_file);
        return {count, lastError(std::errc::io_error)};
    }
    return {count, {}};
}

// Windows copies with read(): a mapped view there needs code of its own
// (CreateFileMapping, MapViewOfFile) and a guard against the exception that a
// page the system fails to read raises in the middle of the reader.
std::optional<std::string_view> FileSource::view(std::uint64_t, std::size_t)
{
    return std::nullopt;
}

bool FileSource::changed() const
{
    return false;
}

std::unique_ptr<ByteSource> FileSource::another() const
{
    return nullptr;
}

bool FileSource::changedSinceOpened() const
{
    return false;
}

#else

// pread reads at an offset in one call, without a separate seek: a scan
// makes one call per block.
std::unique_ptr<FileSource> FileSource::open(const std::filesystem::path &path,
                                             std::error_code &error, std::size_t windowSize)
{
    // A folder opens for reading here and fails only at the first read; a
    // FIFO's open() waits for a writer, and pipes and devices have no length
    // to check record sizes against. So special files are not opened at all,
    // and the open itself never blocks should the file change in between.
    if ((error = specialFileError(path)))
        return nullptr;
    errno = 0;
    return adopt(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), error, windowSize);
}

std::unique_ptr<FileSource> FileSource::fromDescriptor(int fd, std::error_code &error)
{
    errno = 0;
    return adopt(::fcntl(fd, F_DUPFD_CLOEXEC, 0), error, kDefaultWindowSize);
}

// Takes `fd`, the result of opening or copying a descriptor, which sets errno
// when it fails.
std::unique_ptr<FileSource> FileSource::adopt(int fd, std::error_code &error,
                                              std::size_t windowSize)
{
    if (fd < 0) {
        error = lastError(std::errc::io_error);
        return nullptr;
    }
    errno = 0;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = errno != 0          ? lastError(std::errc::io_error)
            : S_ISDIR(info.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                    : make_error_code(FileError::NotRegularFile);
        ::close(fd);
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<FileSource>(
        new FileSource(fd, static_cast<std::uint64_t>(info.st_size), windowSize));
}

FileSource::FileSource(int fd, std::uint64_t size, std::size_t windowSize)
    : m_fd(fd)
    , m_windowSize(windowSize)
    , m_size(size)
{ }

FileSource::~FileSource()
{
    m_mapping.reset();
    ::close(m_fd);
}

std::optional<std::string_view> FileSource::view(std::uint64_t offset, std::size_t length)
{
    if (m_copyOnly)
        return std::nullopt;
    if (!m_mapping)
        m_mapping = std::make_unique<FileMapping>(m_fd, m_size, m_windowSize);
    auto bytes = m_mapping->view(offset, length);
    // A file system that cannot map files, or no address space left: the
    // bytes are copied from here on.
    m_copyOnly = !bytes;
    return bytes;
}

bool FileSource::changed() const
{
    return m_mapping && m_mapping->lostPages();
}

std::unique_ptr<ByteSource> FileSource::another() const
{
    if (m_copyOnly)
        return nullptr;
    const int copy = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return nullptr;
    return std::unique_ptr<ByteSource>(new FileSource(copy, m_size, m_windowSize));
}

// A short read tells a file cut shorter when bytes are copied; only mapped
// bytes need the look at the length.
bool FileSource::changedSinceOpened() const
{
    if (!m_mapping)
        return false;
    struct stat info
    {
    };
    return changed() || ::fstat(m_fd, &info) != 0 ||
        static_cast<std::uint64_t>(info.st_size) < m_size;
}

ReadResult FileSource::read(std::uint64_t offset, std::span<char> into)
{
    // Bytes appended after the file was opened are not part of the scan.
    if (offset >= m_size)
        return {};
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(into.size(), m_size - offset));
    std::size_t count = 0;
    while (count < wanted) {
        errno = 0;
        const auto got =
            ::pread(m_fd, into.data() + count, wanted - count, static_cast<off_t>(offset + count));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {count, lastError(std::errc::io_error)};
        if (got == 0)
            break;
        count += static_cast<std::size_t>(got);
    }
    return {count, {}};
}

#endif

} // namespace hw

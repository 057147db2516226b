#include "plugin/byte_source.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

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

// Windows takes a path with characters outside the ANSI code page only in
// UTF-16, and its C library's fseek and ftell are limited to 2 GiB.
#ifdef _WIN32
std::FILE *openForReading(const std::filesystem::path &path)
{
    return _wfopen(path.c_str(), L"rb");
}

int seekTo(std::FILE *file, std::uint64_t offset, int origin)
{
    return _fseeki64(file, static_cast<__int64>(offset), origin);
}

std::int64_t position(std::FILE *file)
{
    return _ftelli64(file);
}
#else
std::FILE *openForReading(const std::filesystem::path &path)
{
    return std::fopen(path.c_str(), "rb");
}

int seekTo(std::FILE *file, std::uint64_t offset, int origin)
{
    return fseeko(file, static_cast<off_t>(offset), origin);
}

std::int64_t position(std::FILE *file)
{
    return ftello(file);
}
#endif

} // namespace

ReadResult MemorySource::read(std::uint64_t offset, std::span<char> into)
{
    if (offset >= m_bytes.size())
        return {};
    const auto count = std::min<std::uint64_t>(into.size(), m_bytes.size() - offset);
    std::memcpy(into.data(), m_bytes.data() + offset, count);
    return {static_cast<std::size_t>(count), {}};
}

std::unique_ptr<FileSource> FileSource::open(const std::filesystem::path &path,
                                             std::error_code &error)
{
    // Some systems open a folder for reading and fail only at the first read;
    // say what it is right away.
    if (std::filesystem::is_directory(path, error)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return nullptr;
    }
    errno = 0;
    std::FILE *file = openForReading(path);
    if (file == nullptr) {
        error = lastError(std::errc::io_error);
        return nullptr;
    }
    // The reader asks for large blocks and skips what it does not need; a
    // stream buffer would only add a copy and read ahead into skipped data.
    std::setvbuf(file, nullptr, _IONBF, 0);
    errno = 0;
    std::int64_t end = -1;
    if (seekTo(file, 0, SEEK_END) == 0)
        end = position(file);
    if (end < 0 || seekTo(file, 0, SEEK_SET) != 0) {
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
        if (seekTo(m_file, offset, SEEK_SET) != 0) {
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

} // namespace hw

#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

namespace hw {

/// Why a file was not opened although the system would have opened it.
enum class FileError {
    /// A pipe, a device or another special file: it has no length to check
    /// sizes against, and reading it may block until another program writes.
    NotRegularFile = 1,
};

const std::error_category &fileErrorCategory();

inline std::error_code make_error_code(FileError error)
{
    return {static_cast<int>(error), fileErrorCategory()};
}

/// An error when `path` names an existing file that is not a regular file
/// (is_a_directory for a folder, FileError::NotRegularFile for the others);
/// nothing for a regular file or a path the system cannot look at, whose
/// opening then gives the system's reason. Looks without opening the file.
std::error_code specialFileError(const std::filesystem::path &path);

/// What one read gave: the number of bytes read, or the system's reason why
/// reading failed.
struct ReadResult
{
    std::size_t count = 0;
    std::error_code error;
};

/// Bytes read by position, as the plugin reader needs them. Offsets are 64-bit
/// so that files over 2 GiB work on every platform.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    /// The length of the source in bytes, as it was when it was opened.
    virtual std::uint64_t size() const = 0;

    /// Reads up to `into.size()` bytes from `offset` on. Fewer bytes come back
    /// only at the end of the source; `offset` may lie beyond the end.
    virtual ReadResult read(std::uint64_t offset, std::span<char> into) = 0;

    /// The bytes from `offset` on where they already stand in memory, without
    /// a copy: at least `length` of them (fewer only at the end of the
    /// source), and as many more as are at hand. Valid until the next call of
    /// view() or read(); nothing when the source can only copy its bytes
    /// with read(). `offset` must lie within the source.
    virtual std::optional<std::string_view> view(std::uint64_t offset, std::size_t length)
    {
        (void)offset, (void)length;
        return std::nullopt;
    }

    /// True once bytes seen through view() turned out not to be there any
    /// more (a mapped file that another program cut shorter): they read as
    /// zeros, and what was read from them is wrong. Cheap enough to ask after
    /// every record.
    virtual bool changed() const { return false; }

    /// changed(), or the source holds fewer bytes now than when it was
    /// opened: the last page of a mapped file cut short reads as zeros
    /// without any fault. Costs a system call; asked once, at the end.
    virtual bool changedSinceOpened() const { return changed(); }

    /// A second source over the same bytes, of the same size, that another
    /// thread may read while this one is read, each seeing the bytes in
    /// place; nothing where the bytes can only be copied.
    virtual std::unique_ptr<ByteSource> another() const { return nullptr; }
};

/// Bytes already in memory (tests and fuzzing). The bytes must outlive it.
class MemorySource final : public ByteSource
{
public:
    explicit MemorySource(std::string_view bytes)
        : m_bytes(bytes)
    { }

    std::uint64_t size() const override { return m_bytes.size(); }
    ReadResult read(std::uint64_t offset, std::span<char> into) override;
    std::optional<std::string_view> view(std::uint64_t offset, std::size_t length) override
    {
        (void)length;
        return m_bytes.substr(static_cast<std::size_t>(offset));
    }
    std::unique_ptr<ByteSource> another() const override
    {
        return std::make_unique<MemorySource>(m_bytes);
    }

private:
    std::string_view m_bytes;
};

class FileMapping;

/// A file opened for binary reading, closed when the object goes. It has no
/// buffer of its own: the caller reads blocks of its choosing where it needs
/// them and passes over the rest. Where the system maps files (everywhere but
/// Windows), view() shows the bytes in place through a mapping of the file, a
/// window of it at a time; on Windows view() gives nothing and bytes are
/// copied with read().
class FileSource final : public ByteSource
{
public:
    /// How much of a file is mapped at once (more when one view asks for
    /// more). The pages of the window count as the program's memory while it
    /// is mapped; a larger window was no faster (see bench/measure-reader).
    static constexpr std::size_t kDefaultWindowSize = 4 << 20;

    /// Opens `path` (any characters, on every platform). Only regular files
    /// are opened, and never in a way that blocks (a FIFO named like a
    /// plugin). On failure the result is empty and `error` holds the reason.
    /// `windowSize` is rounded up to whole pages.
    static std::unique_ptr<FileSource> open(const std::filesystem::path &path,
                                            std::error_code &error,
                                            std::size_t windowSize = kDefaultWindowSize);

    /// Reads the file open as the C library's descriptor `fd` (standard input
    /// redirected from a file: 0) by position, through a copy of the
    /// descriptor; `fd` stays open. Only a regular file is taken; for anything
    /// else the result is empty and `error` says what it is, as for open().
    static std::unique_ptr<FileSource> fromDescriptor(int fd, std::error_code &error);

    ~FileSource() override;
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;

    std::uint64_t size() const override { return m_size; }
    ReadResult read(std::uint64_t offset, std::span<char> into) override;
    std::optional<std::string_view> view(std::uint64_t offset, std::size_t length) override;
    bool changed() const override;
    bool changedSinceOpened() const override;
    /// The same file through a copy of the descriptor, mapped on its own;
    /// nothing on Windows, or where the file could not be mapped.
    std::unique_ptr<ByteSource> another() const override;

private:
#ifdef _WIN32
    FileSource(std::FILE *file, std::uint64_t size);
    static std::unique_ptr<FileSource> adopt(std::FILE *file, std::error_code &error);

    std::FILE *m_file;
    // Where the next read starts unless the position is moved first; a seek
    // is made only when a read asks for another offset.
    std::uint64_t m_position = 0;
#else
    FileSource(int fd, std::uint64_t size, std::size_t windowSize);
    static std::unique_ptr<FileSource> adopt(int fd, std::error_code &error,
                                             std::size_t windowSize);

    int m_fd;
    std::size_t m_windowSize;
    std::unique_ptr<FileMapping> m_mapping; ///< made at the first view()
    bool m_copyOnly = false; ///< the system would not map the file
#endif
    std::uint64_t m_size;
};

} // namespace hw

template<> struct std::is_error_code_enum<hw::FileError> : std::true_type
{
};

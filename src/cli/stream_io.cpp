#include "cli/stream_io.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace hw::cli {
namespace {

// Windows opens the standard streams in text mode, which would turn each CR LF
// of a script into CR CR LF, and stop reading at a Ctrl-Z.
void makeBinary([[maybe_unused]] std::FILE *stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#endif
}

std::error_code lastError()
{
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

// Bytes held in memory in blocks of equal size, so that growing never copies
// what was read before.
class SpooledSource final : public ByteSource
{
public:
    static constexpr std::size_t kBlock = 1 << 20;

    std::uint64_t size() const override { return m_size; }

    ReadResult read(std::uint64_t offset, std::span<char> into) override
    {
        std::size_t count = 0;
        while (count < into.size() && offset + count < m_size) {
            const std::uint64_t at = offset + count;
            const auto &block = m_blocks[static_cast<std::size_t>(at / kBlock)];
            const auto within = static_cast<std::size_t>(at % kBlock);
            const std::size_t n =
                std::min<std::uint64_t>({into.size() - count, kBlock - within, m_size - at});
            std::memcpy(into.data() + count, block.data() + within, n);
            count += n;
        }
        return {count, {}};
    }

    // Reads `read` on until it ends or `until` bytes are there; false when it
    // fails or gives more than `limit`.
    bool fill(const ReadNext &read, std::uint64_t limit, std::error_code &error,
              std::uint64_t until = ~std::uint64_t {0})
    {
        while (m_size < until) {
            if (m_size % kBlock == 0)
                m_blocks.emplace_back(kBlock);
            const auto within = static_cast<std::size_t>(m_size % kBlock);
            const auto wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(kBlock - within, until - m_size));
            const ReadResult got = read(std::span<char>(m_blocks.back()).subspan(within, wanted));
            m_size += got.count;
            if (got.error) {
                error = got.error;
                return false;
            }
            if (m_size > limit)
                return false;
            if (got.count == 0)
                return true;
        }
        return true;
    }

    // The first bytes, as many as there are up to `count`.
    std::string_view head(std::size_t count) const
    {
        return m_blocks.empty()
            ? std::string_view()
            : std::string_view(m_blocks.front().data(), std::min<std::uint64_t>(count, m_size));
    }

private:
    std::vector<std::vector<char>> m_blocks;
    std::uint64_t m_size = 0;
};

std::string mebibytes(std::uint64_t bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

} // namespace

std::filesystem::path argumentPath(std::string_view arg)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(arg.begin(), arg.end()));
#else
    return std::filesystem::path(std::string(arg));
#endif
}

bool writeOutput(std::string_view bytes)
{
    makeBinary(stdout);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}

ReadNext readInOrder(ByteSource &source)
{
    return [&source, offset = std::uint64_t {0}](std::span<char> into) mutable {
        const ReadResult got = source.read(offset, into);
        offset += got.count;
        return got;
    };
}

ReadNext readStandardInput()
{
    makeBinary(stdin);
    return [](std::span<char> into) {
        errno = 0;
        const std::size_t count = std::fread(into.data(), 1, into.size(), stdin);
        if (count == 0 && std::ferror(stdin))
            return ReadResult {0, lastError()};
        return ReadResult {count, {}};
    };
}

StandardInput standardInput(std::uint64_t limit)
{
    std::error_code error;
    StandardInput input;
    constexpr int kStandardInputDescriptor = 0;
    input.source = FileSource::fromDescriptor(kStandardInputDescriptor, error);
    if (input.source)
        return input;
    auto spooled = std::make_unique<SpooledSource>();
    error.clear();
    const ReadNext read = readStandardInput();
    // Every plugin begins with "TES3": anything else (a text, /dev/zero) is
    // refused by the reader after its first four bytes, with nothing more
    // read or held.
    constexpr std::string_view kPluginTag = "TES3";
    const bool plugin = spooled->fill(read, limit, error, kPluginTag.size()) &&
        spooled->head(kPluginTag.size()) == kPluginTag;
    if (!error && (!plugin || spooled->fill(read, limit, error))) {
        input.source = std::move(spooled);
    } else if (error) {
        input.problem = "cannot read standard input: " + error.message();
    } else {
        input.problem = "standard input holds more than " + mebibytes(limit) +
            "; name the file instead of sending it through a pipe";
    }
    return input;
}

} // namespace hw::cli

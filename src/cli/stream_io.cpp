#include "cli/stream_io.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace hw::cli {
namespace {

// Windows opens the standard streams in text mode, which would turn each CR LF
// of a script into CR CR LF.
void makeBinary([[maybe_unused]] std::FILE *stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#endif
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

std::FILE *openForReading(const std::filesystem::path &path)
{
    // fopen takes a path in the system's code page on Windows, which cannot
    // name every file; the wide form can.
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

std::optional<std::string> readAll(std::FILE *file)
{
    if (file == stdin)
        makeBinary(stdin);
    std::string bytes;
    char buffer[1 << 14];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    if (std::ferror(file))
        return std::nullopt;
    return bytes;
}

bool writeOutput(std::string_view bytes)
{
    makeBinary(stdout);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}

} // namespace hw::cli

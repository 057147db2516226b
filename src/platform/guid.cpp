#include "platform/guid.hpp"

#ifdef _WIN32
#include <objbase.h>
#else
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#if defined(__linux__)
#include <sys/random.h>
#endif
#endif

namespace hw {

#ifdef _WIN32

Guid newGuid()
{
    GUID raw {};
    // A failed call leaves the fields zero, which still gives a usable name.
    CoCreateGuid(&raw);
    Guid guid;
    guid.data1 = raw.Data1;
    guid.data2 = raw.Data2;
    guid.data3 = raw.Data3;
    for (std::size_t i = 0; i < guid.data4.size(); ++i)
        guid.data4[i] = raw.Data4[i];
    return guid;
}

#else

namespace {

bool fillFromKernel(unsigned char *bytes, std::size_t size)
{
#if defined(__linux__)
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = getrandom(bytes + done, size - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
#else
    (void)bytes;
    (void)size;
    return false;
#endif
}

bool fillFromDevice(unsigned char *bytes, std::size_t size)
{
    std::FILE *device = std::fopen("/dev/urandom", "rb");
    if (!device)
        return false;
    const bool ok = std::fread(bytes, 1, size, device) == size;
    std::fclose(device);
    return ok;
}

} // namespace

Guid newGuid()
{
    std::array<unsigned char, 16> b {};
    if (!fillFromKernel(b.data(), b.size()) && !fillFromDevice(b.data(), b.size()))
        return {};
    Guid guid;
    guid.data1 = static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
        static_cast<std::uint32_t>(b[2]) << 8 | b[3];
    guid.data2 = static_cast<std::uint16_t>(b[4] << 8 | b[5]);
    // Version 4 (random) in the top nibble of Data3, the RFC 4122 variant in
    // the top two bits of Data4[0].
    guid.data3 = static_cast<std::uint16_t>((b[6] & 0x0F) << 8 | b[7] | 0x4000);
    for (std::size_t i = 0; i < guid.data4.size(); ++i)
        guid.data4[i] = b[8 + i];
    guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);
    return guid;
}

#endif

} // namespace hw

#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hw {

/// A GUID seen as its four fields, as the operating system hands it out.
struct Guid
{
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4 {};
};

/// "hrw_central_" followed by Data1, Data3 and the last byte of Data4, each in
/// upper-case hexadecimal without leading zeros ("0" for a zero field).
std::string centralScriptName(const Guid &guid);

/// The central timing script template under the name made from `guid`: it
/// notices each change of the game hour, and its comments tell the author
/// where to start the schedule scripts. CR LF between lines, none after "End".
std::string centralScript(const Guid &guid);

} // namespace hw

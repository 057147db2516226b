#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

/// The indent of the lines inside the central script's hour block.
inline constexpr std::string_view kStartScriptIndent = "       ";

/// The central script `name` that starts each of `startScripts` once per game
/// hour: the template with one "StartScript NAME" line for each, in the order
/// given, inside its hour block in place of the comment lines (which stay
/// when there are none).
std::string centralScript(std::string_view name, std::span<const std::string> startScripts);

} // namespace hw

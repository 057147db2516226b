#include "generator/central_script.hpp"

#include <cctype>
#include <charconv>
#include <iterator>
#include <string_view>

namespace hw {
namespace {

void appendHex(std::string &out, std::uint32_t value)
{
    char digits[8];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value, 16).ptr;
    for (const char *p = digits; p != end; ++p)
        out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(*p))));
}

} // namespace

std::string centralScriptName(const Guid &guid)
{
    std::string name = "hrw_central_";
    appendHex(name, guid.data1);
    appendHex(name, guid.data3);
    appendHex(name, guid.data4[7]);
    return name;
}

std::string centralScript(const Guid &guid)
{
    constexpr std::string_view kBody[] = {
        "",
        "Short hrw_hour",
        "Short hrw_last",
        "",
        "If ( MenuMode )",
        "      Return",
        "EndIf",
        "",
        "Set hrw_hour to GameHour",
        "If ( hrw_last != hrw_hour )",
        "       ;Put your scripts names here like this(without the semicolon):",
        "       ;StartScript MyScriptName",
        "       ;The script name is what you see after \"Begin\"",
        "       Set hrw_last to hrw_hour",
        "EndIf",
        "",
    };
    std::string text = "Begin " + centralScriptName(guid) + "\r\n";
    for (const auto line : kBody)
        text.append(line).append("\r\n");
    return text.append("End");
}

} // namespace hw

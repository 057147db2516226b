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
    return centralScript(centralScriptName(guid), {});
}

std::string centralScript(std::string_view name, std::span<const std::string> startScripts)
{
    constexpr std::string_view kHead[] = {
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
    };
    constexpr std::string_view kHowTo[] = {
        "       ;Put your scripts names here like this(without the semicolon):",
        "       ;StartScript MyScriptName",
        "       ;The script name is what you see after \"Begin\"",
    };
    constexpr std::string_view kTail[] = {
        "       Set hrw_last to hrw_hour",
        "EndIf",
        "",
    };
    std::string text = "Begin " + std::string(name) + "\r\n";
    for (const auto line : kHead)
        text.append(line).append("\r\n");
    if (startScripts.empty()) {
        for (const auto line : kHowTo)
            text.append(line).append("\r\n");
    }
    for (const std::string &script : startScripts)
        text.append(kStartScriptIndent).append("StartScript ").append(script).append("\r\n");
    for (const auto line : kTail)
        text.append(line).append("\r\n");
    return text.append("End");
}

} // namespace hw

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hw {

/// The single-byte code pages in which the game's language editions store ids.
enum class CodePage {
    Windows1252, ///< Western European: the English, German and French editions
    Windows1251, ///< Cyrillic: the Russian edition
    Windows1250, ///< Central European: the Polish edition
};

/// The code page's name as the command line spells it: "windows-1252" and so on.
std::string_view codePageName(CodePage page);

/// The code page named `name` ("windows-1252", "windows-1251", "windows-1250",
/// letter case ignored), or nothing for any other name.
std::optional<CodePage> codePageFromName(std::string_view name);

/// Converts `bytes` of `page` to UTF-8, one character per byte. Every byte has
/// a character: bytes that the code page leaves undefined become the C1
/// control of the same number (U+0080 to U+009F), as Windows converts them,
/// and NUL stays NUL.
std::string toUtf8(std::string_view bytes, CodePage page);

} // namespace hw

#pragma once

#include "plugin/script_text.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hw {

/// The largest script name a script record holds: its name field has 32
/// bytes, the last of them a NUL.
inline constexpr std::size_t kMaxScriptNameBytes = 31;

/// A script record (SCPT) as the game's editor lays it out: SCHD (the name
/// NUL-padded to 32 bytes; the numbers of shorts, longs and floats; the size
/// of the compiled code, 0 here; the size of SCVR), SCVR (each local's name
/// and a NUL: shorts, then longs, then floats) when there are locals, an
/// empty SCDT (the game compiles the text when it loads it) and SCTX (the
/// text, without a NUL). `name` and `text` are bytes of the game's code page;
/// the name has at most kMaxScriptNameBytes bytes.
std::string scriptRecord(std::string_view name, std::string_view text, std::uint32_t flags = 0);

/// Appends scriptRecord(name, text, flags) to `out`.
void appendScriptRecord(std::string &out, std::string_view name, std::string_view text,
                        std::uint32_t flags = 0);

/// Appends the script record of `text` to `out`, with `locals` as the locals
/// that the text declares, as scriptLocals(text) would find them: for a
/// writer that knows what it declared and need not read the text again.
void appendScriptRecord(std::string &out, std::string_view name, std::string_view text,
                        const ScriptLocals &locals, std::uint32_t flags = 0);

/// A start-script record (SSCR): DATA, `number` without a NUL, then NAME, the
/// script's name and a NUL. The game starts the script when a new game begins.
std::string startScriptRecord(std::string_view number, std::string_view script);

/// The number of the start-script record of `script`: a decimal text made from
/// the script's name in lower case, the same every time.
std::string startScriptNumber(std::string_view script);

/// What a script record's data holds; the texts are bytes of the game's code
/// page and point into the data.
struct ScriptRecordData
{
    std::string_view name; ///< SCHD's name, up to its first NUL
    std::string_view text; ///< SCTX, up to a NUL should one end it
    std::uint32_t numShorts = 0, numLongs = 0, numFloats = 0;
    std::string_view localNames; ///< SCVR
    std::string_view compiled; ///< SCDT
    bool deleted = false; ///< it holds DELE
};

/// The data of a script record; nothing when a sub-record runs past the end
/// of the record or there is no SCHD of 52 bytes.
std::optional<ScriptRecordData> readScriptRecord(std::string_view data);

/// What a start-script record's data holds, as bytes of the code page.
struct StartScriptData
{
    std::string_view script; ///< NAME, up to its first NUL
    std::string_view number; ///< DATA, up to a NUL should one end it
};

/// The data of a start-script record; nothing when a sub-record runs past the
/// end of the record or there is no NAME.
std::optional<StartScriptData> readStartScriptRecord(std::string_view data);

} // namespace hw

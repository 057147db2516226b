#include "plugin/script_record.hpp"

#include "model/caseless.hpp"
#include "plugin/record_layout.hpp"
#include "plugin/subrecords.hpp"

namespace hw {

namespace {

constexpr std::size_t kNameFieldSize = 32;
constexpr std::size_t kScriptHeaderSize = kNameFieldSize + 5 * 4;

std::string_view beforeNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace

void appendScriptRecord(std::string &out, std::string_view name, std::string_view text,
                        std::uint32_t flags)
{
    appendScriptRecord(out, name, text, scriptLocals(text), flags);
}

void appendScriptRecord(std::string &out, std::string_view name, std::string_view text,
                        const ScriptLocals &locals, std::uint32_t flags)
{
    const auto kinds = {&locals.shorts, &locals.longs, &locals.floats};
    std::size_t namesSize = 0; // each name and its NUL
    for (const auto *kind : kinds)
        for (const std::string &local : *kind)
            namesSize += local.size() + 1;

    // Built in place: a plugin of a thousand scripts is mostly their texts.
    const std::size_t dataSize = 3 * kSubrecordHeaderSize + kScriptHeaderSize +
        (namesSize == 0 ? 0 : kSubrecordHeaderSize + namesSize) + text.size();
    out.reserve(out.size() + kRecordHeaderSize + dataSize);
    out.append("SCPT");
    appendLe(out, dataSize, 4);
    appendLe(out, 0, 4);
    appendLe(out, flags, 4);
    out.append("SCHD");
    appendLe(out, kScriptHeaderSize, 4);
    const std::string_view shortName = name.substr(0, kMaxScriptNameBytes);
    out.append(shortName).append(kNameFieldSize - shortName.size(), '\0');
    appendLe(out, locals.shorts.size(), 4);
    appendLe(out, locals.longs.size(), 4);
    appendLe(out, locals.floats.size(), 4);
    appendLe(out, 0, 4); // the compiled code's size
    appendLe(out, namesSize, 4);
    if (namesSize != 0) {
        out.append("SCVR");
        appendLe(out, namesSize, 4);
        for (const auto *kind : kinds)
            for (const std::string &local : *kind)
                out.append(local).push_back('\0');
    }
    appendSubrecord(out, "SCDT", {});
    appendSubrecord(out, "SCTX", text);
}

std::string scriptRecord(std::string_view name, std::string_view text, std::uint32_t flags)
{
    std::string record;
    appendScriptRecord(record, name, text, flags);
    return record;
}

std::string startScriptRecord(std::string_view number, std::string_view script)
{
    std::string data;
    appendSubrecord(data, "DATA", number);
    appendSubrecord(data, "NAME", std::string(script) + '\0');
    return recordBytes("SSCR", data);
}

std::string startScriptNumber(std::string_view script)
{
    // FNV-1a over the name in lower case, as the game's records hold a number
    // of about 19 digits there.
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : script) {
        hash ^= static_cast<unsigned char>(asciiLower(c));
        hash *= 0x100000001B3ull;
    }
    return std::to_string(hash);
}

std::optional<ScriptRecordData> readScriptRecord(std::string_view data)
{
    ScriptRecordData script;
    bool hasHeader = false;
    Subrecords sub(data);
    while (sub.next()) {
        const std::string_view bytes = sub.data();
        switch (sub.tag()) {
        case fourCC("SCHD"):
            if (bytes.size() != kScriptHeaderSize)
                return std::nullopt;
            hasHeader = true;
            script.name = beforeNul(bytes.substr(0, kNameFieldSize));
            script.numShorts = loadLe32(bytes.data() + kNameFieldSize);
            script.numLongs = loadLe32(bytes.data() + kNameFieldSize + 4);
            script.numFloats = loadLe32(bytes.data() + kNameFieldSize + 8);
            break;
        case fourCC("SCVR"):
            script.localNames = bytes;
            break;
        case fourCC("SCDT"):
            script.compiled = bytes;
            break;
        case fourCC("SCTX"):
            script.text = beforeNul(bytes);
            break;
        case fourCC("DELE"):
            script.deleted = true;
            break;
        default:
            break;
        }
    }
    if (sub.broken() || !hasHeader)
        return std::nullopt;
    return script;
}

std::optional<StartScriptData> readStartScriptRecord(std::string_view data)
{
    StartScriptData start;
    bool named = false;
    Subrecords sub(data);
    while (sub.next()) {
        if (sub.tag() == fourCC("NAME")) {
            start.script = beforeNul(sub.data());
            named = true;
        } else if (sub.tag() == fourCC("DATA")) {
            start.number = beforeNul(sub.data());
        }
    }
    if (sub.broken() || !named)
        return std::nullopt;
    return start;
}

} // namespace hw

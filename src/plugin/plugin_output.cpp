#include "plugin/atomic_file.hpp"
#include "plugin/byte_source.hpp"
#include "plugin/existing_plugin.hpp"
#include "plugin/schedule_plugin.hpp"

#include <cctype>
#include <memory>

namespace hw {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;
// Small records are gathered up to this size before they go to the file, so
// that a thousand scripts are not a thousand and more calls to the system.
constexpr std::size_t kGathered = 64 << 10;

// The system's reason as a sentence: "File too large."
std::string sentence(const std::error_code &error)
{
    std::string text = error.message();
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + '.';
}

std::string cannotWrite(const PluginPlan &plan, const std::string &why)
{
    return "Cannot write the plugin " + quotedFile(plan.file) + ". " + why +
        " The file is as it was.";
}

// The old file as the plan read it: the same length and header.
std::unique_ptr<FileSource> openUnchanged(const PluginPlan &plan, std::string &problem)
{
    std::error_code error;
    auto source = FileSource::open(plan.file, error);
    if (!source) {
        problem = cannotWrite(plan, "It cannot be read again: " + sentence(error));
        return nullptr;
    }
    std::string header(plan.oldHeader.size(), '\0');
    const ReadResult got = source->read(0, header);
    if (source->size() != plan.oldSize || got.error || header != plan.oldHeader) {
        problem = cannotWrite(plan, "It changed after it was read; write it again.");
        return nullptr;
    }
    return source;
}

// The file being written, with small writes gathered.
class Output
{
public:
    explicit Output(AtomicFile &file)
        : m_file(file)
    {
        m_gathered.reserve(kGathered);
    }

    // The system's reason as a sentence when the bytes could not be written.
    std::string write(std::string_view bytes)
    {
        if (m_gathered.size() + bytes.size() > kGathered)
            if (std::string why = flush(); !why.empty())
                return why;
        if (bytes.size() >= kGathered) {
            const auto error = m_file.write(bytes);
            return error ? sentence(error) : std::string();
        }
        m_gathered.append(bytes);
        return {};
    }

    // The bytes gathered, to append to in place; spill() then writes them
    // once they are enough for one write.
    std::string &gathered() { return m_gathered; }

    std::string spill() { return m_gathered.size() >= kGathered ? flush() : std::string(); }

    std::string flush()
    {
        const auto error = m_file.write(m_gathered);
        m_gathered.clear();
        return error ? sentence(error) : std::string();
    }

private:
    AtomicFile &m_file;
    std::string m_gathered;
};

// Copies `size` bytes of `source` from `offset` on into `out`.
std::string copyRange(ByteSource &source, std::uint64_t offset, std::uint64_t size, Output &out,
                      std::string &buffer)
{
    while (size > 0) {
        const auto block = static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyBlock));
        buffer.resize(block);
        const ReadResult got = source.read(offset, buffer);
        if (got.error)
            return "Reading the old file failed: " + sentence(got.error);
        if (got.count < block)
            return "The old file got shorter while it was read.";
        if (std::string why = out.write(buffer); !why.empty())
            return why;
        offset += block;
        size -= block;
    }
    return {};
}

// The record of a schedule script, made from its list as it is written.
std::string scriptPiece(const PluginPlan &plan, const PluginPiece &piece, Output &out)
{
    const PluginScript &script = plan.scripts[piece.script];
    // The plan found that the name and the text fit the code page; should
    // they not, no script is written without its text.
    if (!appendScheduleRecord(out.gathered(), script, plan.page, piece.flags))
        return "The script " + script.name + " cannot be written in " +
            std::string(codePageName(plan.page)) + ".";
    return out.spill();
}

// Keeps the old file as FILE.bak, unless there is a FILE.bak already: a second
// name for the same bytes where the file system allows it, else a copy.
std::string keepBackup(const PluginPlan &plan, std::filesystem::path &made)
{
    std::filesystem::path backup = plan.file;
    backup += ".bak";
    std::error_code error;
    if (std::filesystem::symlink_status(backup, error).type() !=
        std::filesystem::file_type::not_found)
        return {};
    std::filesystem::create_hard_link(plan.file, backup, error);
    if (error) {
        error.clear();
        std::filesystem::copy_file(plan.file, backup, std::filesystem::copy_options::none, error);
    }
    if (error)
        return "Its old bytes cannot be kept as " + quotedFile(backup) + ": " + sentence(error);
    made = backup;
    return {};
}

} // namespace

PluginWritten writePlugin(const PluginPlan &plan)
{
    PluginWritten result;
    if (!plan.ok()) {
        result.problem = plan.problem;
        return result;
    }
    if (plan.pieces.empty())
        return result;
    std::unique_ptr<FileSource> old;
    if (plan.oldFile && !(old = openUnchanged(plan, result.problem)))
        return result;
    std::error_code error;
    const auto out = AtomicFile::create(plan.file, error);
    if (!out) {
        result.problem = cannotWrite(plan, sentence(error));
        return result;
    }
    Output output(*out);
    std::string buffer;
    for (const PluginPiece &piece : plan.pieces) {
        std::string why;
        switch (piece.from) {
        case PluginPiece::From::Plan:
            why = output.write(std::string_view(plan.bytes).substr(piece.offset, piece.size));
            break;
        case PluginPiece::From::OldFile:
            why = copyRange(*old, piece.offset, piece.size, output, buffer);
            break;
        case PluginPiece::From::Script:
            why = scriptPiece(plan, piece, output);
            break;
        }
        if (!why.empty()) {
            result.problem = cannotWrite(plan, why);
            return result;
        }
    }
    if (std::string why = output.flush(); !why.empty()) {
        result.problem = cannotWrite(plan, why);
        return result;
    }
    // Windows does not put a file in the place of one that is open.
    old.reset();
    if (plan.backup) {
        if (std::string why = keepBackup(plan, result.backup); !why.empty()) {
            result.problem = cannotWrite(plan, why);
            return result;
        }
    }
    // A file that replaces another reaches the disk before it takes its
    // place, so that the old one is never lost to a half-written one. A new
    // file replaces nothing and is put in place as it is, unless a file
    // appeared there meanwhile.
    if (const auto failed = plan.oldFile ? out->commit() : out->commitNew()) {
        if (!result.backup.empty()) {
            std::filesystem::remove(result.backup, error);
            result.backup.clear();
        }
        result.problem = cannotWrite(plan,
                                     failed == std::errc::file_exists
                                         ? "A file of that name was made while it was "
                                           "written; write it again."
                                         : sentence(failed));
        return result;
    }
    result.written = true;
    return result;
}

} // namespace hw

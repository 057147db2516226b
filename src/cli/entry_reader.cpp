#include "cli/entry_reader.hpp"

#include "cli/line_reader.hpp"
#include "model/entry_line.hpp"

namespace hw::cli {
namespace {

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

EntryLine readLine(std::string_view line, std::optional<CodePage> page)
{
    EntryLine read = readEntryLine(line);
    if (read.ok() && page) {
        CodePageText encoded = fromUtf8(read.entry, *page);
        if (!encoded.ok())
            return {{}, std::move(encoded.problem)};
    }
    return read;
}

} // namespace

std::optional<std::vector<std::string>> readTaskEntries(ReadNext read, std::optional<CodePage> page,
                                                        const ReportProblem &report)
{
    using Status = LineReader::Status;
    LineReader lines(std::move(read), kEntryLineLimit);
    std::vector<std::string> entries;
    bool refused = false;
    for (Status status; (status = lines.next()) != Status::End;) {
        std::string_view line = lines.line();
        if (lines.number() == 1) {
            if (const auto problem = takeTextStart(line)) {
                report(0, *problem);
                return std::nullopt;
            }
        }
        if (status == Status::Failed) {
            report(0, "cannot read: " + lines.error().message());
            return std::nullopt;
        }
        if (status == Status::TooLong) {
            report(lines.number(),
                   "the line is longer than " + std::to_string(kEntryLineLimit / 1024) +
                       " KiB, which no task entry is: " + quotedForMessage(line));
            return std::nullopt;
        }
        if (isBlank(line))
            continue;
        EntryLine entry = readLine(line, page);
        if (!entry.ok()) {
            report(lines.number(), entry.problem);
            refused = true;
        } else if (entries.size() == kMaxEntries) {
            report(lines.number(), "more than " + std::to_string(kMaxEntries) + " task entries");
            return std::nullopt;
        } else {
            entries.push_back(std::move(entry.entry));
        }
    }
    if (refused)
        return std::nullopt;
    return entries;
}

} // namespace hw::cli

#include "cli/entry_reader.hpp"

#include "cli/line_reader.hpp"

namespace hw::cli {

std::optional<TaskListFile> readTaskListInput(ReadNext read, std::optional<CodePage> page,
                                              const ReportProblem &report)
{
    using Status = LineReader::Status;
    LineReader lines(std::move(read), kEntryLineLimit);
    TaskListReader reader;
    std::vector<std::string> entries;
    bool refused = false;
    for (Status status; (status = lines.next()) != Status::End;) {
        if (status == Status::Failed) {
            report(0, "cannot read: " + lines.error().message());
            return std::nullopt;
        }
        if (lines.bytesRead() > kTaskListFileLimit) {
            report(0, kTaskListTooLarge);
            return std::nullopt;
        }
        if (status == Status::TooLong) {
            // The start of a UTF-16 text says more than its length.
            TaskListReader::Line first =
                lines.number() == 1 ? reader.read(lines.line()) : TaskListReader::Line {};
            if (first.wholeText) {
                report(0, first.problem);
                return std::nullopt;
            }
            report(lines.number(),
                   "the line is longer than " + std::to_string(kEntryLineLimit / 1024) +
                       " KiB, which no task-list line is: " + quotedForMessage(lines.line()));
            return std::nullopt;
        }
        TaskListReader::Line line = reader.read(lines.line());
        if (line.ok() && page && !line.entry.empty()) {
            if (CodePageText encoded = fromUtf8(line.entry, *page); !encoded.ok())
                line.problem = std::move(encoded.problem);
        }
        if (line.wholeText) {
            report(0, line.problem);
            return std::nullopt;
        }
        if (!line.ok()) {
            report(lines.number(), line.problem);
            refused = true;
        } else if (line.entry.empty()) {
            continue;
        } else {
            entries.push_back(std::move(line.entry));
        }
    }
    if (refused)
        return std::nullopt;
    TaskListFile list = reader.header();
    list.entries = std::move(entries);
    return list;
}

} // namespace hw::cli

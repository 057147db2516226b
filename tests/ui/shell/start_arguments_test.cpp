// The program's start arguments: one task-list file to open, and no option.
#include "ui/shell/start_arguments.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(StartArguments, takeOneFileAndNoOption)
{
    // The arguments; the file, or "!" and the error.
    const std::pair<QStringList, QString> cases[] = {{{}, ""},
                                                     {{"a.hwtasks"}, "a.hwtasks"},
                                                     {{"--", "-a.hwtasks"}, "-a.hwtasks"},
                                                     {{"-"}, "-"},
                                                     {{"--loud"}, "!unknown option '--loud'"},
                                                     {{"a", "b"}, "!only one FILE may be given"}};
    for (const auto &[arguments, expected] : cases) {
        const hw::StartArguments read = hw::readStartArguments(arguments);
        EXPECT_EQ(read.error.isEmpty() ? read.file : '!' + read.error, expected);
    }
}

} // namespace

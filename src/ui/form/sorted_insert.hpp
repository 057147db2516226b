#pragma once

#include <QString>

class QComboBox;

namespace hw {

/// The row at which `text` joins a list of `count` texts that is kept in the
/// caseless order of the task list: after every text that does not sort after
/// it, so equal texts keep the order of adding.
template<class TextAt> int sortedRow(int count, TextAt &&textAt, const QString &text);

/// Inserts `text` into the list of `box` at its caseless sorted place and
/// returns the row. The edit text and the current item stay as they were.
int addSorted(QComboBox &box, const QString &text);

} // namespace hw

#include "model/task_list.hpp"

#include <string>

namespace hw {

template<class TextAt> int sortedRow(int count, TextAt &&textAt, const QString &text)
{
    const std::string key = text.toStdString();
    std::string probe;
    const auto row = insertPosition(
        static_cast<std::size_t>(count),
        [&](std::size_t i) -> std::string_view {
            probe = textAt(static_cast<int>(i)).toStdString();
            return probe;
        },
        key);
    return static_cast<int>(row);
}

} // namespace hw

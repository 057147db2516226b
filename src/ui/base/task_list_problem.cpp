#include "ui/base/task_list_problem.hpp"

namespace hw {

QString readProblem(const TaskListRead &read)
{
    QString problem = QString::fromStdString(read.problem);
    if (read.line != 0)
        return QStringLiteral("Line %1: %2").arg(read.line).arg(problem);
    if (!problem.isEmpty())
        problem[0] = problem[0].toUpper();
    return problem;
}

} // namespace hw

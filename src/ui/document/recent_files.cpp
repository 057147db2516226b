#include "ui/document/recent_files.hpp"

#include <QFileInfo>
#include <QSettings>

namespace hw {

namespace {

const char kKey[] = "recentFiles";

// File names on Windows match whatever their case.
bool samePath(const QString &a, const QString &b)
{
#ifdef _WIN32
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

void store(const QStringList &paths)
{
    QSettings().setValue(QLatin1String(kKey), paths);
}

} // namespace

QStringList RecentFiles::paths()
{
    QStringList paths = QSettings().value(QLatin1String(kKey)).toStringList();
    paths.removeAll(QString());
    return paths.mid(0, kLimit);
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = RecentFiles::paths();
    paths.removeIf([&](const QString &known) { return samePath(known, absolute); });
    paths.prepend(absolute);
    store(paths.mid(0, kLimit));
}

void RecentFiles::remove(const QString &path)
{
    QStringList paths = RecentFiles::paths();
    paths.removeIf([&](const QString &known) { return samePath(known, path); });
    store(paths);
}

} // namespace hw

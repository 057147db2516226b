#include "ui/document/script_file.hpp"

#include "plugin/code_page.hpp"
#include "ui/base/prompts.hpp"
#include "ui/document/task_list_io.hpp"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace hw {

namespace {

struct ScriptType
{
    CodePage page;
    const char *name;
};

// The game's language editions by their code page; the first is the default.
constexpr ScriptType kTypes[] = {
    {CodePage::Windows1252, "Western European (Windows-1252)"},
    {CodePage::Windows1251, "Cyrillic (Windows-1251)"},
    {CodePage::Windows1250, "Central European (Windows-1250)"},
};

const char kPageKey[] = "scriptCodePage";
const char kFolderKey[] = "scriptFolder";

QString filterOf(const ScriptType &type)
{
    return QStringLiteral("Morrowind script, %1 (*.txt)").arg(QLatin1String(type.name));
}

const ScriptType &rememberedType()
{
    const QString name = QSettings().value(QLatin1String(kPageKey)).toString();
    const auto page = codePageFromName(name.toStdString());
    const auto found = std::find_if(std::begin(kTypes), std::end(kTypes),
                                    [&](const ScriptType &type) { return type.page == page; });
    return found == std::end(kTypes) ? kTypes[0] : *found;
}

// The script's own name from its "Begin" line, as a file name.
QString proposedName(const QString &script)
{
    const QString first = script.section(QLatin1String("\r\n"), 0, 0);
    QString name = first.startsWith(QLatin1String("Begin ")) ? first.mid(6).trimmed() : QString();
    for (QChar &c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    return (name.isEmpty() ? QStringLiteral("script") : name) + QLatin1String(".txt");
}

} // namespace

CodePage gameCodePage()
{
    return rememberedType().page;
}

void saveScriptAs(QWidget *parent, Prompts &prompts, const QString &script)
{
    const QString caption = QString::fromUtf8(kApplicationTitle);
    if (script.isEmpty()) {
        prompts.tell(parent, caption, QStringLiteral("There is no script to save."));
        return;
    }
    QStringList filters;
    for (const ScriptType &type : kTypes)
        filters.append(filterOf(type));
    QString chosenType = filterOf(rememberedType());
    const QString path =
        prompts.saveFile(parent, QDir(rememberedFolder(kFolderKey)).filePath(proposedName(script)),
                         filters.join(QLatin1String(";;")), chosenType);
    if (path.isEmpty())
        return;
    const ScriptType &type = kTypes[std::max<qsizetype>(0, filters.indexOf(chosenType))];
    QSettings settings;
    settings.setValue(QLatin1String(kPageKey), QString::fromUtf8(codePageName(type.page)));
    settings.setValue(QLatin1String(kFolderKey), QFileInfo(path).absolutePath());

    const std::string text = script.toStdString();
    const CodePageText bytes = fromUtf8(text, type.page);
    if (!bytes.ok()) {
        const auto line = 1 +
            std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bytes.at), '\n');
        prompts.tell(parent, caption,
                     QStringLiteral("The script cannot be saved in %1.\n\nLine %2: %3\n\n"
                                    "Nothing was written.")
                         .arg(QLatin1String(type.name))
                         .arg(line)
                         .arg(QString::fromStdString(bytes.problem)));
        return;
    }
    const QString reason = writeWhole(path, QByteArray::fromStdString(bytes.bytes));
    if (!reason.isEmpty())
        prompts.tell(parent, caption,
                     QStringLiteral("Cannot save the script \"%1\".\n\n%2")
                         .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace hw

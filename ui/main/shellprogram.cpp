#include "ui/main/shellprogram.h"

#include "engine/errors.h"
#include "rules/shellcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace quantix {

namespace {

ShellStart failure(ErrorNumber number)
{
    return {number, describe(number)};
}

// QProcess reports a failed start as "execv: Exec format error": the
// system's own explanation follows the name of the call that failed.
QString systemExplanation(const QString &errorString)
{
    const qsizetype colon = errorString.indexOf(QLatin1String(": "));
    return colon < 0 ? errorString : errorString.mid(colon + 2);
}

}

ShellStart startShellProgram(const QString &path)
{
    if (path.trimmed().isEmpty())
        return failure(ErrorNumber::InvalidArgument);

    const ShellCommand command = parseShellCommand(path);
    const QString program = locateProgram(command.program);
    if (program.isEmpty())
        return failure(ErrorNumber::FileNotFound);
    const QFileInfo file(program);
    if (!file.absoluteDir().exists())
        return failure(ErrorNumber::PathNotFound);
    if (!file.exists() || file.isDir())
        return failure(ErrorNumber::FileNotFound);
    if (!file.isExecutable())
        return failure(ErrorNumber::PermissionDenied);

    QProcess process;
    process.setProgram(file.absoluteFilePath());
    process.setArguments(command.arguments);
    process.setWorkingDirectory(file.absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return {ErrorNumber::PathFileAccess, systemExplanation(process.errorString())};
    return {};
}

}

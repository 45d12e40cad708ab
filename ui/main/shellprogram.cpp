#include "shellprogram.h"

#include "conversionerror.h"
#include "messages.h"
#include "shellcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace quantix {

namespace {

constexpr int invalidArgument = 5;
constexpr int fileNotFound = 53;
constexpr int permissionDenied = 70;
constexpr int pathNotFound = 76;

ShellStart failure(int number)
{
    return {number, ConversionError::describe(number)};
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
        return failure(invalidArgument);

    const ShellCommand command = parseShellCommand(path);
    const QString program = locateProgram(command.program);
    if (program.isEmpty())
        return failure(fileNotFound);
    const QFileInfo file(program);
    if (!file.absoluteDir().exists())
        return failure(pathNotFound);
    if (!file.exists() || file.isDir())
        return failure(fileNotFound);
    if (!file.isExecutable())
        return failure(permissionDenied);

    QProcess process;
    process.setProgram(file.absoluteFilePath());
    process.setArguments(command.arguments);
    process.setWorkingDirectory(file.absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return {fileAccessError, systemExplanation(process.errorString())};
    return {};
}

}

#include "shellprogram.h"

#include "conversionerror.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

}

ShellStart startShellProgram(const QString &path)
{
    if (path.trimmed().isEmpty())
        return failure(invalidArgument);

    QString program = path;
    if (!path.contains(u'/')) {
        program = QStandardPaths::findExecutable(path);
        if (program.isEmpty())
            return failure(fileNotFound);
    }
    const QFileInfo file(program);
    if (!file.absoluteDir().exists())
        return failure(pathNotFound);
    if (!file.exists() || file.isDir())
        return failure(fileNotFound);
    if (!file.isExecutable())
        return failure(permissionDenied);

    QProcess process;
    process.setProgram(file.absoluteFilePath());
    process.setWorkingDirectory(file.absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return failure(permissionDenied);
    return {};
}

}

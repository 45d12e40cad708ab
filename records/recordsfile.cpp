#include "records/recordsfile.h"

#include "records/rtfwriter.h"
#include "settings/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace quantix {

namespace {

// A device or a pipe (/dev/full, a FIFO) cannot be replaced by renaming a
// temporary file over it, and holds no content to protect: write to it,
// unbuffered so that a write that fails says so.
std::optional<QString> writeDirectly(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return file.errorString();
    if (!writeWhole(file, content))
        return file.errorString();
    return std::nullopt;
}

}

bool isPlainTextRecordsFile(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
}

QByteArray recordsFileContent(const QString &fileName, const QString &text, const PrintFont &font)
{
    if (!isPlainTextRecordsFile(fileName))
        return recordsRtf(text, font);
    const QString withLineEnd = text + QLatin1String("\r\n");
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(withLineEnd);
}

std::optional<QString> writeRecordsFile(const QString &fileName, const QByteArray &content)
{
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile() && !target.isDir())
        return writeDirectly(fileName, content);
    return replaceFile(fileName, content);
}

}

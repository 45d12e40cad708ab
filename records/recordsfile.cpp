#include "recordsfile.h"

#include "rtfwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

namespace quantix {

namespace {

// A disk that fills up takes part of a write without an error; writing the
// rest then reports the system's reason.
bool writeWhole(QFileDevice &file, const QByteArray &content)
{
    qsizetype written = 0;
    while (written < content.size()) {
        const qint64 part = file.write(content.constData() + written, content.size() - written);
        if (part <= 0)
            return false;
        written += part;
    }
    return true;
}

// A device or a pipe (/dev/full, a FIFO) cannot be replaced by renaming a
// temporary file over it, and holds no content to protect: write to it.
std::optional<QString> writeDirectly(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    if (!writeWhole(file, content) || !file.flush())
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

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!writeWhole(file, content)) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

}

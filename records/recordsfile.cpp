#include "records/recordsfile.h"

#include "records/rtfwriter.h"

#include <QStringEncoder>

namespace quantix {

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

std::optional<FileFailure> writeRecordsFile(const QString &fileName, const QByteArray &content)
{
    return replaceFile(fileName, content);
}

}

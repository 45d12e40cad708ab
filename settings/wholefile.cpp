#include "settings/wholefile.h"

#include <QSaveFile>

namespace quantix {

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

// Unbuffered: a buffered QSaveFile reports success for the last part of the
// content, which waits in its buffer, and commit() renames the new file over
// the old one even when writing that part out fails.
std::optional<QString> replaceFile(const QString &fileName, const QByteArray &content)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
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

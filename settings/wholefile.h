#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFileDevice;

namespace quantix {

// Writes all of content to a file opened unbuffered. A disk that fills up
// takes part of a write without an error; writing the rest then reports the
// system's reason. Returns false when not all of it was written.
bool writeWhole(QFileDevice &file, const QByteArray &content);

// Replaces the file fileName with content, or leaves it as it was, byte for
// byte: the content goes to a new file that is renamed over the old one only
// when all of it was written. Returns the system's error text on failure.
std::optional<QString> replaceFile(const QString &fileName, const QByteArray &content);

}

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quantix {

// Why a file the program keeps could not be read or replaced, for a message
// that names the file and the reason.
struct FileFailure
{
    enum class Reason
    {
        System,          // systemText says why
        NotRegularFile,  // a folder, a FIFO or a device stands at the name
        TooLarge,        // larger than the reader takes (maxSize)
        Locked,          // another program held the file's lock too long
    };

    QString fileName = {};
    Reason reason = Reason::System;
    QString systemText = {};
    qint64 maxSize = 0;

    friend bool operator==(const FileFailure &, const FileFailure &) = default;
};

// The whole content of a regular file (a symbolic link to one is followed).
// A FIFO, a device or a folder is refused without being opened for reading,
// and nothing waits for a writer; a file larger than maxSize is refused
// without reading it. A missing file is no failure: exists is then false.
struct FileContent
{
    bool exists = false;
    QByteArray bytes;
};
std::optional<FileFailure> readRegularFile(const QString &fileName, qint64 maxSize, FileContent &content);

// Replaces the regular file fileName (or the file a symbolic link names)
// with content, or leaves it as it was, byte for byte. The content goes to
// a new file beside it, "NAME.quantix96-XXXXXX", which is written, synced
// and closed, then renamed over the old one; the folder is synced last.
// Any step that fails cancels the replacement and gives the system's
// reason; after the rename, the old file comes back by a second name it was
// given (a file system without hard links cannot give one: there a failed
// folder sync leaves the new file). A name where something other than a regular
// file stands (a FIFO, a device) is refused without opening it. New files
// of ours left by a replacement cut short (the program killed) are removed
// the next time the same file is replaced.
std::optional<FileFailure> replaceFile(const QString &fileName, const QByteArray &content);

}

#pragma once

#include <QByteArray>
#include <QList>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quantix::ini {

// The settings file as QSettings reads and writes it (INI with escaped keys),
// edited line by line: a write touches the one line of its key and leaves
// every other byte of the file as it was, lines QSettings cannot read
// included. QSettings would rewrite the whole file from what it understood.

// A key or a section name as QSettings writes it: letters, digits, "_", "-"
// and "." as they are, "/" as "\", everything else as %XX or %UXXXX.
QByteArray escapedKey(QStringView key);
// The reverse, lenient as QSettings is with hand-written keys.
QString unescapedKey(QByteArrayView key);

// A text value as QSettings writes it: quoted when it has blanks at its ends
// or ";", "," or "=" inside, control characters and quotes escaped, a
// leading "@" doubled, UTF-8 otherwise.
QByteArray escapedValue(QStringView value);

// True when the file has a line QSettings cannot read: a line that is not
// blank, a comment, a "[section]" or a "key=value" line.
bool isDamaged(QByteArrayView file);

// The file with section/key set to value: the last line that QSettings reads
// for that key is replaced; a new key goes after the last line of the last
// block of its section, a new section at the end of the file.
QByteArray withValue(QByteArrayView file, QStringView section, QStringView key, QStringView value);

// One key to set. A kept value (keepStored) is set only where the file
// holds no line for the key.
struct Assignment
{
    QString section;
    QString key;
    QString value;
    bool keepStored = false;
};

// The file with every assignment made, in one pass over it: the same bytes
// as withValue() applied for each in turn (but where a damaged last line, a
// quote left open, would take in the lines added).
QByteArray withValues(QByteArrayView file, const QList<Assignment> &assignments);

}

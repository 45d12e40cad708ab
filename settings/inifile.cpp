#include "settings/inifile.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <utility>

namespace quantix::ini {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }
bool isInlineBlank(char c) { return c == ' ' || c == '\t'; }
bool isHexDigit(char16_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

char hexDigit(unsigned value) { return "0123456789ABCDEF"[value & 0xF]; }

// One logical line as QSettings reads it: a value may run over several
// physical lines inside quotes or after a backslash, and ";" outside quotes
// ends the line (the rest is a comment). Comment lines are skipped.
struct Line
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype equals = -1;  // position of the first "=" outside quotes
};

class LineReader
{
public:
    explicit LineReader(QByteArrayView data)
        : m_data(data)
        , m_pos(data.startsWith("\xef\xbb\xbf") ? 3 : 0)
    {
    }

    std::optional<Line> next()
    {
        const qsizetype size = m_data.size();
        qsizetype start = m_pos;
        while (start < size && isBlank(m_data[start]))
            ++start;
        qsizetype i = start;
        qsizetype equals = -1;
        bool quoted = false;
        while (i < size) {
            const char c = m_data[i++];
            if (c == '=') {
                if (!quoted && equals < 0)
                    equals = i - 1;
            } else if (isLineEnd(c)) {
                if (!quoted) {
                    --i;
                    break;
                }
            } else if (c == '\\') {
                if (i < size) {
                    const char escaped = m_data[i++];
                    if (i < size && isLineEnd(escaped) && isLineEnd(m_data[i]) && m_data[i] != escaped)
                        ++i;
                }
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == ';') {
                if (i == start + 1) {
                    while (i < size && !isLineEnd(m_data[i]))
                        ++i;
                    while (i < size && isBlank(m_data[i]))
                        ++i;
                    start = i;
                } else if (!quoted) {
                    --i;
                    break;
                }
            }
        }
        m_pos = i;
        if (i == start)
            return std::nullopt;
        return Line{start, i, equals};
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos;
};

bool isSectionHeader(QByteArrayView data, const Line &line) { return data[line.start] == '['; }

// The section a header line opens, and whether it is well formed.
QString sectionName(QByteArrayView data, const Line &line, bool *closed = nullptr)
{
    const QByteArrayView text = data.sliced(line.start, line.end - line.start);
    qsizetype close = text.indexOf(']');
    if (closed)
        *closed = close >= 0;
    if (close < 0)
        close = text.size();
    const QByteArrayView name = text.sliced(1, close - 1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return {};
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.sliced(1));
    return unescapedKey(name);
}

QByteArray escapedText(QStringView value)
{
    QByteArray result;
    result.reserve(value.size() + 2);
    bool needsQuotes = false;
    bool escapeNextHexDigit = false;  // a hex digit after "\x.." would read as part of it
    QString plain;                     // characters written as UTF-8, encoded together so that pairs stay pairs
    const auto flushPlain = [&] {
        result += plain.toUtf8();
        plain.clear();
    };
    for (const QChar qc : value) {
        const char16_t c = qc.unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeNextHexDigit && isHexDigit(c)) {
            result += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextHexDigit = false;
        const char *escape = nullptr;
        switch (c) {
        case '\a': escape = "\\a"; break;
        case '\b': escape = "\\b"; break;
        case '\f': escape = "\\f"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\t': escape = "\\t"; break;
        case '\v': escape = "\\v"; break;
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        default: break;
        }
        if (escape) {
            flushPlain();
            result += escape;
        } else if (c == 0) {
            flushPlain();
            result += "\\0";
            escapeNextHexDigit = true;
        } else if (c <= 0x1F) {
            flushPlain();
            result += "\\x" + QByteArray::number(c, 16);
            escapeNextHexDigit = true;
        } else {
            plain += qc;
        }
    }
    flushPlain();
    if (needsQuotes || result.startsWith(' ') || result.endsWith(' '))
        result = '"' + result + '"';
    return result;
}

QString keyOf(QByteArrayView data, const Line &line)
{
    return unescapedKey(data.sliced(line.start, line.equals - line.start).trimmed());
}

}

QByteArray escapedKey(QStringView key)
{
    QByteArray result;
    result.reserve(key.size() * 3 / 2);
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == '/') {
            result += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
                   || c == '.') {
            result += char(c);
        } else if (c <= 0xFF) {
            result += '%';
            result += hexDigit(c >> 4);
            result += hexDigit(c);
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += hexDigit(c >> shift);
        }
    }
    return result;
}

QString unescapedKey(QByteArrayView key)
{
    const QString text = QString::fromUtf8(key);
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (c == u'%' && i + 1 < text.size()) {
            const bool wide = text[i + 1] == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            bool ok = false;
            const ushort code = first + digits <= text.size() ? QStringView(text).sliced(first, digits).toUShort(&ok, 16) : 0;
            if (ok) {
                result += QChar(code);
                i = first + digits;
                continue;
            }
        }
        result += c;
        ++i;
    }
    return result;
}

QByteArray escapedValue(QStringView value)
{
    // A text with a NUL character is marked as text, not bytes; a leading
    // "@" would otherwise mark a type.
    if (value.contains(QChar::Null))
        return escapedText(QString(QLatin1String("@String(") + value + u')'));
    if (value.startsWith(u'@'))
        return escapedText(QString(u'@' + value));
    return escapedText(value);
}

bool isDamaged(QByteArrayView file)
{
    LineReader reader(file);
    while (const std::optional<Line> line = reader.next()) {
        if (isSectionHeader(file, *line)) {
            bool closed = false;
            sectionName(file, *line, &closed);
            if (!closed)
                return true;
        } else if (line->equals < 0) {
            return true;
        }
    }
    return false;
}

QByteArray withValues(QByteArrayView file, const QList<Assignment> &assignments)
{
    const QByteArrayView eol = file.indexOf("\r\n") >= 0 ? QByteArrayView("\r\n") : QByteArrayView("\n");

    // One target per key, in the order the keys are first assigned.
    struct Target
    {
        QString section;
        QString key;
        qsizetype replaceFrom = -1, replaceTo = -1;  // the value QSettings reads for the key
        std::optional<QString> value = std::nullopt;
    };
    QList<Target> targets;
    QHash<std::pair<QString, QString>, qsizetype> targetOf;
    for (const Assignment &assignment : assignments) {
        const std::pair<QString, QString> name{assignment.section, assignment.key};
        if (!targetOf.contains(name)) {
            targetOf.insert(name, targets.size());
            // Filled in place: GCC 12 takes the copy of a temporary's empty
            // optional for a read of uninitialized memory in Release builds.
            Target &target = targets.emplace_back();
            target.section = assignment.section;
            target.key = assignment.key;
        }
    }
    QHash<QString, qsizetype> insertAt;  // per section: the end of the last line of its last block

    QString section;
    bool inWantedSection = false;
    LineReader reader(file);
    while (const std::optional<Line> line = reader.next()) {
        if (isSectionHeader(file, *line)) {
            section = sectionName(file, *line);
            inWantedSection = std::any_of(targets.cbegin(), targets.cend(), [&](const Target &target) { return target.section == section; });
        } else if (inWantedSection && line->equals >= 0) {
            if (const auto found = targetOf.constFind({section, keyOf(file, *line)}); found != targetOf.cend()) {
                // The value alone: the key stays as it was written.
                Target &target = targets[*found];
                target.replaceFrom = line->equals + 1;
                while (target.replaceFrom < line->end && isInlineBlank(file[target.replaceFrom]))
                    ++target.replaceFrom;
                target.replaceTo = line->end;
                while (target.replaceTo > target.replaceFrom && isInlineBlank(file[target.replaceTo - 1]))
                    --target.replaceTo;  // blanks before a comment stay with the comment
            }
        }
        if (inWantedSection) {
            qsizetype end = line->end;
            while (end < file.size() && !isLineEnd(file[end]))
                ++end;  // after a comment that ends the line
            insertAt[section] = end;
        }
    }

    // In the order given, as if each were written on its own: a kept value
    // gives way to one the file or an earlier assignment holds.
    for (const Assignment &assignment : assignments) {
        Target &target = targets[targetOf.value({assignment.section, assignment.key})];
        if (!assignment.keepStored || (target.replaceFrom < 0 && !target.value))
            target.value = assignment.value;
    }

    // The changes in the file's order; at one place a replaced value comes
    // before the lines added after it.
    struct Change
    {
        qsizetype from, to;
        QByteArray text;
        bool insertion = false;
    };
    QList<Change> changes;
    QList<std::pair<QString, QByteArray>> newSections;  // in the order of their first key
    for (const Target &target : std::as_const(targets)) {
        if (!target.value)
            continue;
        const QByteArray escaped = escapedValue(*target.value);
        const QByteArray entry = escapedKey(target.key) + '=' + escaped;
        if (target.replaceFrom >= 0) {
            changes.append({target.replaceFrom, target.replaceTo, escaped});
        } else if (const auto at = insertAt.constFind(target.section); at != insertAt.cend()) {
            changes.append({*at, *at, eol + entry, true});
        } else {
            const auto block = std::find_if(newSections.begin(), newSections.end(), [&](const auto &s) { return s.first == target.section; });
            if (block == newSections.end())
                newSections.append({target.section, entry + eol});
            else
                block->second += entry + eol;
        }
    }
    std::stable_sort(changes.begin(), changes.end(), [](const Change &a, const Change &b) {
        return a.from < b.from || (a.from == b.from && !a.insertion && b.insertion);
    });

    QByteArray result;
    result.reserve(file.size() + 64 * assignments.size());
    qsizetype done = 0;
    for (const Change &change : std::as_const(changes)) {
        result += file.sliced(done, change.from - done);
        result += change.text;
        done = change.to;
    }
    result += file.sliced(done);
    for (const auto &[name, entries] : std::as_const(newSections)) {
        if (!result.isEmpty() && !isLineEnd(result.back()))
            result += eol;
        if (!result.isEmpty())
            result += eol;
        result += '[' + escapedKey(name) + ']';
        result += eol;
        result += entries;
    }
    return result;
}

QByteArray withValue(QByteArrayView file, QStringView section, QStringView key, QStringView value)
{
    return withValues(file, {{section.toString(), key.toString(), value.toString()}});
}

}

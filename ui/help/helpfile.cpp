#include "ui/help/helpfile.h"

#include "engine/stringtable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>

namespace quantix {

namespace {

constexpr QLatin1StringView magic("QUANTIX96-HELP");
constexpr int formatVersion = 1;
constexpr int maximumContextDigits = 9;
constexpr int maximumControlNameLength = 100;

// The markup a topic may use: what the help window and the What's This
// pop-ups render, and nothing that loads files, runs scripts or styles.
const QSet<QString> &allowedTags()
{
    static const QSet<QString> tags{
        QStringLiteral("a"),     QStringLiteral("b"),     QStringLiteral("big"),   QStringLiteral("blockquote"),
        QStringLiteral("br"),    QStringLiteral("caption"), QStringLiteral("code"), QStringLiteral("dd"),
        QStringLiteral("div"),   QStringLiteral("dl"),    QStringLiteral("dt"),    QStringLiteral("em"),
        QStringLiteral("h1"),    QStringLiteral("h2"),    QStringLiteral("h3"),    QStringLiteral("h4"),
        QStringLiteral("hr"),    QStringLiteral("i"),     QStringLiteral("li"),    QStringLiteral("ol"),
        QStringLiteral("p"),     QStringLiteral("pre"),   QStringLiteral("small"), QStringLiteral("strong"),
        QStringLiteral("sub"),   QStringLiteral("sup"),   QStringLiteral("table"), QStringLiteral("tbody"),
        QStringLiteral("td"),    QStringLiteral("th"),    QStringLiteral("thead"), QStringLiteral("tr"),
        QStringLiteral("tt"),    QStringLiteral("u"),     QStringLiteral("ul")};
    return tags;
}

bool attributeAllowed(const QString &tag, const QString &attribute)
{
    static const QSet<QString> layout{
        QStringLiteral("align"),   QStringLiteral("valign"),      QStringLiteral("width"),
        QStringLiteral("border"),  QStringLiteral("cellpadding"), QStringLiteral("cellspacing"),
        QStringLiteral("colspan"), QStringLiteral("rowspan"),     QStringLiteral("nowrap")};
    if (tag == u"a")
        return attribute == u"href" || attribute == u"name";
    return layout.contains(attribute);
}

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

// A whole number of 1 to 9 digits, or -1.
int readContext(QStringView text)
{
    if (text.isEmpty() || text.size() > maximumContextDigits)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool isControlName(QStringView name)
{
    if (name.isEmpty() || name.size() > maximumControlNameLength || isAsciiDigit(name.front()))
        return false;
    for (QChar c : name) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'_')
            return false;
    }
    return true;
}

// A piece of the file quoted in a message, short enough for a message box.
QString excerpt(QStringView text)
{
    constexpr qsizetype longest = 40;
    return text.size() <= longest ? text.toString() : text.first(longest).toString() + u'…';
}

// Splits off the first blank-separated word of text.
QStringView nextWord(QStringView &text)
{
    text = text.trimmed();
    qsizetype end = 0;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    const QStringView word = text.first(end);
    text = text.sliced(end).trimmed();
    return word;
}

QString decodeEntity(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X') ? name.sliced(2).toUInt(&ok, 16)
                                                                                   : name.sliced(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
            const char32_t character = code;
            return QString::fromUcs4(&character, 1);
        }
        return QString();
    }
    if (name == u"amp")
        return QStringLiteral("&");
    if (name == u"lt")
        return QStringLiteral("<");
    if (name == u"gt")
        return QStringLiteral(">");
    if (name == u"quot")
        return QStringLiteral("\"");
    if (name == u"apos")
        return QStringLiteral("'");
    return QStringLiteral(" ");  // nbsp and the rest: a word boundary is all search needs
}

// The body without tags and entities, for searching: each tag becomes a
// blank so that table cells do not run together.
QString plainTextOf(const QString &body)
{
    QString text;
    text.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'<') {
            const qsizetype end = body.indexOf(u'>', i);
            i = end < 0 ? body.size() : end;
            text += u' ';
        } else if (c == u'&') {
            const qsizetype end = body.indexOf(u';', i);
            if (end < 0) {
                text += c;
                continue;
            }
            text += decodeEntity(QStringView(body).sliced(i + 1, end - i - 1));
            i = end;
        } else {
            text += c;
        }
    }
    return text.simplified();
}

}

// Reads the file line by line and stops at the first fault.
class HelpFileParser
{
public:
    HelpFileParser(HelpFile &file, const QString &path)
        : m_file(file)
        , m_path(path)
    {
    }

    void run(const QByteArray &data)
    {
        if (!readLines(data) || !finishTopic() || !checkWhole()) {
            // A damaged file offers nothing, so that no half-read topic is shown.
            m_file.m_topics.clear();
            m_file.m_byContext.clear();
            m_file.m_byControl.clear();
            m_file.m_contents = -1;
        }
    }

private:
    struct Link
    {
        int context;
        int line;
    };

    bool fail(int line, const QString &what)
    {
        m_file.m_error = str(1027)
                             .arg(QDir::toNativeSeparators(m_path), QString::number(line), what);
        return false;
    }

    qsizetype failAt(int line, const QString &what)
    {
        fail(line, what);
        return -1;
    }

    bool readLines(const QByteArray &data)
    {
        qsizetype start = 0;
        int lineNumber = 0;
        while (start < data.size() || lineNumber == 0) {
            qsizetype end = data.indexOf('\n', start);
            if (end < 0)
                end = data.size();
            QByteArrayView bytes = QByteArrayView(data).sliced(start, end - start);
            start = end + 1;
            ++lineNumber;
            if (bytes.endsWith('\r'))
                bytes.chop(1);
            QStringDecoder decoder(QStringDecoder::Utf8);
            const QString line = decoder.decode(bytes);
            if (decoder.hasError())
                return fail(lineNumber, QStringLiteral("the text is not UTF-8"));
            for (QChar c : line) {
                if (c.unicode() < 0x20 && c != u'\t')
                    return fail(lineNumber, QStringLiteral("the text contains a control character"));
            }
            if (!(lineNumber == 1 ? readHeader(line) : readLine(line, lineNumber)))
                return false;
        }
        return true;
    }

    bool readHeader(const QString &line)
    {
        QStringView rest(line);
        const QStringView firstWord = nextWord(rest);
        const QStringView version = nextWord(rest);
        if (firstWord != magic || !rest.isEmpty() || readContext(version) < 0)
            return fail(1, QStringLiteral("this is not a Quantix 96 help file"));
        if (readContext(version) != formatVersion)
            return fail(1, QStringLiteral("format version %1 is not one this program reads").arg(excerpt(version)));
        return true;
    }

    bool readLine(const QString &line, int lineNumber)
    {
        if (line.startsWith(u'#'))
            return true;
        if (line.startsWith(u'@'))
            return finishTopic() && startTopic(line, lineNumber);
        if (!m_current) {
            if (line.trimmed().isEmpty())
                return true;
            return fail(lineNumber, QStringLiteral("text before the first topic"));
        }
        m_bodyLines.append(line);
        m_bodyLineNumbers.append(lineNumber);
        return true;
    }

    bool startTopic(const QString &line, int lineNumber)
    {
        QStringView rest(line);
        const QStringView directive = nextWord(rest);
        if (directive != u"@topic")
            return fail(lineNumber, QStringLiteral("unknown heading \"%1\"").arg(excerpt(directive)));
        const QStringView number = nextWord(rest);
        const int context = readContext(number);
        if (context < 0)
            return fail(lineNumber, QStringLiteral("the topic number \"%1\" is not a whole number from 0 to 999999999").arg(excerpt(number)));
        if (const auto found = m_file.m_byContext.constFind(context); found != m_file.m_byContext.cend())
            return fail(lineNumber, QStringLiteral("topic number %1 is already used on line %2").arg(context).arg(m_file.m_topics[*found].line));

        HelpTopic topic;
        topic.context = context;
        topic.line = lineNumber;
        const QStringView kind = nextWord(rest);
        if (kind == u"contents") {
            if (m_file.m_contents >= 0)
                return fail(lineNumber, QStringLiteral("a second contents topic (the first is on line %1)").arg(m_file.m_topics[m_file.m_contents].line));
            topic.kind = TopicKind::Contents;
        } else if (kind == u"window") {
            topic.kind = TopicKind::Window;
        } else if (kind == u"popup") {
            topic.kind = TopicKind::Popup;
            const QStringView control = nextWord(rest);
            if (!isControlName(control))
                return fail(lineNumber, QStringLiteral("a popup topic needs the object name of its control"));
            topic.controlName = control.toString();
            if (const auto found = m_file.m_byControl.constFind(topic.controlName); found != m_file.m_byControl.cend())
                return fail(lineNumber, QStringLiteral("the control %1 already has a popup topic on line %2").arg(topic.controlName).arg(m_file.m_topics[*found].line));
        } else {
            return fail(lineNumber, QStringLiteral("the topic kind \"%1\" is not contents, window or popup").arg(excerpt(kind)));
        }
        topic.title = rest.toString();
        if (topic.title.isEmpty())
            return fail(lineNumber, QStringLiteral("topic %1 has no title").arg(context));

        const qsizetype index = m_file.m_topics.size();
        m_file.m_byContext.insert(context, index);
        if (topic.kind == TopicKind::Popup)
            m_file.m_byControl.insert(topic.controlName, index);
        if (topic.kind == TopicKind::Contents)
            m_file.m_contents = index;
        m_file.m_topics.append(std::move(topic));
        m_current = true;
        return true;
    }

    bool finishTopic()
    {
        if (!m_current)
            return true;
        m_current = false;
        HelpTopic &topic = m_file.m_topics.last();
        // Leading and trailing blank lines are not part of the text.
        while (!m_bodyLines.isEmpty() && m_bodyLines.constLast().trimmed().isEmpty())
            m_bodyLines.removeLast(), m_bodyLineNumbers.removeLast();
        while (!m_bodyLines.isEmpty() && m_bodyLines.constFirst().trimmed().isEmpty())
            m_bodyLines.removeFirst(), m_bodyLineNumbers.removeFirst();
        if (m_bodyLines.isEmpty())
            return fail(topic.line, QStringLiteral("topic %1 has no text").arg(topic.context));
        topic.body = m_bodyLines.join(u'\n');
        if (!checkMarkup(topic.body))
            return false;
        topic.plainText = plainTextOf(topic.body);
        m_bodyLines.clear();
        m_bodyLineNumbers.clear();
        return true;
    }

    // The file line of body[offset]; offsets only grow while one body is
    // checked, so counting resumes where it stopped.
    int lineAt(const QString &body, qsizetype offset)
    {
        m_scanLine += QStringView(body).sliced(m_scanOffset, offset - m_scanOffset).count(u'\n');
        m_scanOffset = offset;
        return m_bodyLineNumbers.value(m_scanLine, m_bodyLineNumbers.constLast());
    }

    bool checkMarkup(const QString &body)
    {
        m_scanOffset = 0;
        m_scanLine = 0;
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (body[i] == u'<') {
                const qsizetype end = checkTag(body, i);
                if (end < 0)
                    return false;
                i = end;
            } else if (body[i] == u'&' && !checkEntity(body, i)) {
                return false;
            }
        }
        return true;
    }

    bool checkEntity(const QString &body, qsizetype at)
    {
        qsizetype i = at + 1;
        if (i < body.size() && body[i] == u'#')
            ++i;
        const qsizetype nameStart = i;
        while (i < body.size() && (isAsciiLetter(body[i]) || isAsciiDigit(body[i])))
            ++i;
        if (i == nameStart || i >= body.size() || body[i] != u';')
            return fail(lineAt(body, at), QStringLiteral("an ampersand that does not start a character name"));
        return true;
    }

    // Checks the tag that starts at body[at]; the offset of its ">" or -1.
    qsizetype checkTag(const QString &body, qsizetype at)
    {
        const int line = lineAt(body, at);
        qsizetype i = at + 1;
        const bool closing = i < body.size() && body[i] == u'/';
        if (closing)
            ++i;
        if (i >= body.size() || !isAsciiLetter(body[i]))
            return failAt(line, QStringLiteral("a less-than sign that does not start a tag"));
        const qsizetype nameStart = i;
        while (i < body.size() && (isAsciiLetter(body[i]) || isAsciiDigit(body[i])))
            ++i;
        const QString tag = body.sliced(nameStart, i - nameStart).toLower();
        if (!allowedTags().contains(tag))
            return failAt(line, QStringLiteral("the tag \"%1\" is not allowed in help text").arg(excerpt(tag)));
        for (;;) {
            while (i < body.size() && isBlank(body[i]))
                ++i;
            if (i >= body.size())
                return failAt(line, QStringLiteral("the tag \"%1\" is not closed").arg(tag));
            if (body[i] == u'>')
                return i;
            if (body[i] == u'/' && i + 1 < body.size() && body[i + 1] == u'>')
                return i + 1;
            if (closing)
                return failAt(line, QStringLiteral("the closing tag \"%1\" has attributes").arg(tag));
            i = checkAttribute(body, i, tag, line);
            if (i < 0)
                return -1;
        }
    }

    // Checks the attribute at body[at] of tag; the offset after it or -1.
    qsizetype checkAttribute(const QString &body, qsizetype at, const QString &tag, int line)
    {
        qsizetype i = at;
        while (i < body.size() && (isAsciiLetter(body[i]) || body[i] == u'-'))
            ++i;
        if (i == at)
            return failAt(line, QStringLiteral("the tag \"%1\" is malformed").arg(tag));
        const QString attribute = body.sliced(at, i - at).toLower();
        if (!attributeAllowed(tag, attribute))
            return failAt(line, QStringLiteral("the attribute \"%1\" is not allowed in the tag \"%2\"").arg(excerpt(attribute), tag));
        while (i < body.size() && isBlank(body[i]))
            ++i;
        if (i >= body.size() || body[i] != u'=')
            return i;
        ++i;
        while (i < body.size() && isBlank(body[i]))
            ++i;
        QString value;
        if (i < body.size() && (body[i] == u'"' || body[i] == u'\'')) {
            const qsizetype close = body.indexOf(body[i], i + 1);
            if (close < 0)
                return failAt(line, QStringLiteral("the value of \"%1\" in the tag \"%2\" is not closed").arg(attribute, tag));
            value = body.sliced(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const qsizetype valueStart = i;
            while (i < body.size() && !isBlank(body[i]) && body[i] != u'>')
                ++i;
            value = body.sliced(valueStart, i - valueStart);
        }
        if (attribute == u"href") {
            const int context = value.startsWith(QLatin1String("topic:")) ? readContext(QStringView(value).sliced(6)) : -1;
            if (context < 0)
                return failAt(line, QStringLiteral("the link \"%1\" does not name a topic (write topic:N)").arg(excerpt(value)));
            m_links.append({context, line});
        }
        return i;
    }

    bool checkWhole()
    {
        if (m_file.m_contents < 0)
            return fail(1, QStringLiteral("there is no contents topic"));
        for (const Link &link : std::as_const(m_links)) {
            if (!m_file.m_byContext.contains(link.context))
                return fail(link.line, QStringLiteral("a link to topic %1, which the file does not have").arg(link.context));
        }
        return true;
    }

    HelpFile &m_file;
    QString m_path;
    bool m_current = false;
    QStringList m_bodyLines;
    QList<int> m_bodyLineNumbers;
    QList<Link> m_links;
    qsizetype m_scanOffset = 0;
    qsizetype m_scanLine = 0;
};

HelpFile HelpFile::load(const QString &path)
{
    HelpFile file;
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        file.m_error = str(1024).arg(shownPath);
        return file;
    }
    QFile source(path);
    QByteArray data;
    if (source.open(QIODevice::ReadOnly))
        data = source.read(maximumSize + 1);
    if (source.error() != QFileDevice::NoError) {
        file.m_error = str(1025).arg(shownPath, source.errorString());
        return file;
    }
    if (data.size() > maximumSize) {
        file.m_error = str(1026).arg(shownPath).arg(maximumSize / (1024 * 1024));
        return file;
    }
    return parse(data, path);
}

HelpFile HelpFile::parse(const QByteArray &data, const QString &path)
{
    HelpFile file;
    HelpFileParser(file, path).run(data);
    return file;
}

const HelpTopic *HelpFile::topic(int context) const
{
    const auto found = m_byContext.constFind(context);
    return found == m_byContext.cend() ? nullptr : &m_topics[*found];
}

const HelpTopic *HelpFile::popupFor(QStringView controlName) const
{
    const auto found = m_byControl.constFind(controlName.toString());
    return found == m_byControl.cend() ? nullptr : &m_topics[*found];
}

const HelpTopic *HelpFile::contents() const
{
    return m_contents < 0 ? nullptr : &m_topics[m_contents];
}

QList<const HelpTopic *> HelpFile::search(QStringView query) const
{
    const QString simplified = query.toString().simplified();
    const QList<QStringView> words = QStringView(simplified).split(u' ', Qt::SkipEmptyParts);
    QList<const HelpTopic *> found;
    if (words.isEmpty())
        return found;
    for (const HelpTopic &topic : m_topics) {
        const auto contains = [&topic](QStringView word) {
            return topic.title.contains(word, Qt::CaseInsensitive) || topic.plainText.contains(word, Qt::CaseInsensitive);
        };
        if (std::all_of(words.cbegin(), words.cend(), contains))
            found.append(&topic);
    }
    return found;
}

QString locateHelpFile(const QString &programDir)
{
    const QString name = QStringLiteral("Quantix 96.hlp");
    const QDir program(programDir);
    const QString installed = QDir::cleanPath(program.filePath(QStringLiteral(QUANTIX_DATA_FROM_BIN "/") + name));
    for (const QString &candidate : {program.filePath(name), installed}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    const QString shared = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral(QUANTIX_DATA_NAME "/") + name);
    return shared.isEmpty() ? installed : shared;
}

QString helpFilePath()
{
    return locateHelpFile(QCoreApplication::applicationDirPath());
}

}

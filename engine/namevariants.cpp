#include "engine/namevariants.h"

#include <QFile>
#include <QHash>

#include <optional>

// The resource lives in a static library; it must be registered by hand.
static void initNameResource() { Q_INIT_RESOURCE(names); }

namespace quantix {

namespace {

QByteArray resource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A data line: its texts in double quotes and what follows the last one.
// Nothing when the quotes do not pair up or anything but blanks stands
// before or between the texts.
struct QuotedLine
{
    QStringList texts;
    QByteArray rest;
};

std::optional<QuotedLine> readQuoted(const QByteArray &line)
{
    const QList<QByteArray> parts = line.split('"');
    if (parts.size() < 3 || parts.size() % 2 == 0)
        return std::nullopt;
    QuotedLine read;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (i % 2 == 1)
            read.texts << QString::fromUtf8(parts[i]);
        else if (!parts[i].trimmed().isEmpty())
            return std::nullopt;
    }
    read.rest = parts.last().trimmed();
    return read;
}

// The lines of a data file that hold data: no blank lines, no comments.
QList<QByteArray> dataLines(const QByteArray &data)
{
    QList<QByteArray> lines;
    for (const QByteArray &rawLine : data.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.isEmpty() && !line.startsWith('#'))
            lines << line;
    }
    return lines;
}

}

const NameVariants &NameVariants::instance()
{
    static const NameVariants variants = [] {
        initNameResource();
        return parse(resource(QStringLiteral(":/aliases.txt")), resource(QStringLiteral(":/spellings.txt")));
    }();
    return variants;
}

NameVariants NameVariants::parse(const QByteArray &aliases, const QByteArray &spellings)
{
    NameVariants variants;
    for (const QByteArray &line : dataLines(aliases)) {
        const std::optional<QuotedLine> read = readQuoted(line);
        bool ok = false;
        const int id = read ? read->rest.toInt(&ok) : 0;
        if (ok && read->texts.size() == 1 && !read->texts.first().trimmed().isEmpty())
            variants.m_aliases.append({read->texts.first(), id});
    }
    for (const QByteArray &line : dataLines(spellings)) {
        const std::optional<QuotedLine> read = readQuoted(line);
        if (!read || read->texts.size() < 2 || !read->rest.isEmpty())
            continue;
        QStringList words;
        for (const QString &word : read->texts)
            words << word.trimmed().toCaseFolded();
        if (!words.contains(QString()))
            variants.m_spellings << words;
    }
    return variants;
}

QStringList NameVariants::aliasesOf(int unitId) const
{
    QStringList texts;
    for (const Alias &alias : m_aliases) {
        if (alias.unitId == unitId)
            texts << alias.text;
    }
    return texts;
}

QString NameVariants::respelt(QString folded) const
{
    for (const QStringList &words : m_spellings) {
        for (qsizetype i = 1; i < words.size(); ++i)
            folded.replace(words[i], words.first());
    }
    return folded;
}

QList<QStringList> unitAliases(const Quantity &quantity, const QStringList &unitNames)
{
    QHash<QString, int> ids;
    for (int j = 1; j <= quantity.builtInCount(); ++j)
        ids.insert(Catalogue::unitName(quantity, j), quantity.unitId(j));
    QList<QStringList> aliases;
    aliases.reserve(unitNames.size());
    for (const QString &name : unitNames) {
        const auto id = ids.constFind(name);
        aliases << (id == ids.constEnd() ? QStringList() : NameVariants::instance().aliasesOf(*id));
    }
    return aliases;
}

}

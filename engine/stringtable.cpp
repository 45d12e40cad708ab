#include "engine/stringtable.h"

#include <QFile>

// The resource lives in a static library; it must be registered by hand.
static void initStringResource() { Q_INIT_RESOURCE(strings); }

namespace quantix {

const StringTable &StringTable::instance()
{
    static const StringTable table = [] {
        initStringResource();
        QFile file(QStringLiteral(":/strings.txt"));
        file.open(QIODevice::ReadOnly);
        return parse(file.readAll());
    }();
    return table;
}

StringTable StringTable::parse(const QByteArray &data)
{
    StringTable table;
    for (const QByteArray &rawLine : data.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype open = line.indexOf('"');
        const qsizetype close = line.lastIndexOf('"');
        if (open < 0 || close <= open)
            continue;
        bool ok = false;
        const int id = line.left(open).trimmed().toInt(&ok);
        if (ok)
            table.m_texts.insert(id, QString::fromUtf8(line.mid(open + 1, close - open - 1)));
    }
    return table;
}

}

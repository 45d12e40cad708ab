#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace quantix {

// The numbered texts of the program: menus, captions, messages and the names
// of quantities and units. Every text the program shows or compares is
// fetched from here by its ID.
class StringTable
{
public:
    // The table that ships with the program, loaded once from the resources.
    static const StringTable &instance();

    // Parses the data file format: "ID "text"" per line, '#' starts a comment
    // line. Everything between the first and the last double quote is the text.
    static StringTable parse(const QByteArray &data);

    // The text at id; empty when the table has no such entry.
    QString text(int id) const { return m_texts.value(id); }
    bool contains(int id) const { return m_texts.contains(id); }
    qsizetype size() const { return m_texts.size(); }

private:
    QHash<int, QString> m_texts;
};

// Shorthand for StringTable::instance().text(id).
inline QString str(int id) { return StringTable::instance().text(id); }

}

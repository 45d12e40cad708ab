#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

namespace quantix {

// One recorded conversion: the five texts shown at the moment of recording,
// copied verbatim.
struct ConversionRecord
{
    QString quantity;
    QString initialUnit;
    QString finalUnit;
    QString initialValue;
    QString result;

    // "3. (Area)  2 hectare (ha)  =  20000 square metre (m²)"
    QString line(int number) const;
};

// The conversion records of this run, numbered 1 to N, and the flags that
// say whether they exist, are saved, and whether the records window should
// open its save dialog when it is next activated. They outlive the records
// window, which only shows them.
class ConversionRecords
{
public:
    int count() const { return int(m_records.size()); }
    const ConversionRecord &at(int number) const { return m_records.at(number - 1); }  // 1 to count()

    // Appends a record; returns its number.
    int append(const ConversionRecord &record);
    void clear() { m_records.clear(); }

    // The records text: "Quantix 96 - Conversion Records", nine blanks, the
    // long time and the long date of `now`, then an empty line and one line
    // per record, CR LF between lines and none at the end.
    QString text(const QDateTime &now, const QLocale &locale = QLocale()) const;

    bool exist = false;            // records-exist flag
    bool saved = false;            // records-saved flag
    bool openSaveRequest = false;  // open the save dialog at the records window's next activation
    QString lastSavedFile;         // the name of the last successful Save As, which Save rewrites

private:
    QList<ConversionRecord> m_records;
};

}

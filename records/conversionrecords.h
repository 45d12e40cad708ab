#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QObject>
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
// say whether they are saved and whether the records window should open its
// save dialog when it is next activated. They outlive the records window,
// which only shows them; menus and panels that count them follow
// countChanged().
class ConversionRecords : public QObject
{
    Q_OBJECT

public:
    int count() const { return int(m_records.size()); }
    bool exist() const { return !m_records.isEmpty(); }
    const ConversionRecord &at(int number) const { return m_records.at(number - 1); }  // 1 to count()

    // Appends a record, which leaves the records unsaved; returns its number.
    int append(const ConversionRecord &record);
    // Deletes every record. The saved flag, the save request and the file
    // saved last stay as they are.
    void purge();

    // The records text: the header, then an empty line and one line per
    // record, CR LF between lines and none at the end.
    QString text(const QDateTime &now, const QLocale &locale = QLocale()) const;
    // Its first line: "Quantix 96 - Conversion Records", nine blanks, the
    // long time and the long date of `now`.
    static QString header(const QDateTime &now, const QLocale &locale = QLocale());

    bool saved() const { return m_saved; }
    void setSaved(bool saved) { m_saved = saved; }
    // Open the save dialog at the records window's next activation.
    bool openSaveRequest() const { return m_openSaveRequest; }
    void setOpenSaveRequest(bool request) { m_openSaveRequest = request; }
    // The name of the last successful Save As, which Save rewrites.
    const QString &lastSavedFile() const { return m_lastSavedFile; }
    // A successful Save As: the records are saved and no request is left.
    void savedAs(const QString &fileName);

signals:
    void added(int number);
    void countChanged(int count);

private:
    QList<ConversionRecord> m_records;
    bool m_saved = false;
    bool m_openSaveRequest = false;
    QString m_lastSavedFile;
};

}

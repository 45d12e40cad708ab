#include "records/conversionrecords.h"

#include "engine/stringtable.h"

namespace quantix {

namespace {

const QLatin1String crlf("\r\n");

}

QString ConversionRecord::line(int number) const
{
    return QString::number(number) + QLatin1String(". (") + quantity + QLatin1String(")  ") + initialValue + u' '
        + initialUnit + QLatin1String("  =  ") + result + u' ' + finalUnit;
}

int ConversionRecords::append(const ConversionRecord &record)
{
    m_records.append(record);
    m_saved = false;
    emit added(count());
    emit countChanged(count());
    return count();
}

void ConversionRecords::purge()
{
    m_records.clear();
    emit countChanged(0);
}

void ConversionRecords::savedAs(const QString &fileName)
{
    m_lastSavedFile = fileName;
    m_saved = true;
    m_openSaveRequest = false;
}

QString ConversionRecords::header(const QDateTime &now, const QLocale &locale)
{
    return QLatin1String("Quantix 96 - ") + str(350) + QString(9, u' ') + locale.toString(now.time(), QLocale::LongFormat)
        + QLatin1String("  ") + locale.toString(now.date(), QLocale::LongFormat);
}

QString ConversionRecords::text(const QDateTime &now, const QLocale &locale) const
{
    QString text = header(now, locale) + crlf;
    qsizetype size = text.size();
    for (int i = 0; i < m_records.size(); ++i)
        size += m_records[i].quantity.size() + m_records[i].initialUnit.size() + m_records[i].finalUnit.size() + 64;
    text.reserve(size);
    for (int i = 0; i < m_records.size(); ++i)
        text += crlf + m_records[i].line(i + 1);
    return text;
}

}

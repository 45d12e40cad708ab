#include "settingsstore.h"

#include <QSettings>
#include <QStringList>

namespace quantix {

namespace {

// QSettings turns "/" into nested groups and treats "\" as a separator too;
// display names such as "metre per second squared (m/s²)" must stay one flat
// key. Escaping "%" as well keeps the mapping reversible.
QString flatKey(const QString &key)
{
    QString escaped;
    escaped.reserve(key.size());
    for (const QChar c : key) {
        switch (c.unicode()) {
        case u'%': escaped += QLatin1String("%25"); break;
        case u'/': escaped += QLatin1String("%2F"); break;
        case u'\\': escaped += QLatin1String("%5C"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

QString storedKey(const QString &section, const QString &key)
{
    return flatKey(section) + QLatin1Char('/') + flatKey(key);
}

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, applicationName);
}

// A hand-edited INI value with an unquoted comma reads back as a list; the
// user meant the text as written.
QString textOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

}

QString ReadSetting(const QString &section, const QString &key, const QString &defaultText)
{
    const QVariant value = store().value(storedKey(section, key));
    return (value.isValid() ? textOf(value) : defaultText).trimmed();
}

bool WriteSetting(const QString &section, const QString &key, const QString &value)
{
    QSettings settings = store();
    settings.setValue(storedKey(section, key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

int LoadDecimalPlaces()
{
    const std::optional<int> places = toWholeNumber(ReadSetting(section::settings, QStringLiteral("numericformatting"), QStringLiteral("3")));
    return places && *places >= 0 && *places <= 8 ? *places : 3;
}

std::optional<bool> toBoolean(QStringView text)
{
    text = text.trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0;
}

std::optional<int> toWholeNumber(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'+'))
        text = text.mid(1);
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (!ok || text.startsWith(u'+') || text.contains(u' '))
        return std::nullopt;
    return number;
}

QString settingsLocation()
{
    return store().fileName();
}

}

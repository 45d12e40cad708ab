#include "support/storesnapshot.h"

#include "settings/settingsstore.h"

#include <QSettings>

namespace quantix::testing {

Store storeContents()
{
    QSettings raw(settingsLocation(), QSettings::IniFormat);
    Store store;
    for (const QString &key : raw.allKeys()) {
        QString plain = key;
        plain.replace(QLatin1String("%2F"), QLatin1String("/")).replace(QLatin1String("%5C"), QLatin1String("\\"));
        store.insert(plain.replace(QLatin1String("%25"), QLatin1String("%")), raw.value(key).toString());
    }
    return store;
}

QStringList changedKeys(const Store &before, const Store &after)
{
    QStringList keys;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.value(it.key(), QStringLiteral("\x01")) != it.value())
            keys << it.key();
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            keys << it.key();
    }
    keys.sort();
    return keys;
}

}

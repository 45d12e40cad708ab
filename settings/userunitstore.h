#pragma once

#include "settings/settingsstore.h"

#include <QString>

#include <optional>

namespace quantix {

// The user-defined units of section "userunits": for a quantity Q, the count
// under Q + "number" and, for positions n = 1 to 10, the name under Q + n, the
// factor text under Q + "factor" + n and the offered flag under Q + "used" + n.
class UserUnitStore
{
public:
    static constexpr int maxUnits = 10;
    // The longest name the new-unit dialog takes. A longer one (a
    // hand-edited store) is read cut to this length, so that the lists, the
    // conversion and the records all see the same short name; the store
    // keeps what it holds.
    static constexpr int maxNameLength = 60;

    virtual ~UserUnitStore() = default;

    // Reads one key of section "userunits" through ReadSetting.
    virtual QString read(const QString &key, const QString &defaultText) const;
    // Makes the writes one change of the store (applySettings).
    virtual std::optional<FileFailure> write(const SettingWrites &writes) const;
    // One key of section "userunits" as a change of its own; false when it failed.
    bool write(const QString &key, const QString &value) const { return !write({entry(key, value)}); }

    // The write of one key of section "userunits".
    static SettingWrite entry(const QString &key, const QString &value) { return {section::userunits, key, value}; }

    // The name at a position, cut to maxNameLength (and trimmed again).
    QString name(const QString &quantity, int position, const QString &defaultText) const;

    static QString countKey(const QString &quantity) { return quantity + QLatin1String("number"); }
    static QString nameKey(const QString &quantity, int position) { return quantity + QString::number(position); }
    static QString factorKey(const QString &quantity, int position)
    {
        return quantity + QLatin1String("factor") + QString::number(position);
    }
    static QString usedKey(const QString &quantity, int position)
    {
        return quantity + QLatin1String("used") + QString::number(position);
    }

    // The stored count as a whole number; empty when the text is not one.
    std::optional<int> count(const QString &quantity) const;

    // The positions a reader looks at: 1 to the stored count, which is never
    // above 10 when the program wrote it and is taken as 10 when it is (a
    // hand-edited count must not stall a reader); none below 1. Empty when
    // the count is not a whole number.
    std::optional<int> positions(const QString &quantity) const;
};

}

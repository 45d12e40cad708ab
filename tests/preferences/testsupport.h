#pragma once

// Shared by the preferences and new-unit tests: the whole settings store as
// a map, message boxes answered and recorded, scripted common dialogs.

#include "commondialogs.h"
#include "messages.h"
#include "settingsstore.h"

#include <QMap>
#include <QSettings>
#include <QStringList>

namespace testsupport {

// "section/key" → value, keys as the program names them.
using Store = QMap<QString, QString>;

inline Store storeContents()
{
    QSettings raw(quantix::settingsLocation(), QSettings::IniFormat);
    Store store;
    for (const QString &key : raw.allKeys()) {
        QString plain = key;
        plain.replace(QLatin1String("%2F"), QLatin1String("/")).replace(QLatin1String("%5C"), QLatin1String("\\"));
        store.insert(plain.replace(QLatin1String("%25"), QLatin1String("%")), raw.value(key).toString());
    }
    return store;
}

// Keys added, changed or removed between two snapshots, sorted.
inline QStringList changedKeys(const Store &before, const Store &after)
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

// Answers every message box with OK and keeps what it showed.
inline void recordMessages(QList<quantix::MessageSpec> &shown)
{
    quantix::Messages::setHandler([&shown](QWidget *, const quantix::MessageSpec &message) {
        shown << message;
        return QMessageBox::Ok;
    });
}

// Common dialogs that answer as the test says (nullopt: the user cancelled)
// and remember what they were asked.
class ScriptedDialogs : public quantix::CommonDialogs
{
public:
    std::optional<QString> chosenProgram;
    std::optional<quantix::ChosenFont> chosenFont;
    QString programTitle, programFilter;
    quantix::ChosenFont initialFont;

    std::optional<QString> openProgramFile(QWidget *, const QString &title, const QString &filter) override
    {
        programTitle = title;
        programFilter = filter;
        return chosenProgram;
    }
    std::optional<QString> saveFileName(QWidget *, const QString &, const QString &) override { return std::nullopt; }
    std::optional<quantix::ChosenFont> font(QWidget *, const quantix::ChosenFont &initial) override
    {
        initialFont = initial;
        return chosenFont;
    }
    bool print(QWidget *, QPrinter &) override { return false; }
};

}

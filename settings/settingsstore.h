#pragma once

#include "settings/wholefile.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace quantix {

// Section names of the settings store.
namespace section {
inline const QString settings = QStringLiteral("settings");
inline const QString units = QStringLiteral("units");
inline const QString userunits = QStringLiteral("userunits");
}

// The application name under which every setting lives.
inline const QString applicationName = QStringLiteral("Quantix96");

// One key to write and its value. A value the user did not change
// (keepStored) gives way to what the store holds when the write is made, so
// that a choice another copy of the program stored meanwhile stays; it is
// written only where the store holds nothing for the key.
struct SettingWrite
{
    QString section;
    QString key;
    QString value;
    bool keepStored = false;

    SettingWrite keepingStored(bool keep) const
    {
        SettingWrite write = *this;
        write.keepStored = keep;
        return write;
    }

    friend bool operator==(const SettingWrite &, const SettingWrite &) = default;
};

using SettingWrites = QList<SettingWrite>;

// Returns the stored text of (section, key), or defaultText when the key is
// absent or the file cannot be used, with leading and trailing blanks
// removed. A read never writes.
QString ReadSetting(const QString &section, const QString &key, const QString &defaultText);

// Whether the store holds (section, key) at all.
bool isSettingStored(const QString &section, const QString &key);

// Stores value under (section, key) as a change of its own (applySettings).
// Returns false when the store could not be written.
bool WriteSetting(const QString &section, const QString &key, const QString &value);

// How long a write waits for another program's lock on the store.
constexpr int settingsLockTimeoutMs = 5000;

// Makes the writes one change of the store: under its lock, from one read of
// the file, by one replacement of the file that changes the lines of these
// keys only. Whatever happens to the program or the system meanwhile, the
// file then holds all of them or none, and another copy of the program
// never sees half of them. The lock is waited for settingsLockTimeoutMs. An
// empty list, or one that changes nothing, leaves the file untouched.
std::optional<FileFailure> applySettings(const SettingWrites &writes);

// A larger settings file is taken as damaged: it is kept as it is and the
// defaults are used.
constexpr qint64 maxSettingsFileSize = 16 * 1024 * 1024;

// Why the settings file cannot be used at all, when it cannot: something
// other than a regular file in its place (a FIFO, a device), a file larger
// than maxSettingsFileSize, or one that cannot be read. Reads then give the
// defaults and writes fail, leaving the file as it is.
std::optional<FileFailure> settingsFileProblem();

// While one lives, every read comes from the same version of the store,
// even when another copy of the program changes it meanwhile: keys read
// together (a unit's name and its factor) belong together.
class SettingsSnapshot
{
public:
    SettingsSnapshot();
    ~SettingsSnapshot();
    SettingsSnapshot(const SettingsSnapshot &) = delete;
    SettingsSnapshot &operator=(const SettingsSnapshot &) = delete;
};

// Text-to-value conversions of stored texts. An empty optional means the
// text does not convert, and the caller keeps its previous value.
std::optional<bool> toBoolean(QStringView text);     // true/false in any case, or a number (0 = false)
std::optional<int> toWholeNumber(QStringView text);  // optional sign and decimal digits, 32-bit range

// Where the store lives on this machine (a file on Linux, a registry path on Windows).
QString settingsLocation();

// Told once a run, when a write finds the store with lines it cannot read
// and has kept a copy of the file beside it (the copy's path is given). The
// write itself keeps those lines too.
void setDamagedSettingsNotice(std::function<void(const QString &copy)> notice);

}

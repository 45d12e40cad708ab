#pragma once

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

// How long a write waits for another program's lock on the store.
constexpr int settingsLockTimeoutMs = 5000;

// Returns the stored text of (section, key), or defaultText when the key is
// absent, with leading and trailing blanks removed. A read never writes.
QString ReadSetting(const QString &section, const QString &key, const QString &defaultText);

// Stores value under (section, key), changing only that key's line of the
// file. Returns false when the store could not be written (for example a
// read-only settings folder, or a file that cannot be read).
bool WriteSetting(const QString &section, const QString &key, const QString &value);

// The decimal places of the displayed result: `numericformatting` as a whole
// number 0 to 8; anything else (out of range, not a number) gives 3.
int LoadDecimalPlaces();

// Text-to-value conversions of stored texts. An empty optional means the
// text does not convert, and the caller keeps its previous value.
std::optional<bool> toBoolean(QStringView text);     // true/false in any case, or a number (0 = false)
std::optional<int> toWholeNumber(QStringView text);  // optional sign and decimal digits, 32-bit range

// The words the store holds for booleans: "true"/"false" for the options,
// "True"/"False" for the font style keys.
inline QString booleanWord(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
inline QString fontBooleanWord(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// Where the store lives on this machine (a file on Linux, a registry path on Windows).
QString settingsLocation();

// Told once a run, when a write finds the store with lines it cannot read
// and has kept a copy of the file beside it (the copy's path is given). The
// write itself keeps those lines too.
void setDamagedSettingsNotice(std::function<void(const QString &copy)> notice);

}

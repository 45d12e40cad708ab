#pragma once

#include "settings/settingsstore.h"

#include <QString>

#include <optional>

namespace quantix {

// How the values of a key are written.
enum class TextForm
{
    Text,
    WholeNumber,  // decimal, with a sign when negative
    Word,         // "true" or "false"
    CapitalWord,  // "True" or "False", as the font's style keys have them
    Flag,         // "1" or "0"
};

// A key of the store with its default and the form of its values. Each is
// declared once, below; windows and the command-line converter read and
// write through these and never spell a key.
struct SettingKey
{
    QString section;
    QString key;
    QString defaultText;
    TextForm form = TextForm::Text;

    // The stored text or the default, trimmed.
    QString read() const { return ReadSetting(section, key, defaultText); }
    // Empty when the text does not convert: the caller keeps its value.
    std::optional<bool> readBoolean() const { return toBoolean(read()); }
    std::optional<int> readWholeNumber() const { return toWholeNumber(read()); }
    bool isStored() const { return isSettingStored(section, key); }
    // A flag reads as on only when it is "1".
    bool isOn() const { return read() == QLatin1String("1"); }

    // The write of a value in the key's form.
    SettingWrite write(const QString &text) const { return {section, key, text}; }
    SettingWrite write(bool value) const;
    SettingWrite write(int value) const { return {section, key, QString::number(value)}; }
    SettingWrite write(const char *) const = delete;  // a literal would be taken as a bool
};

namespace setting {

inline const SettingKey confirm{section::settings, QStringLiteral("confirm"), QStringLiteral("true"), TextForm::Word};
inline const SettingKey scientific{section::settings, QStringLiteral("scientific"), QStringLiteral("false"), TextForm::Word};
inline const SettingKey numericformatting{section::settings, QStringLiteral("numericformatting"), QStringLiteral("3"),
                                          TextForm::WholeNumber};
// The styles beyond the first versions' two, beside `scientific`, which they
// refine: significant digits where it is false, engineering where it is true.
inline const SettingKey significant{section::settings, QStringLiteral("significant"), QStringLiteral("false"), TextForm::Word};
inline const SettingKey significantdigits{section::settings, QStringLiteral("significantdigits"), QStringLiteral("6"),
                                          TextForm::WholeNumber};
inline const SettingKey engineering{section::settings, QStringLiteral("engineering"), QStringLiteral("false"), TextForm::Word};
inline const SettingKey grouping{section::settings, QStringLiteral("grouping"), QStringLiteral("false"), TextForm::Word};
inline const SettingKey leadingzero{section::settings, QStringLiteral("leadingzero"), QStringLiteral("false"), TextForm::Word};
// Inches rounded to 1/2 to 1/64 inch; 0 shows their decimals.
inline const SettingKey inchfraction{section::settings, QStringLiteral("inchfraction"), QStringLiteral("0"), TextForm::WholeNumber};
// Until one is stored, the first desktop calculator found (ReadShellProgram).
inline const SettingKey shellprog{section::settings, QStringLiteral("shellprog"), QStringLiteral("calc.exe")};
inline const SettingKey save{section::settings, QStringLiteral("save"), QStringLiteral("1"), TextForm::Flag};
inline const SettingKey top{section::settings, QStringLiteral("top"), QStringLiteral("200"), TextForm::WholeNumber};
inline const SettingKey left{section::settings, QStringLiteral("left"), QStringLiteral("200"), TextForm::WholeNumber};

inline const SettingKey fontname{section::settings, QStringLiteral("fontname"), QStringLiteral("Arial")};
inline const SettingKey fontsize{section::settings, QStringLiteral("fontsize"), QStringLiteral("12")};
inline const SettingKey fontunderline{section::settings, QStringLiteral("fontunderline"), QStringLiteral("false"),
                                      TextForm::CapitalWord};
inline const SettingKey fontbold{section::settings, QStringLiteral("fontbold"), QStringLiteral("false"), TextForm::CapitalWord};
inline const SettingKey fontitalic{section::settings, QStringLiteral("fontitalic"), QStringLiteral("false"), TextForm::CapitalWord};
inline const SettingKey fontcolour{section::settings, QStringLiteral("fontcolour"), QStringLiteral("0"), TextForm::WholeNumber};

inline const SettingKey tab{section::settings, QStringLiteral("Tab"), QStringLiteral("4"), TextForm::WholeNumber};
inline const SettingKey quantityListIndex{section::settings, QStringLiteral("QuantityListIndex"), QStringLiteral("0"),
                                          TextForm::WholeNumber};

inline const SettingKey convRecordsLeft{section::settings, QStringLiteral("ConvRecordsLeft"), QStringLiteral("300"),
                                        TextForm::WholeNumber};
inline const SettingKey convRecordsTop{section::settings, QStringLiteral("ConvRecordsTop"), QStringLiteral("300"),
                                       TextForm::WholeNumber};
inline const SettingKey convRecordsWidth{section::settings, QStringLiteral("ConvRecordsWidth"), QStringLiteral("7575"),
                                         TextForm::WholeNumber};
inline const SettingKey convRecordsHeight{section::settings, QStringLiteral("ConvRecordsHeight"), QStringLiteral("3840"),
                                          TextForm::WholeNumber};

// Whether a quantity or a catalogue unit is offered, by its display name. A
// quantity and a unit of the same name share the key.
inline SettingKey offered(const QString &name)
{
    return {section::units, name, QStringLiteral("1"), TextForm::Flag};
}

}

// The decimal places of the displayed result: `numericformatting` as a whole
// number 0 to 8; anything else (out of range, not a number) gives 3.
int LoadDecimalPlaces();

}

#include "settings/settingkeys.h"

namespace quantix {

SettingWrite SettingKey::write(bool value) const
{
    switch (form) {
    case TextForm::CapitalWord: return {section, key, value ? QStringLiteral("True") : QStringLiteral("False")};
    case TextForm::Flag: return {section, key, value ? QStringLiteral("1") : QStringLiteral("0")};
    default: return {section, key, value ? QStringLiteral("true") : QStringLiteral("false")};
    }
}

int LoadDecimalPlaces()
{
    const std::optional<int> places = setting::numericformatting.readWholeNumber();
    return places && *places >= 0 && *places <= 8 ? *places : 3;
}

}

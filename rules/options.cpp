#include "rules/options.h"

#include "engine/compoundunits.h"
#include "settings/settingkeys.h"

namespace quantix {

void Options::setNumberStyle(NumberStyle style)
{
    if (style.decimals < 0 || style.decimals > 8)
        style.decimals = 3;
    if (style.significantDigits < 1 || style.significantDigits > 15)
        style.significantDigits = NumberStyle().significantDigits;
    if (style.inchFraction != 0 && !isInchFraction(style.inchFraction))
        style.inchFraction = 0;
    if (style == m_numberStyle)
        return;
    m_numberStyle = style;
    emit numberStyleChanged();
}

NumberStyle storedNumberStyle(const NumberStyle &current)
{
    // An absent key keeps the run's choice, as one that does not read does.
    const auto read = [](const SettingKey &key, bool current) { return key.isStored() ? key.readBoolean().value_or(current) : current; };
    const SettingsSnapshot snapshot;
    NumberStyle style = current;
    style.decimals = LoadDecimalPlaces();
    style.scientific = read(setting::scientific, current.scientific);
    style.significant = read(setting::significant, current.significant);
    style.engineering = read(setting::engineering, current.engineering);
    style.grouping = read(setting::grouping, current.grouping);
    style.leadingZero = read(setting::leadingzero, current.leadingZero);
    const std::optional<int> digits = setting::significantdigits.isStored() ? setting::significantdigits.readWholeNumber() : std::nullopt;
    if (digits && *digits >= 1 && *digits <= 15)
        style.significantDigits = *digits;
    const std::optional<int> fraction = setting::inchfraction.isStored() ? setting::inchfraction.readWholeNumber() : std::nullopt;
    if (fraction && (*fraction == 0 || isInchFraction(*fraction)))
        style.inchFraction = *fraction;
    return style;
}

}

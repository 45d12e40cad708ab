#include "selectionrules.h"

#include "numbers.h"
#include "settingsstore.h"
#include "stringtable.h"
#include "userunitstore.h"

#include <algorithm>

namespace quantix {

namespace {

bool isOffered(const QString &name)
{
    return ReadSetting(section::units, name, QStringLiteral("1")) == QLatin1String("1");
}

}

QStringList offeredQuantityNames()
{
    QStringList names;
    for (const Quantity &quantity : Catalogue::instance().quantities()) {
        if (isOffered(quantity.name))
            names << quantity.name;
    }
    return names;
}

QStringList offeredUnitNames(const Quantity &quantity, const UserUnitStore &store)
{
    QStringList names;
    for (int j = 1; j <= quantity.unitCount; ++j) {
        const QString name = Catalogue::unitName(quantity, j);
        if (isOffered(name))
            names << name;
    }
    // A count that is not a number offers no user units.
    const int count = std::min(store.count(quantity.name).value_or(0), UserUnitStore::maxUnits);
    for (int j = 1; j <= count; ++j) {
        if (store.read(UserUnitStore::usedKey(quantity.name, j), QStringLiteral("0")) == QLatin1String("1"))
            names << store.name(quantity.name, j, QStringLiteral("unknown"));
    }
    return names;
}

std::optional<QString> runQuantityConversion(AppState &state, const Converter &converter, const Quantity &quantity,
                                             const ConversionInputs &inputs, QStringView decimalSeparator)
{
    state.rememberedName = inputs.unit1;
    state.finalUnitName = inputs.unit2;
    state.inputValue = readTypedValue(inputs.input);
    const double result = converter.convert(quantity, state.rememberedName, state.finalUnitName, state.inputValue);
    return showResultText(state, result, decimalSeparator);
}

std::optional<QString> showResultText(AppState &state, double value, QStringView decimalSeparator)
{
    if (state.rememberedName.isEmpty() || state.finalUnitName.isEmpty())
        return std::nullopt;
    if (state.decimalPlaces < 0 || state.decimalPlaces > 8)
        state.decimalPlaces = 3;
    const QString text = formatResult(value, {state.decimalPlaces, state.scientific}, decimalSeparator).trimmed();
    return text.isEmpty() ? QStringLiteral("0") : text;
}

}

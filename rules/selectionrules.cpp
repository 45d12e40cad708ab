#include "rules/selectionrules.h"

#include "engine/compoundunits.h"
#include "engine/stringtable.h"
#include "settings/settingkeys.h"
#include "settings/userunitstore.h"

namespace quantix {

bool isOffered(const QString &name)
{
    SettingKey key = setting::offered(name);
    if (const QString former = Catalogue::formerName(name); !former.isEmpty())
        key.defaultText = setting::offered(former).read();
    return key.isOn();
}

QStringList offeredQuantityNames()
{
    const SettingsSnapshot snapshot;
    QStringList names;
    for (const Quantity &quantity : Catalogue::instance().quantities()) {
        if (isOffered(quantity.name))
            names << quantity.name;
    }
    return names;
}

QStringList offeredUnitNames(const Quantity &quantity, const UserUnitStore &store)
{
    const SettingsSnapshot snapshot;
    QStringList names;
    for (int j = 1; j <= quantity.builtInCount(); ++j) {
        const QString name = Catalogue::unitName(quantity, j);
        if (isOffered(name))
            names << name;
    }
    // A count that is not a number offers no user units.
    const int positions = store.positions(quantity.name).value_or(0);
    for (int j = 1; j <= positions; ++j) {
        if (store.read(UserUnitStore::usedKey(quantity.name, j), QStringLiteral("0")) == QLatin1String("1"))
            names << store.name(quantity.name, j, QStringLiteral("unknown"));
    }
    return names;
}

std::optional<QString> runQuantityConversion(ConversionState &state, const Converter &converter, const ConversionInputs &inputs,
                                             const NumberStyle &style, QStringView decimalSeparator,
                                             QStringView groupSeparator)
{
    state.rememberedName = inputs.unit1;
    state.finalUnitName = inputs.unit2;
    const UnitRef from = converter.resolve(inputs.unit1);
    const CompoundUnit *parts = from.rule ? typedInParts(from.rule->id) : nullptr;
    state.inputValue = parts ? readCompoundValue(inputs.input, *parts, decimalSeparator) : readTypedValue(inputs.input, decimalSeparator);
    const double result = converter.convert(state.rememberedName, state.finalUnitName, state.inputValue);
    const UnitRef to = converter.resolve(inputs.unit2);
    return showResultText(state, result, style, decimalSeparator, groupSeparator, to.rule ? to.rule->id : 0);
}

std::optional<QString> showResultText(const ConversionState &state, double value, const NumberStyle &style, QStringView decimalSeparator,
                                      QStringView groupSeparator, int finalUnitId)
{
    if (state.rememberedName.isEmpty() || state.finalUnitName.isEmpty())
        return std::nullopt;
    const QString text = formatUnitResult(value, finalUnitId, style, decimalSeparator, groupSeparator).trimmed();
    return text.isEmpty() ? QStringLiteral("0") : text;
}

std::optional<QString> inputReadingNote(QStringView input, QStringView decimalSeparator)
{
    const std::optional<QString> read = typedValueCut(input, decimalSeparator);
    if (!read)
        return std::nullopt;
    return str(1300).arg(*read, decimalSeparator);
}

}

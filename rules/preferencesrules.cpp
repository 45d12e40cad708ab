#include "rules/preferencesrules.h"

#include "rules/options.h"
#include "rules/selectionrules.h"
#include "rules/shellcommand.h"
#include "settings/settingkeys.h"

#include <algorithm>

namespace quantix {

namespace {

bool storedOr(const SettingKey &key, bool runValue)
{
    return key.isStored() ? key.readBoolean().value_or(runValue) : runValue;
}

// A number style's key, kept as stored while its choice is as shown.
template<typename Value>
SettingWrite style(const SettingKey &key, Value chosen, Value shown)
{
    return key.write(chosen).keepingStored(chosen == shown);
}

}

OptionsChoice storedOptionsChoice(const Options &options)
{
    const SettingsSnapshot snapshot;
    OptionsChoice shown;
    shown.tab = storedTab();
    shown.numberStyle = storedNumberStyle(options.numberStyle());
    shown.shellProgram = ReadShellProgram();
    shown.confirmExit = storedOr(setting::confirm, options.confirmExit());
    shown.saveDialog = setting::save.isOn();
    return shown;
}

SettingWrites optionsWrites(const OptionsChoice &choice, const OptionsChoice &shown)
{
    SettingWrites writes{
        setting::tab.write(choice.tab),
        style(setting::numericformatting, choice.numberStyle.decimals, shown.numberStyle.decimals),
        style(setting::scientific, choice.numberStyle.scientific, shown.numberStyle.scientific),
        style(setting::significant, choice.numberStyle.significant, shown.numberStyle.significant),
        style(setting::significantdigits, choice.numberStyle.significantDigits, shown.numberStyle.significantDigits),
        style(setting::engineering, choice.numberStyle.engineering, shown.numberStyle.engineering),
        style(setting::grouping, choice.numberStyle.grouping, shown.numberStyle.grouping),
        style(setting::leadingzero, choice.numberStyle.leadingZero, shown.numberStyle.leadingZero),
        style(setting::inchfraction, choice.numberStyle.inchFraction, shown.numberStyle.inchFraction),
        setting::shellprog.write(choice.shellProgram).keepingStored(choice.shellProgram == shown.shellProgram),
        setting::confirm.write(choice.confirmExit).keepingStored(choice.confirmExit == shown.confirmExit),
    };
    // chkSave shows the stored choice only while confirmation was on.
    if (choice.confirmExit)
        writes.append(setting::save.write(choice.saveDialog).keepingStored(shown.confirmExit && choice.saveDialog == shown.saveDialog));
    return writes;
}

void applyOptions(const OptionsChoice &choice, Options &options)
{
    options.setNumberStyle(choice.numberStyle);
    options.setConfirmExit(choice.confirmExit);
}

SettingWrites closingWrites(int quantityPosition, int tab)
{
    return {setting::quantityListIndex.write(Catalogue::instance().storedIndex(quantityPosition)), setting::tab.write(tab)};
}

int storedTab()
{
    const std::optional<int> tab = setting::tab.readWholeNumber();
    return tab && *tab >= 1 && *tab <= 4 ? *tab : 4;
}

int storedQuantityListIndex()
{
    const std::optional<int> index = setting::quantityListIndex.readWholeNumber();
    return index ? std::max(0, Catalogue::instance().positionOfStoredIndex(*index)) : 0;
}

QList<UnitListItem> unitListItems(const Quantity &quantity, const UserUnitStore &store)
{
    const SettingsSnapshot snapshot;
    QList<UnitListItem> items;
    for (int j = 1; j <= quantity.builtInCount(); ++j) {
        const QString name = Catalogue::unitName(quantity, j);
        items.append({name, isOffered(name)});
    }
    const int positions = store.positions(quantity.name).value_or(0);
    for (int n = 1; n <= positions; ++n) {
        items.append({store.name(quantity.name, n, QString()),
                      store.read(UserUnitStore::usedKey(quantity.name, n), QStringLiteral("1")) == QLatin1String("1")});
    }
    return items;
}

SettingWrites unitSelectionWrites(int quantityId, const QList<UnitListItem> &shown, const QList<bool> &selected)
{
    const Quantity *quantity = Catalogue::instance().byId(quantityId == 0 ? 500 : quantityId);
    if (!quantity)
        return {};
    const auto asShown = [&](qsizetype item) { return item < shown.size() && shown[item].selected == selected[item]; };
    const int catalogueUnits = std::min(int(selected.size()), quantity->builtInCount());
    const int userUnits = std::min(int(selected.size()) - catalogueUnits, UserUnitStore::maxUnits);
    SettingWrites writes;
    for (int j = 1; j <= catalogueUnits; ++j)
        writes.append(setting::offered(Catalogue::unitName(*quantity, j)).write(selected[j - 1]).keepingStored(asShown(j - 1)));
    for (int n = 1; n <= userUnits; ++n) {
        const qsizetype item = catalogueUnits + n - 1;
        writes.append(UserUnitStore::entry(UserUnitStore::usedKey(quantity->name, n), selected[item] ? QStringLiteral("1") : QStringLiteral("0"))
                          .keepingStored(asShown(item)));
    }
    return writes;
}

QuantityAvailability storedQuantityAvailability()
{
    const SettingsSnapshot snapshot;
    QuantityAvailability offered{};
    for (int i = 0; i < Catalogue::quantityCount; ++i)
        offered[static_cast<std::size_t>(i)] = isOffered(Catalogue::instance().at(i).name);
    return offered;
}

SettingWrites quantityAvailabilityWrites(const QuantityAvailability &offered, const QuantityAvailability &shown)
{
    SettingWrites writes;
    for (std::size_t i = 0; i < offered.size(); ++i)
        writes.append(setting::offered(Catalogue::instance().at(int(i)).name).write(offered[i]).keepingStored(offered[i] == shown[i]));
    return writes;
}

QStringList quantityNames(const QuantityAvailability &offered)
{
    QStringList names;
    for (std::size_t i = 0; i < offered.size(); ++i) {
        if (offered[i])
            names << Catalogue::instance().at(int(i)).name;
    }
    return names;
}

}

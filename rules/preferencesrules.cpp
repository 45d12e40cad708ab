#include "rules/preferencesrules.h"

#include "rules/selectionrules.h"
#include "settings/settingsstore.h"

#include <algorithm>

namespace quantix {

namespace {

const QString one = QStringLiteral("1");
const QString zero = QStringLiteral("0");

QString flag(bool on)
{
    return on ? one : zero;
}

}

bool applySettingWrites(const SettingWrites &writes)
{
    bool written = true;
    for (const SettingWrite &write : writes)
        written &= WriteSetting(write.section, write.key, write.value);
    return written;
}

SettingWrites optionsWrites(const OptionsChoice &choice)
{
    const QString &settings = section::settings;
    SettingWrites writes{
        {settings, QStringLiteral("Tab"), QString::number(choice.tab)},
        {settings, QStringLiteral("numericformatting"), QString::number(choice.decimalPlaces)},
        {settings, QStringLiteral("scientific"), booleanWord(choice.scientific)},
        {settings, QStringLiteral("shellprog"), choice.shellProgram},
        {settings, QStringLiteral("confirm"), booleanWord(choice.confirmExit)},
    };
    if (choice.confirmExit)
        writes.append({settings, QStringLiteral("save"), flag(choice.saveDialog)});
    return writes;
}

void applyOptions(const OptionsChoice &choice, Options &options)
{
    options.setNumberStyle({choice.decimalPlaces, choice.scientific});
    options.setConfirmExit(choice.confirmExit);
}

SettingWrites closingWrites(int quantityListIndex, int tab)
{
    return {
        {section::settings, QStringLiteral("QuantityListIndex"), QString::number(quantityListIndex)},
        {section::settings, QStringLiteral("Tab"), QString::number(tab)},
    };
}

int storedTab()
{
    const std::optional<int> tab = toWholeNumber(ReadSetting(section::settings, QStringLiteral("Tab"), QStringLiteral("4")));
    return tab && *tab >= 1 && *tab <= 4 ? *tab : 4;
}

int storedQuantityListIndex()
{
    const std::optional<int> index = toWholeNumber(ReadSetting(section::settings, QStringLiteral("QuantityListIndex"), zero));
    return index && *index >= 0 && *index < Catalogue::quantityCount ? *index : 0;
}

QList<UnitListItem> unitListItems(const Quantity &quantity, const UserUnitStore &store)
{
    QList<UnitListItem> items;
    for (int j = 1; j <= quantity.unitCount; ++j) {
        const QString name = Catalogue::unitName(quantity, j);
        items.append({name, isOffered(name)});
    }
    const int positions = store.positions(quantity.name).value_or(0);
    for (int n = 1; n <= positions; ++n) {
        items.append({store.name(quantity.name, n, QString()),
                      store.read(UserUnitStore::usedKey(quantity.name, n), one) == one});
    }
    return items;
}

bool SaveUnitSelection(int quantityId, const QList<bool> &selected, const UserUnitStore &store)
{
    const Quantity *quantity = Catalogue::instance().byId(quantityId == 0 ? 500 : quantityId);
    if (!quantity)
        return true;
    const int catalogueUnits = std::min(int(selected.size()), quantity->unitCount);
    const int userUnits = std::min(int(selected.size()) - catalogueUnits, UserUnitStore::maxUnits);
    bool written = true;
    for (int j = 1; j <= catalogueUnits; ++j)
        written &= WriteSetting(section::units, Catalogue::unitName(*quantity, j), flag(selected[j - 1]));
    for (int n = 1; n <= userUnits; ++n)
        written &= store.write(UserUnitStore::usedKey(quantity->name, n), flag(selected[catalogueUnits + n - 1]));
    return written;
}

std::array<bool, Catalogue::quantityCount> storedQuantityAvailability()
{
    std::array<bool, Catalogue::quantityCount> offered{};
    for (int i = 0; i < Catalogue::quantityCount; ++i)
        offered[static_cast<std::size_t>(i)] = isOffered(Catalogue::instance().at(i).name);
    return offered;
}

QStringList storeQuantityAvailability(const std::array<bool, Catalogue::quantityCount> &offered, bool &written)
{
    QStringList names;
    for (int i = 0; i < Catalogue::quantityCount; ++i) {
        const QString &name = Catalogue::instance().at(i).name;
        const bool on = offered[static_cast<std::size_t>(i)];
        if (on)
            names << name;
        written &= WriteSetting(section::units, name, flag(on));
    }
    return names;
}

}

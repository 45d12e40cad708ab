#include "rules/newunitrules.h"

#include "engine/catalogue.h"
#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/stringtable.h"

#include <QSet>

namespace quantix {

LoadedUnits loadUserUnits(const QString &quantity, const UserUnitStore &store)
{
    const SettingsSnapshot snapshot;
    LoadedUnits loaded;
    const std::optional<int> positions = store.positions(quantity);
    if (!positions) {
        loaded.failure = describe(ErrorNumber::TypeMismatch);
        return loaded;
    }
    const QString unknown = QStringLiteral("Unknown");
    for (int i = 0; i < *positions; ++i) {
        NewUnitRow &row = loaded.rows[static_cast<std::size_t>(i)];
        row.name = store.name(quantity, i + 1, unknown);
        row.factor = store.read(UserUnitStore::factorKey(quantity, i + 1), unknown);
    }
    // The rows hold ten units; the positions above them cannot be shown.
    if (store.count(quantity) > UserUnitStore::maxUnits)
        loaded.failure = describe(ErrorNumber::SubscriptOutOfRange);
    return loaded;
}

namespace {

bool isBlank(const QString &name)
{
    return name.trimmed().isEmpty();
}

// The first row of 0 to filled - 1 whose name a built-in unit of the quantity
// or an earlier row already carries; -1 when there is none.
int firstTakenName(const QString &quantity, const NewUnitRows &rows, int filled)
{
    QSet<QString> taken;
    if (const Quantity *q = Catalogue::instance().byName(quantity)) {
        for (int j = 1; j <= q->builtInCount(); ++j)
            taken.insert(Catalogue::unitName(*q, j).toCaseFolded());
    }
    for (int i = 0; i < filled; ++i) {
        const QString name = rows[static_cast<std::size_t>(i)].name.trimmed().toCaseFolded();
        if (taken.contains(name))
            return i;
        taken.insert(name);
    }
    return -1;
}

}

NewUnitVerdict checkNewUnits(const QString &quantity, const NewUnitRows &rows, const NewUnitRows &loaded)
{
    NewUnitVerdict verdict;
    const int size = int(rows.size());
    int filled = 0;
    while (filled < size && !isBlank(rows[static_cast<std::size_t>(filled)].name))
        ++filled;

    for (int i = 0; i < filled; ++i) {
        if (!readStoredFactor(rows[static_cast<std::size_t>(i)].factor)) {
            verdict.refusal = NewUnitVerdict::Refusal::FactorNotANumber;
            verdict.row = i;
            return verdict;
        }
    }
    // From the top down, so that the focus lands on the highest row after the gap.
    for (int i = size - 1; i > filled; --i) {
        if (!isBlank(rows[static_cast<std::size_t>(i)].name)) {
            verdict.refusal = NewUnitVerdict::Refusal::NotConsecutive;
            verdict.row = i;
            return verdict;
        }
    }
    if (const int taken = firstTakenName(quantity, rows, filled); taken >= 0) {
        verdict.refusal = NewUnitVerdict::Refusal::NameTaken;
        verdict.row = taken;
        return verdict;
    }

    const bool unchanged = rows == loaded;
    for (int i = 0; i < size; ++i) {
        const NewUnitRow &row = rows[static_cast<std::size_t>(i)];
        verdict.writes.append(UserUnitStore::entry(UserUnitStore::nameKey(quantity, i + 1), row.name.trimmed()).keepingStored(unchanged));
        verdict.writes.append(UserUnitStore::entry(UserUnitStore::factorKey(quantity, i + 1), row.factor.trimmed()).keepingStored(unchanged));
    }
    verdict.writes.append(UserUnitStore::entry(UserUnitStore::countKey(quantity), QString::number(filled)).keepingStored(unchanged));
    return verdict;
}

QString nameTakenMessage(const QString &quantity, const QString &name)
{
    return str(1150).arg(name.trimmed(), quantity);
}

}

#include "newunitrules.h"

#include "conversionerror.h"
#include "numbers.h"
#include "settingsstore.h"

namespace quantix {

namespace {

// The error a count above the ten rows meets.
constexpr int subscriptOutOfRange = 9;

}

LoadedUnits loadUserUnits(const QString &quantity, const UserUnitStore &store)
{
    LoadedUnits loaded;
    const std::optional<int> count = store.count(quantity);
    if (!count) {
        loaded.failure = ConversionError::describe(ConversionError::TypeMismatch);
        return loaded;
    }
    const QString unknown = QStringLiteral("Unknown");
    const int rows = std::min(*count, UserUnitStore::maxUnits);
    for (int i = 0; i < rows; ++i) {
        NewUnitRow &row = loaded.rows[static_cast<std::size_t>(i)];
        row.name = store.read(UserUnitStore::nameKey(quantity, i + 1), unknown);
        row.factor = store.read(UserUnitStore::factorKey(quantity, i + 1), unknown);
    }
    // The rows hold ten units; the positions above them cannot be shown.
    if (*count > UserUnitStore::maxUnits)
        loaded.failure = ConversionError::describe(subscriptOutOfRange);
    return loaded;
}

NewUnitVerdict checkNewUnits(const QString &quantity, const NewUnitRows &rows)
{
    NewUnitVerdict verdict;
    const int size = int(rows.size());
    int filled = 0;
    while (filled < size && !rows[static_cast<std::size_t>(filled)].name.isEmpty())
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
        if (!rows[static_cast<std::size_t>(i)].name.isEmpty()) {
            verdict.refusal = NewUnitVerdict::Refusal::NotConsecutive;
            verdict.row = i;
            return verdict;
        }
    }

    for (int i = 0; i < size; ++i) {
        const NewUnitRow &row = rows[static_cast<std::size_t>(i)];
        verdict.writes.append({UserUnitStore::nameKey(quantity, i + 1), row.name.trimmed()});
        verdict.writes.append({UserUnitStore::factorKey(quantity, i + 1), row.factor.trimmed()});
    }
    verdict.writes.append({UserUnitStore::countKey(quantity), QString::number(filled)});
    return verdict;
}

bool writeUserUnits(const UserUnitStore &store, const QList<std::pair<QString, QString>> &writes)
{
    bool written = true;
    for (const auto &[key, value] : writes)
        written &= store.write(key, value);
    return written;
}

}

// A second program on the settings of $XDG_CONFIG_HOME, for the tests that
// need processes: one that is killed, one that fails, one that holds the
// lock, two that write at once.
//   settingsdriver units TAG ROUNDS [FIRST]
//                                     the units of Length, one list a round
//                                     from round FIRST: TAG-ROUND-N with the
//                                     factor ROUND.0N, 1 + ROUND % 10 of them
//   settingsdriver check ROUNDS       reads the units of Length, fails on a
//                                     name with another list's factor
//   settingsdriver replace FILE TEXT  replaces FILE as a records save does
//   settingsdriver lock               holds the store's lock until its input ends
// A failure prints its reason and exits with 1.

#include "rules/userunits.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QStringList>

#include <cstdio>

using namespace quantix;

namespace {

int report(const std::optional<FileFailure> &failure)
{
    if (!failure)
        return 0;
    std::fprintf(stderr, "%s: %d %s\n", qPrintable(failure->fileName), int(failure->reason), qPrintable(failure->systemText));
    return 1;
}

SettingWrites unitList(const QString &tag, int round)
{
    const int count = 1 + round % 10;
    SettingWrites writes;
    for (int n = 1; n <= UserUnitStore::maxUnits; ++n) {
        const bool filled = n <= count;
        writes << UserUnitStore::entry(UserUnitStore::nameKey("Length", n), filled ? QStringLiteral("%1-%2-%3").arg(tag).arg(round).arg(n) : QString())
               << UserUnitStore::entry(UserUnitStore::factorKey("Length", n), filled ? QStringLiteral("%1.0%2").arg(round).arg(n) : QString());
    }
    writes << UserUnitStore::entry(UserUnitStore::countKey("Length"), QString::number(count));
    return writes;
}

// Each name TAG-ROUND-N with the factor ROUND.0N, and as many as the count says.
bool consistent(const Quantity &length)
{
    const UserUnits units = readUserUnits(length, UserUnitStore());
    for (int i = 0; i < units.units.size(); ++i) {
        const QStringList parts = units.units[i].name.split(u'-');
        if (parts.size() != 3 || parts[2].toInt() != i + 1
            || units.units[i].factor != QStringLiteral("%1.0%2").arg(parts[1]).arg(i + 1).toDouble())
            return false;
        if (units.units.size() != 1 + parts[1].toInt() % 10)
            return false;
    }
    return true;
}

}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == QLatin1String("units")) {
        const int first = arguments.value(3).toInt();
        for (int round = first; round < first + arguments.value(2).toInt(); ++round) {
            if (report(applySettings(unitList(arguments.value(1), round))))
                return 1;
        }
        return 0;
    }
    if (command == QLatin1String("check")) {
        const Quantity &length = *Catalogue::instance().byName(u"Length");
        for (int round = 0; round < arguments.value(1).toInt(); ++round) {
            if (!consistent(length)) {
                std::fprintf(stderr, "a name with another list's factor\n");
                return 1;
            }
        }
        return 0;
    }
    if (command == QLatin1String("replace"))
        return report(replaceFile(arguments.value(1), arguments.value(2).toUtf8()));
    if (command == QLatin1String("lock")) {
        QLockFile lock(settingsLocation() + QLatin1String(".lock"));
        if (!lock.tryLock(0))
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    return 2;
}

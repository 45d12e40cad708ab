#include "rules/shellcommand.h"

#include "settings/settingkeys.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace quantix {

QString locateProgram(const QString &program)
{
    if (program.contains(u'/'))
        return program;
    return QStandardPaths::findExecutable(program);
}

ShellCommand parseShellCommand(const QString &text)
{
    const bool wholeIsProgram = text.contains(u'/') ? QFileInfo::exists(text) : !locateProgram(text).isEmpty();
    if (wholeIsProgram)
        return {text, {}};
    QStringList words = QProcess::splitCommand(text);
    if (words.isEmpty())
        return {text, {}};
    const QString program = words.takeFirst();
    return {program, words};
}

// GNOME's calculator first, the calculator of Debian's default desktop; then
// KDE's; then the two general-purpose calculators with desktop menus and the
// two standalone ones; xcalc last, a bare X tool with no desktop look. On KDE
// its own calculator comes first.
QStringList desktopCalculators(QStringView currentDesktop)
{
    QStringList calculators{QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("qalculate-qt"),
                            QStringLiteral("qalculate-gtk"), QStringLiteral("galculator"), QStringLiteral("speedcrunch"),
                            QStringLiteral("xcalc")};
    for (QStringView desktop : currentDesktop.split(u':')) {
        if (desktop.compare(u"KDE", Qt::CaseInsensitive) == 0) {
            calculators.move(calculators.indexOf(QLatin1String("kcalc")), 0);
            break;
        }
    }
    return calculators;
}

QString findDesktopCalculator()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const QString &calculator : desktopCalculators(desktop)) {
        if (!QStandardPaths::findExecutable(calculator).isEmpty())
            return calculator;
    }
    return {};
}

QString ReadShellProgram()
{
    const QString stored = ReadSetting(setting::shellprog.section, setting::shellprog.key, QString());
    if (!stored.isEmpty())
        return stored;
    const QString calculator = findDesktopCalculator();
    return calculator.isEmpty() ? setting::shellprog.defaultText : calculator;
}

}

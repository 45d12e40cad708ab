// quantix96-bareconfig: a QtCore program that reads the settings file
// quantix96-convert reads and prints one converted value, the yardstick for
// the start-up cost of one conversion as a process. It pays for the event
// loop's application object, the settings file and the output, and for no
// catalogue, string table or name matching.

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quantix96"));
    const int decimals = settings.value(QStringLiteral("settings/numericformatting"), 3).toInt();
    const bool scientific = settings.value(QStringLiteral("settings/scientific"), false).toBool();
    // The converter offers the quantity's user units by name, so it reads them too.
    QStringList userUnits;
    const int count = settings.value(QStringLiteral("userunits/Lengthnumber"), 0).toInt();
    for (int i = 1; i <= std::min(count, 10); ++i)
        userUnits << settings.value(QStringLiteral("userunits/Length%1").arg(i)).toString();
    const QByteArray result = QByteArray::number(1.609344, scientific ? 'e' : 'f', decimals);
    std::printf("%s\n", result.constData());
    return 0;
}

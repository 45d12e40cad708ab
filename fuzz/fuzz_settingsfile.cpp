// Takes arbitrary bytes as the settings file and does with it what the
// program does at start-up and when it converts: the main window's options
// and position, the print font, the decimal places, which quantities and
// units are offered, the user units of every quantity and a conversion
// through each of them into the base unit and back, recorded and written as
// RTF. Stops when reading changed the file, on a read that breaks its
// promise (text with blanks around it, decimals outside 0 to 8, a font size
// outside 0 to 1000 points, a unit name over 60 characters), on a conversion
// that fails with another error than 6, 11 or 13 or gives a value that is
// not finite, on RTF with a byte that is not ASCII, and on a crash or
// sanitizer finding.

#include "engine/catalogue.h"
#include "engine/converter.h"
#include "engine/errors.h"
#include "engine/numbers.h"
#include "records/conversionrecords.h"
#include "records/rtfwriter.h"
#include "rules/userunits.h"
#include "settings/printfont.h"
#include "settings/settingkeys.h"
#include "settings/userunitstore.h"

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quantix;

namespace {

[[noreturn]] void fail(const char *what, const QString &detail = {})
{
    std::fprintf(stderr, "fuzz_settingsfile: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// The settings of this process live in a folder of its own. The toolkit's
// warnings about values it cannot read (an "@Variant" of no known type)
// would only slow the runs down.
QString settingsFile()
{
    static QTemporaryDir folder;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QLocale::setDefault(QLocale::c());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    return settingsLocation();
}

QString read(const SettingKey &key)
{
    const QString text = key.read();
    if (text != text.trimmed())
        fail("a read with blanks around", text);
    return text;
}

PrintFont startUpReads(NumberStyle &style)
{
    const SettingsSnapshot snapshot;
    toBoolean(read(setting::confirm));
    style.scientific = toBoolean(read(setting::scientific)).value_or(false);
    read(setting::shellprog);
    toWholeNumber(read(setting::top));
    toWholeNumber(read(setting::left));
    style.decimals = LoadDecimalPlaces();
    if (style.decimals < 0 || style.decimals > 8)
        fail("decimal places", QString::number(style.decimals));
    const PrintFont font = PrintFont::load(PrintFont());
    if (!(font.pointSize() > 0 && font.pointSize() < 1000) || font.colour > 0xFFFFFF)
        fail("a print font of size or colour", font.size);
    return font;
}

// Converts 1.5 of `from` into `to`; a result to record, or an expected error.
void convert(const Converter &converter, const QString &from, const QString &to, NumberStyle style, ConversionRecords &records)
{
    const Quantity &quantity = converter.quantity();
    try {
        const double result = converter.convert(from, to, 1.5);
        if (!std::isfinite(result))
            fail("a result that is not finite", from);
        records.append({quantity.name, from, to, QStringLiteral("1.5"), formatResult(result, style, u".")});
    } catch (const ConversionError &error) {
        const ErrorNumber number = error.number();
        if (number != ErrorNumber::Overflow && number != ErrorNumber::DivisionByZero && number != ErrorNumber::TypeMismatch)
            fail("an unexpected error", QString::number(toInt(number)));
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = settingsFile();
    // A new time stamp every run, so that the store never takes the file
    // for the one it read before.
    static qint64 stamp = 1'000'000'000;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
            || !file.setFileTime(QDateTime::fromSecsSinceEpoch(++stamp), QFileDevice::FileModificationTime))
            fail("cannot write", path);
    }

    NumberStyle style;
    const PrintFont font = startUpReads(style);
    const UserUnitStore store;
    ConversionRecords records;
    for (const Quantity &quantity : Catalogue::instance().quantities()) {
        read(setting::offered(quantity.name));
        const Converter converter(quantity, readUserUnits(quantity, store));
        const QStringList names = userUnitNames(readUserUnits(quantity, store));
        for (int position = 1; position <= names.size(); ++position) {
            const QString &name = names[position - 1];
            if (name.size() > UserUnitStore::maxNameLength)
                fail("a unit name too long", name.left(80));
            if (store.read(UserUnitStore::usedKey(quantity.name, position), QStringLiteral("1")) != QLatin1String("1"))
                continue;
            convert(converter, name, quantity.baseUnitName, style, records);
            convert(converter, quantity.baseUnitName, name, style, records);
        }
    }
    const QByteArray rtf = recordsRtf(records.text(QDateTime::fromSecsSinceEpoch(0), QLocale::c()), font);
    for (const char c : rtf) {
        if (static_cast<unsigned char>(c) >= 0x80)
            fail("RTF that is not ASCII");
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
        fail("reading changed the file");
    return 0;
}

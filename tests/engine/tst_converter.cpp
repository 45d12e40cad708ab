#include "conversionerror.h"
#include "converter.h"
#include "numbers.h"
#include "settingsstore.h"
#include "userunitstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

namespace {

const Quantity &quantity(const QString &name)
{
    const Quantity *q = Catalogue::instance().byName(name);
    Q_ASSERT(q);
    return *q;
}

}

class TestConverter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    UserUnitStore m_store;
    Converter m_converter{m_store};

    QString shown(const QString &q, const QString &from, const QString &to, double value, NumberStyle style = {3, false})
    {
        return formatResult(m_converter.convert(quantity(q), from, to, value), style, u".");
    }

    int errorOf(const QString &q, const QString &from, const QString &to, double value)
    {
        try {
            m_converter.convert(quantity(q), from, to, value);
        } catch (const ConversionError &error) {
            return error.number();
        }
        return 0;
    }

    void addUserUnit(const QString &q, int position, const QString &name, const QString &factor)
    {
        QVERIFY(m_store.write(UserUnitStore::nameKey(q, position), name));
        QVERIFY(m_store.write(UserUnitStore::factorKey(q, position), factor));
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }

    void init()
    {
        QFile::remove(settingsLocation());
    }

    // Every built-in unit into and out of its base unit, against results
    // computed independently: the exact double and the text shown with
    // 8 decimals in the scientific style.
    void everyUnitToAndFromItsBase_data()
    {
        QTest::addColumn<QString>("quantityName");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("exact");
        QTest::addColumn<QString>("shown");
        QFile file(QStringLiteral(QUANTIX_TEST_DATA "/baseconversions.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        int rows = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).chopped(1);
            if (line.startsWith(u'#'))
                continue;
            const QStringList f = line.split(u'\t');
            QCOMPARE(f.size(), 6);
            QTest::addRow("%d %s -> %s", ++rows, qPrintable(f[1]), qPrintable(f[2]))
                << f[0] << f[1] << f[2] << f[3].toDouble() << f[4].toDouble() << f[5];
        }
        QCOMPARE(rows, 2 * 329);
    }

    void everyUnitToAndFromItsBase()
    {
        QFETCH(QString, quantityName);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, value);
        QFETCH(double, exact);
        QFETCH(QString, shown);
        const double result = m_converter.convert(quantity(quantityName), from, to, value);
        QCOMPARE(formatResult(result, {8, true}, u"."), shown);
        QCOMPARE(result, exact);
    }

    void workedExamples_data()
    {
        QTest::addColumn<QString>("quantityName");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("boiling water") << "Temperature" << "Celsius (°C)" << "Fahrenheit (°F)" << 100.0 << 3 << "212.000";
        QTest::newRow("minus forty") << "Temperature" << "Celsius (°C)" << "Fahrenheit (°F)" << -40.0 << 3 << "-40.000";
        QTest::newRow("absolute zero") << "Temperature" << "Kelvin (K)" << "Rankine (°R)" << 0.0 << 3 << ".000";
        QTest::newRow("freezing") << "Temperature" << "Fahrenheit (°F)" << "Celsius (°C)" << 32.0 << 3 << ".000";
        QTest::newRow("zero Fahrenheit") << "Temperature" << "Fahrenheit (°F)" << "Celsius (°C)" << 0.0 << 3 << "-17.778";
        QTest::newRow("kV/in is V/mil") << "Electric Field Strength" << "kilovolt per inch (kV/in)" << "volt per mil (V/mil)" << 1.0 << 8 << "1.00000000";
        QTest::newRow("V/m is N/C") << "Electric Field Strength" << "volt per metre (V/m) (kg·m/A·s³)" << "newton per coulomb (N/C)" << 1.0 << 8 << "1.00000000";
        QTest::newRow("180 degrees") << "Angle" << "degree (°)" << "radian (rad)" << 180.0 << 8 << "3.14159265";
        QTest::newRow("one revolution") << "Angle" << "revolution (r)" << "degree (°)" << 1.0 << 8 << "360.00000000";
        QTest::newRow("mile") << "Length" << "mile (US statute)" << "kilometre (km)" << 1.0 << 8 << "1.60934400";
        QTest::newRow("parsec") << "Length" << "parsec (pc)" << "light year" << 1.0 << 5 << "3.26163";
        QTest::newRow("statfarad") << "Capacitance" << "statfarad" << "farad (F) (A²·s^4/kg·m²)" << 1.0 << 5 << ".00000";
        QTest::newRow("degree per second") << "Angular Velocity" << "degree per second (°/s)" << "revolution per minute (r/min)" << 1.0 << 6 << ".166667";
        QTest::newRow("gallon") << "Volume (Liquid)" << "gallon (US)" << "litre (l)" << 1.0 << 6 << "3.785412";
        QTest::newRow("month") << "Time" << "month (mean calendar 365/12 days)" << "day (d)" << 1.0 << 4 << "30.4167";
        QTest::newRow("year") << "Time" << "year (a)" << "day (d)" << 1.0 << 3 << "365.000";
        QTest::newRow("gamma") << "Magnetic Flux Density" << "gauss (G)" << "gamma" << 1.0 << 0 << "100000.";
    }

    void workedExamples()
    {
        QFETCH(QString, quantityName);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(shown(quantityName, from, to, value, {decimals, false}), expected);
    }

    void statfaradScientific()
    {
        QCOMPARE(shown("Capacitance", "statfarad", "farad (F) (A²·s^4/kg·m²)", 1, {5, true}), QStringLiteral("1.11235E-12"));
    }

    void overflowIsErrorSix()
    {
        QCOMPARE(errorOf("Length", "parsec (pc)", "metre (m)", 1e300), 6);
        QCOMPARE(errorOf("Length", "metre (m)", "femtometre (fermi)  (fm)", 1e300), 6);
        QCOMPARE(errorOf("Temperature", "Celsius (°C)", "Fahrenheit (°F)", 1.7e308), 6);
        QCOMPARE(errorOf("Length", "metre (m)", "metre (m)", std::numeric_limits<double>::infinity()), 6);
    }

    // Temperature knows only its four units: any other name leaves the value
    // unchanged and no user unit is looked up.
    void temperatureIgnoresOtherNames()
    {
        WriteSetting(section::userunits, "Temperaturenumber", "1");
        addUserUnit("Temperature", 1, "hot", "2");
        QCOMPARE(shown("Temperature", "hot", "Kelvin (K)", 1), QStringLiteral("274.150"));
        QCOMPARE(shown("Temperature", "Kelvin (K)", "", 1), QStringLiteral("-272.150"));
    }

    void namesAreComparedExactly()
    {
        QCOMPARE(shown("Length", "Metre (m)", "metre (m)", 5), QStringLiteral(".000"));
        QCOMPARE(shown("Energy", "erg (dyne-centimetre)", "kilojoule (kJ)", 5), QStringLiteral(".000"));
    }

    void userUnitBothWays()
    {
        WriteSetting(section::userunits, "Lengthnumber", "2");
        addUserUnit("Length", 1, "widget", "2.5");
        addUserUnit("Length", 2, "gadget", "0.5");
        QCOMPARE(shown("Length", "widget", "metre (m)", 4), QStringLiteral("10.000"));
        QCOMPARE(shown("Length", "metre (m)", "widget", 10), QStringLiteral("4.000"));
        QCOMPARE(shown("Length", "widget", "gadget", 1), QStringLiteral("5.000"));
        QCOMPARE(shown("Length", "unknown", "metre (m)", 4), QStringLiteral(".000"));
        QCOMPARE(m_converter.userUnitNames(quantity("Length")), QStringList({"widget", "gadget"}));
    }

    // A name longer than the new-unit dialog takes is listed and converted
    // by its first 60 characters; the store keeps it whole.
    void longUserUnitNamesAreCut_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("read");
        const QString sixty(60, u'n');
        QTest::newRow("a megabyte") << sixty + QString(1 << 20, u'x') << sixty;
        QTest::newRow("sixty stay") << sixty << sixty;
        QTest::newRow("sixty-one") << sixty + u'x' << sixty;
        QTest::newRow("blanks at the cut go") << QString(58, u'n') + "   tail" << QString(58, u'n');
        QTest::newRow("blanks before the cut stay") << "a b" + QString(60, u'n') << "a b" + QString(57, u'n');
        QTest::newRow("astral character stays whole") << QString(59, u'n') + QString::fromUtf8("😀") << QString(59, u'n');
    }

    void longUserUnitNamesAreCut()
    {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        WriteSetting(section::userunits, "Lengthnumber", "2");
        addUserUnit("Length", 1, stored, "2.5");
        addUserUnit("Length", 2, "widget", "4");
        QCOMPARE(m_converter.userUnitNames(quantity("Length")), QStringList({read, "widget"}));
        QCOMPARE(shown("Length", read, "widget", 8), QStringLiteral("5.000"));
        QCOMPARE(ReadSetting(section::userunits, "Length1", QString()), stored.trimmed());
    }

    // The store is read afresh at every call: a changed factor is used at once.
    void userUnitIsReadAtEveryCall()
    {
        WriteSetting(section::userunits, "Massnumber", "1");
        addUserUnit("Mass", 1, "sack", "50");
        QCOMPARE(shown("Mass", "sack", "kilogram (kg)", 2), QStringLiteral("100.000"));
        WriteSetting(section::userunits, "Massfactor1", "25");
        QCOMPARE(shown("Mass", "sack", "kilogram (kg)", 2), QStringLiteral("50.000"));
    }

    void builtInNameWinsOverUserUnit()
    {
        WriteSetting(section::userunits, "Lengthnumber", "1");
        addUserUnit("Length", 1, "metre (m)", "1000");
        QCOMPARE(shown("Length", "metre (m)", "kilometre (km)", 1000), QStringLiteral("1.000"));
    }

    void zeroFactor()
    {
        WriteSetting(section::userunits, "Forcenumber", "1");
        addUserUnit("Force", 1, "nothing", "0");
        QCOMPARE(shown("Force", "nothing", "newton (N)", 5), QStringLiteral(".000"));
        QCOMPARE(errorOf("Force", "newton (N)", "nothing", 5), 11);
        QCOMPARE(errorOf("Force", "newton (N)", "nothing", 0), 11);
    }

    void userUnitOverflow()
    {
        WriteSetting(section::userunits, "Forcenumber", "1");
        addUserUnit("Force", 1, "huge", "1e300");
        QCOMPARE(errorOf("Force", "huge", "newton (N)", 1e10), 6);
        QCOMPARE(errorOf("Force", "newton (N)", "huge", 1e-320), 0);
    }

    void damagedStoreIsTypeMismatch()
    {
        WriteSetting(section::userunits, "Areanumber", "two");
        QCOMPARE(errorOf("Area", "acre", "field", 1), 13);
        WriteSetting(section::userunits, "Areanumber", "1");
        addUserUnit("Area", 1, "field", "big");
        QCOMPARE(errorOf("Area", "field", "acre", 1), 13);
        // positions not asked for are not read
        QCOMPARE(errorOf("Area", "acre", "hectare (ha)", 1), 0);
    }

    // Counts above 10 are never written by the program; only positions 1 to
    // 10 are looked at, so a huge count cannot stall a conversion.
    void hugeCountReadsTenPositions()
    {
        WriteSetting(section::userunits, "Timenumber", "2000000000");
        addUserUnit("Time", 10, "tenth", "10");
        addUserUnit("Time", 11, "eleventh", "11");
        QCOMPARE(shown("Time", "tenth", "second (s)", 1), QStringLiteral("10.000"));
        QCOMPARE(shown("Time", "eleventh", "second (s)", 1), QStringLiteral(".000"));
    }

    void suppUnitCalcDirectly()
    {
        WriteSetting(section::userunits, "Accelerationnumber", "1");
        addUserUnit("Acceleration", 1, "Widget", "2");
        QCOMPARE(m_converter.SuppUnitCalc(500, "Widget", 3, 0), 6.0);
        QCOMPARE(m_converter.SuppUnitCalc(500, "Widget", 3, 1), 1.5);
        QCOMPARE(m_converter.SuppUnitCalc(500, "widget", 3, 0), 0.0);
        QCOMPARE(m_converter.SuppUnitCalc(510, "Widget", 3, 0), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestConverter)
#include "tst_converter.moc"

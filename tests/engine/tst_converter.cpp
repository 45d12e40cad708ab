#include "engine/converter.h"
#include "engine/errors.h"
#include "engine/numbers.h"

#include <QFile>
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

    // The user units of the quantity being converted, as the caller would
    // have read them from the store.
    UserUnits m_userUnits;

    double convert(const QString &q, const QString &from, const QString &to, double value)
    {
        return Converter(quantity(q), m_userUnits).convert(from, to, value);
    }

    QString shown(const QString &q, const QString &from, const QString &to, double value, NumberStyle style = {3, false})
    {
        return formatResult(convert(q, from, to, value), style, u".");
    }

    ErrorNumber errorOf(const QString &q, const QString &from, const QString &to, double value)
    {
        try {
            convert(q, from, to, value);
        } catch (const ConversionError &error) {
            return error.number();
        }
        return ErrorNumber::None;
    }

    void addUserUnit(const QString &name, std::optional<double> factor) { m_userUnits.units.append({name, factor}); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init() { m_userUnits = {}; }

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
        QCOMPARE(rows, 2 * (329 + 4));
    }

    void everyUnitToAndFromItsBase()
    {
        QFETCH(QString, quantityName);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, value);
        QFETCH(double, exact);
        QFETCH(QString, shown);
        const double result = convert(quantityName, from, to, value);
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
        // A change of temperature has no offset: 10 Celsius degrees are 18 Fahrenheit degrees.
        QTest::newRow("difference") << "Temperature Difference" << "Celsius degree difference (Δ°C)" << "Fahrenheit degree difference (Δ°F)" << 10.0 << 3 << "18.000";
        QTest::newRow("difference back") << "Temperature Difference" << "Rankine degree difference (Δ°R)" << "kelvin difference (ΔK)" << 9.0 << 3 << "5.000";
        QTest::newRow("kV/in is V/mil") << "Electric Field Strength" << "kilovolt per inch (kV/in)" << "volt per mil (V/mil)" << 1.0 << 8 << "1.00000000";
        QTest::newRow("V/m is N/C") << "Electric Field Strength" << "volt per metre (V/m) (kg·m/A·s³)" << "newton per coulomb (N/C)" << 1.0 << 8 << "1.00000000";
        QTest::newRow("180 degrees") << "Angle" << "degree (°)" << "radian (rad)" << 180.0 << 8 << "3.14159265";
        QTest::newRow("one revolution") << "Angle" << "revolution (r)" << "degree (°)" << 1.0 << 8 << "360.00000000";
        QTest::newRow("mile") << "Length" << "mile (US statute)" << "kilometre (km)" << 1.0 << 8 << "1.60934400";
        QTest::newRow("parsec") << "Length" << "parsec (pc)" << "light year" << 1.0 << 5 << "3.26163";
        QTest::newRow("statfarad") << "Capacitance" << "statfarad" << "farad (F) (A²·s^4/kg·m²)" << 1.0 << 5 << ".00000";
        QTest::newRow("degree per second") << "Angular Velocity" << "degree per second (°/s)" << "revolution per minute (r/min)" << 1.0 << 6 << ".166667";
        QTest::newRow("gallon") << "Volume (Liquid)" << "gallon (US)" << "litre (l)" << 1.0 << 6 << "3.785412";
        QTest::newRow("US cup") << "Volume (Liquid)" << "cup (US)" << "millilitre (ml)" << 1.0 << 3 << "236.588";
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
        QCOMPARE(shown("Capacitance", "statfarad", "farad (F) (A²·s^4/kg·m²)", 1, {5, true}), QStringLiteral("1.11265E-12"));
    }

    void overflowIsErrorSix()
    {
        QCOMPARE(errorOf("Length", "parsec (pc)", "metre (m)", 1e300), ErrorNumber::Overflow);
        QCOMPARE(errorOf("Length", "metre (m)", "femtometre (fermi)  (fm)", 1e300), ErrorNumber::Overflow);
        QCOMPARE(errorOf("Temperature", "Celsius (°C)", "Fahrenheit (°F)", 1.7e308), ErrorNumber::Overflow);
        QCOMPARE(errorOf("Length", "metre (m)", "metre (m)", std::numeric_limits<double>::infinity()), ErrorNumber::Overflow);
    }

    // Temperature knows only its four units: any other name leaves the value
    // unchanged and no user unit is looked up.
    void temperatureIgnoresOtherNames()
    {
        addUserUnit("hot", 2);
        QCOMPARE(shown("Temperature", "hot", "Kelvin (K)", 1), QStringLiteral("274.150"));
        QCOMPARE(shown("Temperature", "Kelvin (K)", "", 1), QStringLiteral("-272.150"));
        m_userUnits.damaged = true;
        QCOMPARE(shown("Temperature", "hot", "Kelvin (K)", 1), QStringLiteral("274.150"));
    }

    void namesAreComparedExactly()
    {
        QCOMPARE(shown("Length", "Metre (m)", "metre (m)", 5), QStringLiteral(".000"));
        QCOMPARE(shown("Energy", "erg (dyne-centimetre)", "kilojoule (kJ)", 5), QStringLiteral(".000"));
    }

    // A name that is none of the user units converts as 0; the first of two
    // units of one name is taken.
    void userUnitBothWays()
    {
        addUserUnit("widget", 2.5);
        addUserUnit("gadget", 0.5);
        addUserUnit("widget", 100);
        QCOMPARE(shown("Length", "widget", "metre (m)", 4), QStringLiteral("10.000"));
        QCOMPARE(shown("Length", "metre (m)", "widget", 10), QStringLiteral("4.000"));
        QCOMPARE(shown("Length", "widget", "gadget", 1), QStringLiteral("5.000"));
        QCOMPARE(shown("Length", "unknown", "metre (m)", 4), QStringLiteral(".000"));
        const Converter converter(quantity("Length"), m_userUnits);
        QCOMPARE(converter.SuppUnitCalc("gadget", 3, 0), 1.5);
        QCOMPARE(converter.SuppUnitCalc("gadget", 3, 1), 6.0);
        QCOMPARE(converter.SuppUnitCalc("Gadget", 3, 0), 0.0);
    }

    void builtInNameWinsOverUserUnit()
    {
        addUserUnit("metre (m)", 1000);
        QCOMPARE(shown("Length", "metre (m)", "kilometre (km)", 1000), QStringLiteral("1.000"));
    }

    void zeroFactor()
    {
        addUserUnit("nothing", 0);
        QCOMPARE(shown("Force", "nothing", "newton (N)", 5), QStringLiteral(".000"));
        QCOMPARE(errorOf("Force", "newton (N)", "nothing", 5), ErrorNumber::DivisionByZero);
        QCOMPARE(errorOf("Force", "newton (N)", "nothing", 0), ErrorNumber::DivisionByZero);
    }

    void userUnitOverflow()
    {
        addUserUnit("huge", 1e300);
        QCOMPARE(errorOf("Force", "huge", "newton (N)", 1e10), ErrorNumber::Overflow);
        QCOMPARE(errorOf("Force", "newton (N)", "huge", 1e-320), ErrorNumber::None);
    }

    // A damaged store fails the conversions that need a user unit, and only
    // those.
    void damagedUserUnitsAreTypeMismatch()
    {
        m_userUnits.damaged = true;
        QCOMPARE(errorOf("Area", "acre", "field", 1), ErrorNumber::TypeMismatch);
        QCOMPARE(errorOf("Area", "acre", "hectare (ha)", 1), ErrorNumber::None);
        m_userUnits = {};
        addUserUnit("field", std::nullopt);
        addUserUnit("yard", 2);
        QCOMPARE(errorOf("Area", "field", "acre", 1), ErrorNumber::TypeMismatch);
        QCOMPARE(errorOf("Area", "yard", "acre", 1), ErrorNumber::None);
    }
};

QTEST_GUILESS_MAIN(TestConverter)
#include "tst_converter.moc"

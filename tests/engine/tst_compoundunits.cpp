#include "engine/catalogue.h"
#include "engine/compoundunits.h"
#include "engine/converter.h"
#include "engine/errors.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace quantix;

// Units written in parts, both ways. The expected texts were worked out
// from the rules with decimal arithmetic, apart from the program.
class TestCompoundUnits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void written_data()
    {
        QTest::addColumn<double>("value");  // in the smallest part
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("leadingZero");
        QTest::addColumn<int>("inchFraction");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ft+in") << 71.25 << 1401 << 3 << false << 0 << "." << QStringLiteral("5 ft 11.250 in");
        QTest::newRow("ft+in carry") << 71.9996 << 1401 << 3 << false << 0 << "." << QStringLiteral("6 ft .000 in");
        QTest::newRow("ft+in negative") << -71.25 << 1401 << 3 << false << 0 << "." << QStringLiteral("-5 ft 11.250 in");
        QTest::newRow("ft+in zero") << 0.0 << 1401 << 3 << false << 0 << "." << QStringLiteral("0 ft .000 in");
        QTest::newRow("ft+in rounds to zero") << -0.0004 << 1401 << 3 << false << 0 << "." << QStringLiteral("0 ft .000 in");
        QTest::newRow("ft+in leading zero") << 72.25 << 1401 << 3 << true << 0 << "." << QStringLiteral("6 ft 0.250 in");
        QTest::newRow("ft+in no decimals") << 71.5 << 1401 << 0 << false << 0 << "." << QStringLiteral("6 ft 0. in");
        QTest::newRow("ft+in sixteenths") << 71.3125 << 1401 << 3 << false << 16 << "." << QStringLiteral("5 ft 11 5/16 in");
        QTest::newRow("ft+in 11.99999 to 1/16") << 11.99999 << 1401 << 3 << false << 16 << "." << QStringLiteral("1 ft 0 in");
        QTest::newRow("ft+in fraction only") << 72.75 << 1401 << 3 << false << 64 << "." << QStringLiteral("6 ft 3/4 in");
        QTest::newRow("ft+in half reduced") << 5.5 << 1401 << 3 << false << 32 << "." << QStringLiteral("0 ft 5 1/2 in");
        QTest::newRow("ft+in negative fraction") << -71.3125 << 1401 << 3 << false << 16 << "." << QStringLiteral("-5 ft 11 5/16 in");
        QTest::newRow("lb+oz") << 35.5 << 1402 << 1 << false << 0 << "." << QStringLiteral("2 lb 3.5 oz");
        QTest::newRow("st+lb") << 200.0 << 1403 << 3 << false << 0 << "." << QStringLiteral("14 st 4.000 lb");
        QTest::newRow("hms") << 5415.0 << 1404 << 3 << false << 0 << "." << QStringLiteral("1 h 30 min 15.000 s");
        QTest::newRow("hms carry") << 3599.9999 << 1404 << 3 << false << 0 << "." << QStringLiteral("1 h 0 min .000 s");
        QTest::newRow("hms comma") << 90.5 << 1404 << 3 << false << 0 << "," << QStringLiteral("0 h 1 min 30,500 s");
        QTest::newRow("dms") << 45015.0 << 1405 << 2 << false << 0 << "." << QStringLiteral("12° 30′ 15.00″");
        QTest::newRow("dms negative") << -45015.0 << 1405 << 2 << false << 0 << "." << QStringLiteral("-12° 30′ 15.00″");
    }

    void written()
    {
        QFETCH(double, value);
        QFETCH(int, unit);
        QFETCH(int, decimals);
        QFETCH(bool, leadingZero);
        QFETCH(int, inchFraction);
        QFETCH(QString, point);
        QFETCH(QString, expected);
        NumberStyle style;
        style.decimals = decimals;
        style.leadingZero = leadingZero;
        style.inchFraction = inchFraction;
        QCOMPARE(formatUnitResult(value, unit, style, point), expected);
        // What is shown reads back as the value it stands for.
        const double shown = readCompoundValue(expected, *compoundUnit(unit), point);
        const double half = inchFraction ? 0.5 / inchFraction : 0.5 * std::pow(10.0, -decimals);
        QVERIFY2(std::abs(shown - value) <= half + 1e-9, qPrintable(QString::number(shown)));
    }

    void writtenInAnyStyle()
    {
        NumberStyle style;
        style.scientific = true;
        style.decimals = 2;
        QCOMPARE(formatUnitResult(5415.0, 1404, style, u"."), QStringLiteral("1 h 30 min 15.00 s"));
        style = {};
        style.significant = true;
        QCOMPARE(formatUnitResult(71.25, 1401, style, u"."), QStringLiteral("5 ft 11.250 in"));
        // Beyond whole counts the largest part stands alone.
        QCOMPARE(formatUnitResult(1.2e17, 1401, {3, true}, u"."), QStringLiteral("1.000E+16 ft"));
        QCOMPARE(formatUnitResult(-1.2e17, 1405, {3, true}, u"."), QStringLiteral("-3.333E+13°"));
        QVERIFY_THROWS_EXCEPTION(ConversionError, formatUnitResult(std::numeric_limits<double>::infinity(), 1401, {}, u"."));
    }

    void inchesInFractions_data()
    {
        QTest::addColumn<double>("inches");
        QTest::addColumn<int>("fraction");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sixteenths") << 11.3125 << 16 << "11 5/16";
        QTest::newRow("reduced") << 0.75 << 64 << "3/4";
        QTest::newRow("whole") << -2.0 << 8 << "-2";
        QTest::newRow("carry to a whole inch") << 11.99999 << 16 << "12";
        QTest::newRow("smallest") << 0.01 << 64 << "1/64";
        QTest::newRow("rounds to zero, no sign") << -0.007 << 64 << "0";
        QTest::newRow("half away from zero") << 0.25 << 2 << "1/2";
    }

    void inchesInFractions()
    {
        QFETCH(double, inches);
        QFETCH(int, fraction);
        QFETCH(QString, expected);
        NumberStyle style;
        style.inchFraction = fraction;
        QCOMPARE(formatUnitResult(inches, inchUnitId, style, u"."), expected);
    }

    void read_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("point");
        QTest::addColumn<double>("expected");  // in the smallest part
        QTest::newRow("blank") << 1401 << "5 11" << "." << 71.0;
        QTest::newRow("marks") << 1401 << "5' 11\"" << "." << 71.0;
        QTest::newRow("typographic marks") << 1401 << "5′ 11″" << "." << 71.0;
        QTest::newRow("words") << 1401 << "5 ft 11 in" << "." << 71.0;
        QTest::newRow("no blanks") << 1401 << "5ft11.5" << "." << 71.5;
        QTest::newRow("fraction") << 1401 << "5 ft 11 1/2 in" << "." << 71.5;
        QTest::newRow("fraction alone") << 1401 << "3/4\"" << "." << 0.75;
        QTest::newRow("sign once") << 1401 << "-5 11" << "." << -71.0;
        QTest::newRow("largest part alone") << 1401 << "5" << "." << 60.0;
        QTest::newRow("inches alone") << 1401 << "11 in" << "." << 11.0;
        QTest::newRow("shown text") << 1401 << "-5 ft 11.250 in" << "." << -71.25;
        QTest::newRow("shown after a carry") << 1401 << "6 ft .000 in" << "." << 72.0;
        QTest::newRow("comma") << 1401 << "5 ft 11,5 in" << "," << 71.5;
        QTest::newRow("exponent: the leading number") << 1401 << "1e3" << "." << 12000.0;
        QTest::newRow("parts out of order: the leading number") << 1401 << "11 in 5 ft" << "." << 132.0;
        QTest::newRow("too many parts: the leading number") << 1401 << "5 11 3" << "." << 61356.0;
        QTest::newRow("nothing") << 1401 << "abc" << "." << 0.0;
        QTest::newRow("lb oz") << 1402 << "2 lb 3.5 oz" << "." << 35.5;
        QTest::newRow("lb oz blank") << 1402 << "2 3" << "." << 35.0;
        QTest::newRow("st lb") << 1403 << "14 4" << "." << 200.0;
        QTest::newRow("colons") << 1404 << "1:30:15" << "." << 5415.0;
        QTest::newRow("hms blanks") << 1404 << "1 30 15" << "." << 5415.0;
        QTest::newRow("hms marks") << 1404 << "1h30m" << "." << 5400.0;
        QTest::newRow("seconds alone") << 1404 << "90 s" << "." << 90.0;
        QTest::newRow("hms shown") << 1404 << "1 h 30 min 15.000 s" << "." << 5415.0;
        QTest::newRow("dms marks") << 1405 << "12°30'15\"" << "." << 45015.0;
        QTest::newRow("dms blanks") << 1405 << "12 30 15" << "." << 45015.0;
        QTest::newRow("dms shown") << 1405 << "12° 30′ 15.00″" << "." << 45015.0;
        QTest::newRow("dms letters") << 1405 << "12d30m" << "." << 45000.0;
        // The inch alone reads the fractions fractional inches show; anything
        // else as any unit's value.
        QTest::newRow("inch: fraction") << inchUnitId << "3/4" << "." << 0.75;
        QTest::newRow("inch: shown fraction") << inchUnitId << "-11 5/16" << "." << -11.3125;
        QTest::newRow("inch: marked") << inchUnitId << "11 1/2 in" << "." << 11.5;
        QTest::newRow("inch: decimal comma") << inchUnitId << "2,5\"" << "," << 2.5;
        QTest::newRow("inch: two numbers, as any unit reads them") << inchUnitId << "5 11" << "." << 511.0;
        QTest::newRow("inch: exponent") << inchUnitId << "1e3" << "." << 1000.0;
        QTest::newRow("inch: no denominator") << inchUnitId << "3/" << "." << 3.0;
        QTest::newRow("inch: a second decimal point") << inchUnitId << "1.234,5" << "," << 1.234;
    }

    void read()
    {
        QFETCH(int, unit);
        QFETCH(QString, typed);
        QFETCH(QString, point);
        QFETCH(double, expected);
        QCOMPARE(readCompoundValue(typed, *typedInParts(unit), point), expected);
    }

    // Listed after each quantity's own units, converted both ways.
    void convertedThroughTheBase_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("metre to ft+in") << "Length" << "metre (m)" << "feet and inches (ft+in)" << 1.8034 << 71.0;
        QTest::newRow("ft+in to foot") << "Length" << "feet and inches (ft+in)" << "foot (ft)" << 71.0 << 71.0 / 12;
        QTest::newRow("pound to lb+oz") << "Mass" << "pound (lb)" << "pounds and ounces (lb+oz)" << 2.21875 << 35.5;
        QTest::newRow("st+lb to kilogram") << "Mass" << "stones and pounds (st+lb)" << "kilogram (kg)" << 200.0 << 90.718474;
        QTest::newRow("hms to minute") << "Time" << "hours, minutes and seconds (hms)" << "minute (min)" << 5415.0 << 90.25;
        QTest::newRow("degree to dms") << "Angle" << "degree (°)" << "degrees, minutes and seconds (dms)" << 12.5 << 45000.0;
    }

    void convertedThroughTheBase()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, value);
        QFETCH(double, expected);
        const Quantity *q = Catalogue::instance().byName(quantity);
        QCOMPARE(Catalogue::unitName(*q, q->builtInCount()).isEmpty(), false);
        const double result = Converter(*q).convert(from, to, value);
        QVERIFY2(std::abs(result - expected) <= std::abs(expected) * 1e-12, qPrintable(QString::number(result, 'g', 17)));
    }
};

QTEST_GUILESS_MAIN(TestCompoundUnits)
#include "tst_compoundunits.moc"

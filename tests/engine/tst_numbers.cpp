#include "engine/errors.h"
#include "engine/numbers.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

using namespace quantix;

namespace {

enum class Style { Regular, Scientific, Significant, Engineering };

// The value, or nothing when the text is too large.
std::optional<double> valueOf(const TypedValueReader &reader)
{
    try {
        return reader.value();
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

// The same double to the last bit, the sign of zero included.
bool identical(std::optional<double> a, std::optional<double> b)
{
    return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof(double)) == 0);
}

// Text cut anywhere, or fed a byte at a time, reads as the whole text does;
// once the reader says the number has ended, more digits change nothing.
void verifyPiecesAgree(const QByteArray &text, std::string_view localePoint = {})
{
    TypedValueReader whole(localePoint);
    whole.read(text.toStdString());
    const std::optional<double> expected = valueOf(whole);
    const auto same = [&whole, &expected](const TypedValueReader &reader) {
        return identical(valueOf(reader), expected) && reader.cutAtPoint() == whole.cutAtPoint()
            && reader.numberLength() == whole.numberLength();
    };
    const std::string_view all(text.constData(), std::size_t(text.size()));
    for (std::size_t cut = 0; cut <= all.size(); ++cut) {
        TypedValueReader reader(localePoint);
        reader.read(all.substr(0, cut));
        reader.read(all.substr(cut));
        if (!same(reader))
            QFAIL(qPrintable(QStringLiteral("cut after %1 bytes").arg(cut)));
    }
    TypedValueReader bytes(localePoint);
    for (const char c : all)
        bytes.read(std::string_view(&c, 1));
    QVERIFY(same(bytes));
    if (whole.finished()) {
        whole.read("9e9");
        QVERIFY(identical(valueOf(whole), expected));
    }
}

// 2^-n written out: the n digits after the point of 5^n / 10^n.
std::string powerOfTwoFraction(int n)
{
    std::string digits(std::size_t(n), '0');
    digits.back() = '1';
    for (int k = 0; k < n; ++k) {
        int carry = 0;
        for (auto d = digits.rbegin(); d != digits.rend(); ++d) {
            const int product = (*d - '0') * 5 + carry;
            *d = char('0' + product % 10);
            carry = product / 10;
        }
    }
    return digits;
}

}

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void typedValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole") << "42" << 42.0;
        QTest::newRow("leading number") << "12abc" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("comma is no separator") << ",5" << 0.0;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("D exponent") << "2D-2" << 0.02;
        QTest::newRow("exponent without digits") << "7e" << 7.0;
        QTest::newRow("exponent sign without digits") << "7e+x" << 7.0;
        QTest::newRow("blanks around") << "  42  " << 42.0;
        QTest::newRow("blanks inside") << "1 2 3. 5" << 123.5;
        QTest::newRow("blanks after sign") << "- 5" << -5.0;
        QTest::newRow("tab and line feed") << "\t\n7" << 7.0;
        QTest::newRow("plus") << "+.5" << 0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("leading zeros") << "000.00100" << 0.001;
        QTest::newRow("many digits") << "123456789012345678901234567890" << 123456789012345678901234567890.0;
        QTest::newRow("hex") << "&HFF" << 255.0;
        QTest::newRow("hex lower case stops") << "&h1fz" << 31.0;
        QTest::newRow("hex 16 bits stays positive") << "&HFFFF" << 65535.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("octal stops at 8") << "&O178" << 15.0;
        QTest::newRow("ampersand alone") << "&" << 0.0;
        QTest::newRow("ampersand other") << "&X1" << 0.0;
        QTest::newRow("too small is zero") << "1e-400" << 0.0;
        QTest::newRow("zero with huge exponent") << "0e999999" << 0.0;
        QTest::newRow("smallest double") << "4.9406564584124654e-324" << std::numeric_limits<double>::denorm_min();
        QTest::newRow("largest double") << "1.7976931348623157e308" << std::numeric_limits<double>::max();
        QTest::newRow("exponent compensates zeros") << "0.0000000001e10" << 1.0;
        QTest::newRow("non-ascii digit stops") << "1٢" << 1.0;
    }

    void typedValue()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(readTypedValue(text), expected);
        verifyPiecesAgree(text.toUtf8());
    }

    // Where the locale's decimal separator is not ".", it is a decimal point
    // as well; a second point of either kind ends the number, and the part
    // read is told. Where "." is the only one, nothing changes.
    void typedValueInLocale_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("cutTo");  // empty: not cut at a second point
        QTest::newRow("comma") << "," << "2,5" << 2.5 << "";
        QTest::newRow("point as well") << "," << "2.5" << 2.5 << "";
        QTest::newRow("result reads back") << "," << "8,202" << 8.202 << "";
        QTest::newRow("comma first") << "," << "-,5" << -0.5 << "";
        QTest::newRow("comma and exponent") << "," << "1,5E-3" << 0.0015 << "";
        QTest::newRow("exponent then comma ends") << "," << "1e3,5" << 1000.0 << "";
        QTest::newRow("leading number") << "," << "12abc" << 12.0 << "";
        QTest::newRow("hex then comma ends") << "," << "&HFF,5" << 255.0 << "";
        QTest::newRow("grouping point then comma") << "," << "1.234,5" << 1.234 << "1.234";
        QTest::newRow("comma then point") << "," << "1,234.5" << 1.234 << "1,234";
        QTest::newRow("two commas") << "," << "1,2,3" << 1.2 << "1,2";
        QTest::newRow("blanks kept in the part read") << "," << " 1 , 5 ,3" << 1.5 << "1 , 5";
        QTest::newRow("two points") << "," << ".5." << 0.5 << ".5";
        QTest::newRow("point locale: comma ends") << "." << ",5" << 0.0 << "";
        QTest::newRow("point locale: second point unnoted") << "." << "1.2.3" << 1.2 << "";
        QTest::newRow("two-byte separator") << "٫" << "2٫5" << 2.5 << "";
        QTest::newRow("two-byte separator twice") << "٫" << "1٫2٫3" << 1.2 << "1٫2";
        QTest::newRow("same first byte, other character") << "٫" << "1٬5" << 1.0 << "";
        QTest::newRow("a letter is never a point") << "e" << "1e3" << 1000.0 << "";
    }

    void typedValueInLocale()
    {
        QFETCH(QString, point);
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(QString, cutTo);
        QCOMPARE(readTypedValue(text, point), expected);
        QCOMPARE(typedValueCut(text, point).value_or(QString()), cutTo);
        verifyPiecesAgree(text.toUtf8(), point.toStdString());
    }

    // Digits past those a double can need are only counted, yet the
    // rounding stays exact: halfway points between two doubles, followed by
    // zeros or by a 1 hundreds of digits further on.
    void typedValueLongDigits_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        const std::string aboveOne = "1." + powerOfTwoFraction(53);  // halfway from 1 to the next double
        const std::string belowOne = aboveOne.substr(0, aboveOne.size() - 1) + '4' + std::string(900, '9');
        const std::string subnormal = "0." + powerOfTwoFraction(1075);  // halfway from 0 to the smallest double
        const std::string far(900, '0');
        const double next = std::nextafter(1.0, 2.0);
        const double smallest = std::numeric_limits<double>::denorm_min();
        QTest::newRow("halfway rounds to even") << QByteArray::fromStdString(aboveOne) << 1.0;
        QTest::newRow("halfway, zeros") << QByteArray::fromStdString(aboveOne + far) << 1.0;
        QTest::newRow("halfway, far 1 rounds up") << QByteArray::fromStdString(aboveOne + far + '1') << next;
        QTest::newRow("halfway, far 1 after blanks") << QByteArray::fromStdString(aboveOne + far + "  1 ") << next;
        QTest::newRow("halfway, far 1 then exponent") << QByteArray::fromStdString(aboveOne + far + "1e0") << next;
        QTest::newRow("just below halfway, nines") << QByteArray::fromStdString(belowOne) << 1.0;
        QTest::newRow("negative, far 1") << QByteArray::fromStdString('-' + aboveOne + far + '1') << -next;
        QTest::newRow("subnormal halfway is zero") << QByteArray::fromStdString(subnormal) << 0.0;
        QTest::newRow("subnormal halfway, far 1") << QByteArray::fromStdString(subnormal + far + '1') << smallest;
        QTest::newRow("one ninth in 2000 digits") << "0." + QByteArray(2000, '1') << 1.0 / 9.0;
        QTest::newRow("leading zeros, exponent") << "0." + QByteArray(5000, '0') + "25e5002" << 25.0;
        QTest::newRow("dropped digits scale") << "1" + QByteArray(1000, '0') + "e-1000" << 1.0;
        QTest::newRow("dropped digits scale, fraction") << "12" + QByteArray(1000, '0') + ".5e-1001" << 1.2;
    }

    void typedValueLongDigits()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        QVERIFY(identical(readTypedValue(text.toStdString()), expected));
        verifyPiecesAgree(text);
    }

    void typedValueTooLarge_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("1E+400") << "1E+400";
        QTest::newRow("just above the largest") << "1.8e308";
        QTest::newRow("long exponent") << "1e99999999999999999999";
        QTest::newRow("many digits") << QString(400, u'9');
        QTest::newRow("negative") << "-1e309";
        QTest::newRow("hex") << "&H" + QString(300, u'F');
        QTest::newRow("5000 digits") << QString(5000, u'1');
        QTest::newRow("digits past the kept ones") << QString(900, u'1') + "e-500";
    }

    void typedValueTooLarge()
    {
        QFETCH(QString, text);
        verifyPiecesAgree(text.toUtf8());
        try {
            readTypedValue(text);
            QFAIL("no error");
        } catch (const ConversionError &error) {
            QCOMPARE(error.number(), ErrorNumber::Overflow);
        }
    }

    // A megabyte of digits or of garbage reads without trouble.
    void typedValueHugeInput()
    {
        QCOMPARE(readTypedValue(std::string(1 << 20, 'x')), 0.0);
        QCOMPARE(readTypedValue("0." + std::string(1 << 20, '0') + "5e1048577"), 5.0);
        std::string binary(4096, '\0');
        for (std::size_t i = 0; i < binary.size(); ++i)
            binary[i] = char(i * 37);
        QCOMPARE(readTypedValue(binary), 0.0);
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("scientific");
        QTest::addColumn<QString>("expected");
        QTest::newRow("regular") << 1234.5678 << 3 << false << "1234.568";
        QTest::newRow("scientific") << 1234.5678 << 3 << true << "1.235E+3";
        QTest::newRow("no integer digit") << 0.5 << 3 << false << ".500";
        QTest::newRow("negative exponent") << 0.5 << 3 << true << "5.000E-1";
        QTest::newRow("negative") << -2.0 << 3 << false << "-2.000";
        QTest::newRow("negative scientific") << -2.0 << 3 << true << "-2.000E+0";
        QTest::newRow("no decimals keeps the point") << 12.0 << 0 << false << "12.";
        QTest::newRow("no decimals scientific") << 1234.0 << 0 << true << "1.E+3";
        QTest::newRow("half away from zero") << 2.675 << 2 << false << "2.68";
        QTest::newRow("negative half away from zero") << -2.675 << 2 << false << "-2.68";
        QTest::newRow("exact half") << 0.0005 << 3 << false << ".001";
        QTest::newRow("below half") << 0.00049999 << 3 << false << ".000";
        QTest::newRow("carry into integer") << 9.9996 << 3 << false << "10.000";
        QTest::newRow("carry moves exponent") << 9.9996 << 3 << true << "1.000E+1";
        QTest::newRow("carry from all nines") << 0.99999 << 2 << false << "1.00";
        QTest::newRow("zero") << 0.0 << 3 << false << ".000";
        QTest::newRow("zero scientific") << 0.0 << 3 << true << "0.000E+0";
        QTest::newRow("zero scientific 8") << 0.0 << 8 << true << "0.00000000E+0";
        QTest::newRow("zero scientific no decimals") << 0.0 << 0 << true << "0.E+0";
        QTest::newRow("negative zero scientific") << -0.0 << 5 << true << "0.00000E+0";
        QTest::newRow("zero no decimals") << 0.0 << 0 << false << "0.";
        QTest::newRow("rounds to zero no decimals") << 0.4 << 0 << false << "0.";
        QTest::newRow("negative rounds to zero no decimals") << -0.4 << 0 << false << "0.";
        QTest::newRow("tiny no decimals") << 1e-300 << 0 << false << "0.";
        QTest::newRow("half rounds up no decimals") << 0.5 << 0 << false << "1.";
        QTest::newRow("negative zero") << -0.0 << 3 << false << ".000";
        QTest::newRow("rounds to zero has no sign") << -0.0001 << 3 << false << ".000";
        QTest::newRow("eight decimals") << 3.141592653589793 << 8 << false << "3.14159265";
        QTest::newRow("large regular") << 1e20 << 2 << false << "100000000000000000000.00";
        QTest::newRow("largest double") << std::numeric_limits<double>::max() << 1 << true << "1.8E+308";
        QTest::newRow("tiny scientific, shortest text 5e-324") << std::numeric_limits<double>::denorm_min() << 3 << true << "5.000E-324";
        QTest::newRow("tiny regular") << 1e-300 << 8 << false << ".00000000";
        QTest::newRow("shortest text decides") << 1.005 << 2 << false << "1.01";
        QTest::newRow("decimals out of range use 3") << 1.0 << 9 << false << "1.000";
        QTest::newRow("negative decimals use 3") << 1.0 << -1 << false << "1.000";
    }

    void format()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(bool, scientific);
        QFETCH(QString, expected);
        QCOMPARE(formatResult(value, {decimals, scientific}, u"."), expected);
    }

    // Expected texts worked out from the rules with decimal arithmetic on
    // the shortest text of each value, apart from the program.
    void furtherStyles_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("digits");  // decimals, or significant digits
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("group");
        QTest::addColumn<bool>("leadingZero");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sig trailing zeros kept") << 1.2 << int(Style::Significant) << 3 << "." << "" << false << "1.20";
        QTest::newRow("sig carry 9.9995") << 9.9995 << int(Style::Significant) << 3 << "." << "" << false << "10.0";
        QTest::newRow("sig integer zeros") << 123456.0 << int(Style::Significant) << 3 << "." << "" << false << "123000.";
        QTest::newRow("sig small in full") << 0.000123456 << int(Style::Significant) << 3 << "." << "" << false << ".000123";
        QTest::newRow("sig lower limit") << 0.0001 << int(Style::Significant) << 2 << "." << "" << false << ".00010";
        QTest::newRow("sig carry onto lower limit") << 0.00009999 << int(Style::Significant) << 3 << "." << "" << false << ".000100";
        QTest::newRow("sig below lower limit") << 0.000099949 << int(Style::Significant) << 3 << "." << "" << false << "9.99E-5";
        QTest::newRow("sig tiny never zero") << 1e-17 << int(Style::Significant) << 3 << "." << "" << false << "1.00E-17";
        QTest::newRow("sig below upper limit") << 999999999999999.0 << int(Style::Significant) << 15 << "." << "" << false << "999999999999999.";
        QTest::newRow("sig carry onto upper limit") << 999999999999999.5 << int(Style::Significant) << 15 << "." << "" << false << "1.00000000000000E+15";
        QTest::newRow("sig upper limit") << 1e15 << int(Style::Significant) << 6 << "." << "" << false << "1.00000E+15";
        QTest::newRow("sig one digit") << 0.06 << int(Style::Significant) << 1 << "." << "" << false << ".06";
        QTest::newRow("sig negative leading zero") << -0.5 << int(Style::Significant) << 6 << "." << "" << true << "-0.500000";
        QTest::newRow("sig zero") << 0.0 << int(Style::Significant) << 6 << "." << "" << false << ".00000";
        QTest::newRow("sig zero leading zero") << 0.0 << int(Style::Significant) << 6 << "." << "" << true << "0.00000";
        QTest::newRow("sig zero one digit") << 0.0 << int(Style::Significant) << 1 << "." << "" << false << "0.";
        QTest::newRow("sig negative half away") << -2.675 << int(Style::Significant) << 3 << "." << "" << false << "-2.68";
        QTest::newRow("sig grouping en") << 1234567.891 << int(Style::Significant) << 10 << "." << "," << false << "1,234,567.891";
        QTest::newRow("sig grouping de") << 1234567.891 << int(Style::Significant) << 10 << "," << "." << false << "1.234.567,891";
        QTest::newRow("sig grouping 15 digits") << 123456789012345.0 << int(Style::Significant) << 15 << "." << "," << false << "123,456,789,012,345.";
        QTest::newRow("sig exponent form not grouped") << 1.5e20 << int(Style::Significant) << 4 << "." << "," << false << "1.500E+20";
        QTest::newRow("eng") << 12345.0 << int(Style::Engineering) << 2 << "." << "" << false << "12.35E+3";
        QTest::newRow("eng negative exponent") << 0.012345 << int(Style::Engineering) << 3 << "." << "" << false << "12.345E-3";
        QTest::newRow("eng carry moves exponent") << 999.9996 << int(Style::Engineering) << 3 << "." << "" << false << "1.000E+3";
        QTest::newRow("eng carry from below one") << 0.99995 << int(Style::Engineering) << 1 << "." << "" << false << "1.0E+0";
        QTest::newRow("eng no carry") << 0.99995 << int(Style::Engineering) << 2 << "." << "" << false << "999.95E-3";
        QTest::newRow("eng one") << 1.0 << int(Style::Engineering) << 3 << "." << "" << false << "1.000E+0";
        QTest::newRow("eng zero") << 0.0 << int(Style::Engineering) << 3 << "." << "" << false << "0.000E+0";
        QTest::newRow("eng negative zero") << -0.0 << int(Style::Engineering) << 3 << "." << "" << false << "0.000E+0";
        QTest::newRow("eng negative") << -123456789.0 << int(Style::Engineering) << 1 << "." << "" << false << "-123.5E+6";
        QTest::newRow("eng three digits") << 1e-7 << int(Style::Engineering) << 2 << "." << "" << false << "100.00E-9";
        QTest::newRow("eng no decimals") << 45678.0 << int(Style::Engineering) << 0 << "." << "" << false << "46.E+3";
        QTest::newRow("eng not grouped") << 123456.0 << int(Style::Engineering) << 3 << "." << "," << false << "123.456E+3";
        QTest::newRow("reg grouping en") << 1234567.891 << int(Style::Regular) << 3 << "." << "," << false << "1,234,567.891";
        QTest::newRow("reg grouping de") << 1234567.891 << int(Style::Regular) << 3 << "," << "." << false << "1.234.567,891";
        QTest::newRow("reg grouping carry") << 999.9996 << int(Style::Regular) << 3 << "." << "," << false << "1,000.000";
        QTest::newRow("reg grouping negative") << -1234.0 << int(Style::Regular) << 0 << "." << "," << false << "-1,234.";
        QTest::newRow("reg grouping three digits") << 123.0 << int(Style::Regular) << 0 << "." << "," << false << "123.";
        QTest::newRow("reg grouping below one") << 0.5 << int(Style::Regular) << 3 << "." << "," << false << ".500";
        QTest::newRow("reg leading zero") << 0.5 << int(Style::Regular) << 3 << "." << "" << true << "0.500";
        QTest::newRow("reg leading zero negative") << -0.5 << int(Style::Regular) << 3 << "." << "" << true << "-0.500";
        QTest::newRow("reg leading zero rounds to zero") << -0.0004 << int(Style::Regular) << 3 << "." << "" << true << "0.000";
        QTest::newRow("reg leading zero above one") << 12.5 << int(Style::Regular) << 1 << "." << "" << true << "12.5";
        QTest::newRow("sci not grouped") << 1234.5678 << int(Style::Scientific) << 3 << "." << "," << true << "1.235E+3";
    }

    void furtherStyles()
    {
        QFETCH(double, value);
        QFETCH(int, style);
        QFETCH(int, digits);
        QFETCH(QString, point);
        QFETCH(QString, group);
        QFETCH(bool, leadingZero);
        QFETCH(QString, expected);
        NumberStyle chosen;
        chosen.scientific = Style(style) == Style::Scientific || Style(style) == Style::Engineering;
        chosen.engineering = Style(style) == Style::Engineering;
        chosen.significant = Style(style) == Style::Significant;
        (chosen.significant ? chosen.significantDigits : chosen.decimals) = digits;
        chosen.grouping = !group.isEmpty();
        chosen.leadingZero = leadingZero;
        QCOMPARE(formatResult(value, chosen, point, group), expected);
        std::string byDigits;
        appendFormattedResultByDigits(byDigits, value, chosen, point.toStdString(), group.toStdString());
        QCOMPARE(QString::fromStdString(byDigits), expected);
        // A copy gives the text that the style without grouping shows.
        chosen.grouping = false;
        QCOMPARE(withoutGrouping(expected, group), formatResult(value, chosen, point));
    }

    void formatUsesTheGivenSeparator()
    {
        QCOMPARE(formatResult(1234.5678, {3, false}, u","), QStringLiteral("1234,568"));
        QCOMPARE(formatResult(0.5, {2, true}, u"٫"), QStringLiteral("5٫00E-1"));
    }

    void formatRefusesWhatIsNotFinite()
    {
        for (double value : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()}) {
            try {
                formatResult(value, {}, u".");
                QFAIL("no error");
            } catch (const ConversionError &error) {
                QCOMPARE(error.number(), ErrorNumber::Overflow);
            }
        }
    }

    void storedFactor_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "C" << "2.5" << true << 2.5;
        QTest::newRow("blanks") << "C" << " 1.5e3 " << true << 1500.0;
        QTest::newRow("negative") << "C" << "-2" << true << -2.0;
        QTest::newRow("zero") << "C" << "0" << true << 0.0;
        QTest::newRow("empty") << "C" << "" << false << 0.0;
        QTest::newRow("text") << "C" << "red" << false << 0.0;
        QTest::newRow("trailing text") << "C" << "2.5x" << false << 0.0;
        QTest::newRow("not finite") << "C" << "inf" << false << 0.0;
        QTest::newRow("nan") << "C" << "nan" << false << 0.0;
        QTest::newRow("too large") << "C" << "1e400" << false << 0.0;
        QTest::newRow("german decimal comma") << "de_DE" << "2,5" << true << 2.5;
        QTest::newRow("german grouping") << "de_DE" << "1.234,5" << true << 1234.5;
        QTest::newRow("english grouping") << "en_US" << "1,234.5" << true << 1234.5;
    }

    void storedFactor()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        const std::optional<double> factor = readStoredFactor(text, QLocale(locale));
        QCOMPARE(factor.has_value(), numeric);
        if (numeric)
            QCOMPARE(*factor, value);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"

#include "settings/settingsstore.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quantix;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
    QByteArray rawErr;
    bool crashed = false;
};

// Where the converter's standard output goes.
enum class Output { Pipe, DevFull, Closed, BrokenPipeIgnored, BrokenPipe };

// In the child before the converter starts: a pipe whose reader is gone.
void writeToClosedPipe()
{
    int ends[2];
    if (::pipe(ends) == 0) {
        ::close(ends[0]);
        ::dup2(ends[1], STDOUT_FILENO);
    }
}

std::function<void()> outputSetUp(Output output)
{
    switch (output) {
    case Output::Closed: return [] { ::close(STDOUT_FILENO); };
    case Output::BrokenPipeIgnored: return [] { std::signal(SIGPIPE, SIG_IGN); writeToClosedPipe(); };
    case Output::BrokenPipe: return [] { std::signal(SIGPIPE, SIG_DFL); writeToClosedPipe(); };
    case Output::Pipe:
    case Output::DevFull: break;
    }
    return [] {};
}

// Every byte a terminal shows as text: no control character but line feeds,
// C1 controls (U+0080 to U+009F) included, and valid UTF-8.
bool isPlainText(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F || (c == 0xC2 && i + 1 < bytes.size() && (unsigned char)bytes[i + 1] < 0xA0))
            return false;
    }
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

}

// quantix96-convert run as a real process, as scripts run it.
class TestConvertCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    struct Setup
    {
        QByteArray input;
        Output output = Output::Pipe;
        QString inputFile;          // instead of input
        bool closeInput = false;    // instead of input
        bool keepInputOpen = false;  // the converter never sees the end of its input
        QString locale = QStringLiteral("C.UTF-8");
        bool littleMemory = false;   // so that reading an endless device would fail
    };

    static Setup feeding(const QByteArray &input, Output output = Output::Pipe)
    {
        Setup setup;
        setup.input = input;
        setup.output = output;
        return setup;
    }

    Run run(const QStringList &arguments, const QByteArray &input = {}) { return run(arguments, feeding(input)); }

    Run run(const QStringList &arguments, const Setup &setup)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        environment.insert("LC_ALL", setup.locale);
        process.setProcessEnvironment(environment);
        if (setup.output == Output::DevFull)
            process.setStandardOutputFile(QStringLiteral("/dev/full"));
        if (!setup.inputFile.isEmpty())
            process.setStandardInputFile(setup.inputFile);
        const std::function<void()> setUpOutput = outputSetUp(setup.output);
        const bool closeInput = setup.closeInput;
        const bool littleMemory = setup.littleMemory;
        process.setChildProcessModifier([setUpOutput, closeInput, littleMemory] {
            setUpOutput();
            if (closeInput)
                ::close(STDIN_FILENO);
#ifndef __SANITIZE_ADDRESS__  // the sanitizers' shadow memory would not fit
            const rlimit memory{rlim_t(1) << 30, rlim_t(1) << 30};
            if (littleMemory)
                setrlimit(RLIMIT_AS, &memory);
#endif
        });
        process.start(QStringLiteral(QUANTIX_CONVERT), arguments);
        if (setup.inputFile.isEmpty()) {
            process.write(setup.input);
            if (!setup.keepInputOpen)
                process.closeWriteChannel();
        }
        if (!process.waitForFinished(60000))
            qFatal("quantix96-convert did not finish");
        const QByteArray err = process.readAllStandardError();
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(err), err,
                process.exitStatus() == QProcess::CrashExit};
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    }

    void init() { QFile::remove(settingsLocation()); }

    void valuesAsArguments()
    {
        const Run r = run({"Length", "mile (US statute)", "kilometre (km)", "1", "2.5", "12abc", "abc", "-3"});
        QCOMPARE(r.out, QStringLiteral("1.609\n4.023\n19.312\n.000\n-4.828\n"));
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, 0);
    }

    void valuesOnStandardInput()
    {
        const Run r = run({"--decimals", "1", "Temperature", "Celsius (°C)", "Fahrenheit (°F)"}, "100\n\n-40\r\n  37  \n0");
        QCOMPARE(r.out, QStringLiteral("212.0\n\n-40.0\n98.6\n32.0\n"));
        QCOMPARE(r.status, 0);
    }

    // Where the decimal separator is a comma, results fed back in read as the
    // same numbers, a comma or a period is the decimal point, and a value with
    // two of them is an error; --decimal-point fixes the separator.
    void decimalCommaLocales_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << "de_DE.UTF-8";
        QTest::newRow("Turkish") << "tr_TR.UTF-8";
    }

    void decimalCommaLocales()
    {
        QFETCH(QString, locale);
        const auto runIn = [this, &locale](const QStringList &arguments, const QByteArray &input = {}) {
            Setup setup = feeding(input);
            setup.locale = locale;
            return run(arguments, setup);
        };
        const Run there = runIn({"Length", "metre (m)", "kilometre (km)", "1234567.5"});
        QCOMPARE(there.out, QStringLiteral("1234,568\n"));
        const Run back = runIn({"Length", "kilometre (km)", "metre (m)"}, there.out.toUtf8());
        QCOMPARE(back.out, QStringLiteral("1234568,000\n"));
        QCOMPARE(back.status, 0);

        const Run r = runIn({"Length", "metre (m)", "foot (ft)"}, "2,5\n2.5\n,5\n1.234,5\n12abc\n1,2,3\n");
        QCOMPARE(r.out, QStringLiteral("8,202\n8,202\n1,640\n\n39,370\n\n"));
        QCOMPARE(r.err, QStringLiteral("quantix96-convert: line 4 (\"1.234,5\"): two decimal points (\".\" and \",\" both mark the decimals here)\n"
                                       "quantix96-convert: line 6 (\"1,2,3\"): two decimal points (\".\" and \",\" both mark the decimals here)\n"));
        QCOMPARE(r.status, 1);

        QCOMPARE(runIn({"--decimals", "0", "Length", "metre (m)", "metre (m)", "0,4", "-0,4"}).out, QStringLiteral("0,\n0,\n"));
        QCOMPARE(runIn({"--scientific", "Length", "metre (m)", "metre (m)", "0"}).out, QStringLiteral("0,000E+0\n"));

        const Run fixed = runIn({"--decimal-point=.", "Length", "metre (m)", "foot (ft)", "2,5", "2.5", "1.2.3"});
        QCOMPARE(fixed.out, QStringLiteral("6.562\n8.202\n3.937\n"));
        QCOMPARE(fixed.status, 0);
    }

    void decimalPointOption()
    {
        QCOMPARE(run({"--decimal-point", ",", "Length", "metre (m)", "foot (ft)", "2,5", "2.5"}).out, QStringLiteral("8,202\n8,202\n"));
        QCOMPARE(run({"--decimal-point=.", "--scientific", "Length", "metre (m)", "foot (ft)", "2"}).out, QStringLiteral("6.562E+0\n"));
    }

    void numberStyleFromOptionsOrStore()
    {
        QCOMPARE(run({"--scientific", "--decimals", "2", "Length", "metre (m)", "metre (m)", "1234.5"}).out, QStringLiteral("1.23E+3\n"));
        WriteSetting(section::settings, "scientific", "true");
        WriteSetting(section::settings, "numericformatting", "9");
        QCOMPARE(run({"Length", "metre (m)", "metre (m)", "1234.5"}).out, QStringLiteral("1.235E+3\n"));
        QCOMPARE(run({"--regular", "Length", "metre (m)", "metre (m)", "1234.5"}).out, QStringLiteral("1234.500\n"));
    }

    // The stored further styles apply as the window's do, grouping aside:
    // output is grouped only when asked, in the locale's way, never with the
    // decimal point as the separator.
    void furtherStylesFromOptionsOrStore()
    {
        const QStringList metres{"Length", "metre (m)", "metre (m)", "1234567.891", "0.5"};
        QCOMPARE(run(QStringList{"--significant", "4"} + metres).out, QStringLiteral("1235000.\n.5000\n"));
        QCOMPARE(run(QStringList{"--engineering", "--decimals", "2"} + metres).out, QStringLiteral("1.23E+6\n500.00E-3\n"));
        QCOMPARE(run(QStringList{"--group", "--leading-zero"} + metres).out, QStringLiteral("1,234,567.891\n0.500\n"));
        Setup german = feeding({});
        german.locale = "de_DE.UTF-8";
        QCOMPARE(run(QStringList{"--group"} + metres, german).out, QStringLiteral("1.234.567,891\n,500\n"));
        QCOMPARE(run(QStringList{"--group", "--decimal-point=."} + metres, german).out, QStringLiteral("1,234,567.891\n.500\n"));

        WriteSetting(section::settings, "significant", "true");
        WriteSetting(section::settings, "significantdigits", "3");
        WriteSetting(section::settings, "grouping", "true");
        WriteSetting(section::settings, "leadingzero", "true");
        QCOMPARE(run(metres).out, QStringLiteral("1230000.\n0.500\n"));
        QCOMPARE(run(QStringList{"--regular"} + metres).out, QStringLiteral("1234567.891\n0.500\n"));
        WriteSetting(section::settings, "scientific", "true");
        WriteSetting(section::settings, "engineering", "true");
        QCOMPARE(run(metres).out, QStringLiteral("1.235E+6\n500.000E-3\n"));
        QCOMPARE(run(QStringList{"--scientific"} + metres).out, QStringLiteral("1.235E+6\n5.000E-1\n"));
    }

    // A failing value: the window's message with its origin on standard
    // error, an empty line on standard output, and the run goes on.
    void failedValuesGoOn()
    {
        const Run r = run({"Length", "parsec (pc)", "metre (m)"}, "1\n1e300\n1E+400\n2\n");
        QCOMPARE(r.out, QStringLiteral("30856780000000000.000\n\n\n61713560000000000.000\n"));
        QCOMPARE(r.err,
                 QStringLiteral("quantix96-convert: line 2 (\"1e300\"): You have entered a number that is too big to calculate! Please re-enter your value!\n"
                                "quantix96-convert: line 3 (\"1E+400\"): You have entered a number that is too big to calculate! Please re-enter your value!\n"));
        QCOMPARE(r.status, 1);
    }

    // State: at the settings file's place a FIFO, a link to /dev/full or a
    // file over 16 MB. Expected: at once and in little memory, the defaults
    // and one message naming the file; it stays as it was.
    void settingsFileThatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo" << "it is not a regular file";
        QTest::newRow("link to /dev/full") << "full" << "it is not a regular file";
        QTest::newRow("larger than 16 MB") << "large" << "it is larger than 16 MB";
    }

    void settingsFileThatCannotBeUsed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        if (kind == "fifo") {
            QVERIFY(mkfifo(qPrintable(settingsLocation()), 0600) == 0);
        } else if (kind == "full") {
            QVERIFY(QFile::link("/dev/full", settingsLocation()));
        } else {
            QFile file(settingsLocation());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(maxSettingsFileSize + 1));
        }
        const QFileInfo before(settingsLocation());
        Setup setup = feeding({});
        setup.littleMemory = true;
        const Run r = run({"Length", "metre (m)", "foot (ft)", "1"}, setup);
        QCOMPARE(r.out, QStringLiteral("3.281\n"));
        QCOMPARE(r.err, "quantix96-convert: The settings file \"" + settingsLocation() + "\" cannot be used: " + reason
                            + ". The program uses its default settings and leaves the file as it is.\n");
        QCOMPARE(r.status, 0);
        QCOMPARE(QFileInfo(settingsLocation()).size(), before.size());
        QFile::remove(settingsLocation());
    }

    void userUnitsTakePart()
    {
        WriteSetting(section::userunits, "Lengthnumber", "2");
        WriteSetting(section::userunits, "Length1", "widget");
        WriteSetting(section::userunits, "Lengthfactor1", "2.5");
        WriteSetting(section::userunits, "Length2", "nothing");
        WriteSetting(section::userunits, "Lengthfactor2", "0");
        QCOMPARE(run({"Length", "widget", "metre (m)", "4"}).out, QStringLiteral("10.000\n"));
        const Run r = run({"Length", "metre (m)", "nothing", "4", "0"});
        QCOMPARE(r.out, QStringLiteral("\n\n"));
        QCOMPARE(r.err, QStringLiteral("quantix96-convert: argument 1 (\"4\"): The error #11 occurred - Division by zero\n"
                                       "quantix96-convert: argument 2 (\"0\"): The error #11 occurred - Division by zero\n"));
        QCOMPARE(r.status, 1);
        QCOMPARE(run({"--list", "Length"}).out.split('\n').mid(28), QStringList({"pole", "feet and inches (ft+in)", "widget", "nothing", ""}));
        WriteSetting(section::userunits, "Lengthfactor1", "many");
        QCOMPARE(run({"Length", "widget", "metre (m)", "4"}).err,
                 QStringLiteral("quantix96-convert: argument 1 (\"4\"): The error #13 occurred - Type mismatch\n"));
    }

    void list()
    {
        const Run quantities = run({"--list"});
        QCOMPARE(quantities.out.count('\n'), 33);
        QVERIFY(quantities.out.startsWith("Acceleration\nAngle\n"));
        QVERIFY(quantities.out.endsWith("Volume (Dry)\nVolume (Liquid)\n"));
        QCOMPARE(run({"--list", "Temperature"}).out, QStringLiteral("Celsius (°C)\nKelvin (K)\nFahrenheit (°F)\nRankine (°R)\n"));
    }

    // Short forms of the names: symbols, the start of a word, case and
    // ASCII spellings; the quantity too.
    void shortNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");
        QTest::newRow("symbols") << QStringList{"Length", "ft", "m", "3"} << ".914\n";
        QTest::newRow("word starts") << QStringList{"len", "mile (US", "km", "26.2"} << "42.165\n";
        QTest::newRow("no degree sign") << QStringList{"temperature", "C", "F", "100"} << "212.000\n";
        QTest::newRow("start of two quantities' names") << QStringList{"temp", "C", "F", "100"} << "212.000\n";
        QTest::newRow("start of two quantities' names, differences") << QStringList{"temp", "Δ°C", "Δ°F", "10"} << "18.000\n";
        QTest::newRow("start of two quantities' names, power") << QStringList{"pow", "W", "kW", "1500"} << "1.500\n";
        QTest::newRow("deg") << QStringList{"Temperature", "degF", "degc", "212"} << "100.000\n";
        QTest::newRow("u for micro") << QStringList{"Length", "um", "mm", "1000"} << "1.000\n";
        QTest::newRow("former spelling") << QStringList{"Time", "millenium", "year (a)", "1"} << "1000.000\n";
        QTest::newRow("list") << QStringList{"--list", "TEMPERATURE"} << "Celsius (°C)\nKelvin (K)\nFahrenheit (°F)\nRankine (°R)\n";
        QTest::newRow("list of the difference") << QStringList{"--list", "difference"}
                                                << "kelvin difference (ΔK)\nCelsius degree difference (Δ°C)\nFahrenheit degree difference (Δ°F)\nRankine degree difference (Δ°R)\n";
        QTest::newRow("difference by symbols") << QStringList{"Δ°C", "Δ°F", "10"} << "18.000\n";
        // Units in parts by their short names, read and written in parts.
        QTest::newRow("feet and inches in") << QStringList{"ft+in", "m", "5' 11\"", "5ft11.5", "-5 11"} << "1.803\n1.816\n-1.803\n";
        QTest::newRow("fractions of an inch in") << QStringList{"in", "mm", "3/4", "11 1/2\"", "2.5"} << "19.050\n292.100\n63.500\n";
        QTest::newRow("feet and inches out") << QStringList{"m", "ft+in", "1.8034", "-1.8034", "0"} << "5 ft 11.000 in\n-5 ft 11.000 in\n0 ft .000 in\n";
        QTest::newRow("inch fractions") << QStringList{"--inch-fraction", "16", "m", "ft+in", "1.8034", "0.30479"} << "5 ft 11 in\n1 ft 0 in\n";
        QTest::newRow("inches alone in fractions") << QStringList{"--inch-fraction=16", "m", "in", "0.2873"} << "11 5/16\n";
        QTest::newRow("hms") << QStringList{"hms", "min", "1:30:15", "1 30 15"} << "90.250\n90.250\n";
        QTest::newRow("dms") << QStringList{"--decimals", "2", "deg", "dms", "12.504166666666666"} << "12° 30′ 15.00″\n";
        QTest::newRow("pounds and ounces") << QStringList{"lb", "lb+oz", "2.21875"} << "2 lb 3.500 oz\n";
        QTest::newRow("-er spelling") << QStringList{"Length", "meter", "ft", "1"} << "3.281\n";
        QTest::newRow("alias") << QStringList{"length", "km", "mi", "5"} << "3.107\n";
        QTest::newRow("aliases in capitals") << QStringList{"Velocity", "MPH", "KPH", "60"} << "96.561\n";
        QTest::newRow("alias with a blank") << QStringList{"Area", "sq ft", "sq m", "100"} << "9.290\n";
        QTest::newRow("quantity's start, a unit too") << QStringList{"are", "m2", "ha", "5"} << ".001\n";
        QTest::newRow("quantity's part, a unit too") << QStringList{"erg", "J", "kJ", "5"} << ".005\n";
    }

    void shortNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        const Run r = run(arguments);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out, out);
        QCOMPARE(r.status, 0);
    }

    // A name that fits several or none: what was typed, the names meant,
    // exit status 2 and nothing converted.
    void ambiguousAndUnknownNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");
        QTest::newRow("two miles") << QStringList{"Length", "mile", "km", "1"}
                                   << "quantix96-convert: unit \"mile\" in Length is ambiguous; did you mean:\n"
                                      "  \"mile (International nautical)\"\n  \"mile (US statute)\"\n";
        QTest::newRow("two volumes") << QStringList{"volume", "x", "y"}
                                     << "quantix96-convert: quantity \"volume\" is ambiguous; did you mean:\n"
                                        "  \"Volume (Dry)\"\n  \"Volume (Liquid)\"\n";
        QTest::newRow("kilomtre") << QStringList{"Length", "m", "kilomtre", "1"}
                                  << "quantix96-convert: unknown unit \"kilomtre\" in Length; did you mean:\n  \"kilometre (km)\"\n";
        QTest::newRow("celcius") << QStringList{"Temperature", "celcius", "K"}
                                 << "quantix96-convert: unknown unit \"celcius\" in Temperature; did you mean:\n  \"Celsius (°C)\"\n";
        QTest::newRow("misspelt quantity") << QStringList{"Lenght", "m", "km"}
                                           << "quantix96-convert: unknown quantity \"Lenght\"; did you mean:\n  \"Length\"\n";
        QTest::newRow("nothing like it") << QStringList{"Length", "xyzzy", "m", "1"}
                                         << "quantix96-convert: unknown unit \"xyzzy\" in Length; "
                                            "'quantix96-convert --list \"Length\"' lists them all\n";
        QTest::newRow("unknown quantity") << QStringList{"--list", "Nothing"}
                                          << "quantix96-convert: unknown quantity \"Nothing\"; 'quantix96-convert --list' lists them all\n";
        QTest::newRow("empty") << QStringList{"Length", "", "m", "1"}
                               << "quantix96-convert: unknown unit \"\" in Length; 'quantix96-convert --list \"Length\"' lists them all\n";
        QTest::newRow("shell characters") << QStringList{"Length", "$x\\\"`", "m"}
                                          << "quantix96-convert: unknown unit \"\\$x\\\\\\\"\\`\" in Length; "
                                             "'quantix96-convert --list \"Length\"' lists them all\n";
        QTest::newRow("pattern characters") << QStringList{"Length", "[a-z]*", "m"}
                                            << "quantix96-convert: unknown unit \"[a-z]*\" in Length; "
                                               "'quantix96-convert --list \"Length\"' lists them all\n";
    }

    void ambiguousAndUnknownNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        const Run r = run(arguments);
        QCOMPARE(r.err, err);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.status, 2);
    }

    // Without the quantity, the one whose units the two names fit best: when
    // the names do not read as QUANTITY FROM TO, the first argument is a unit
    // if it fits a unit better than a quantity.
    void quantityLeftOut_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");
        QTest::newRow("symbol and alias") << QStringList{"km", "mi", "26.2"} << "16.280\n";
        QTest::newRow("degrees") << QStringList{"degF", "C", "98.6"} << "37.000\n";
        QTest::newRow("spellings, not square metres") << QStringList{"meter", "foot", "3"} << "9.843\n";
        QTest::newRow("symbol that starts \"Mass\"") << QStringList{"m", "ft", "3"} << "9.843\n";
        QTest::newRow("symbol inside \"Capacitance\"") << QStringList{"Pa", "psi", "6894.757"} << "1.000\n";
        QTest::newRow("Kelvin, not Kinematic") << QStringList{"K", "C", "300"} << "26.850\n";
        QTest::newRow("the hour tells the minute") << QStringList{"hour", "minute", "2"} << "120.000\n";
        QTest::newRow("foot-pound of work") << QStringList{"ft lb", "J", "1"} << "1.356\n";
        QTest::newRow("foot-pound of torque") << QStringList{"ft lb", "N.m", "1"} << "1.356\n";
        QTest::newRow("options first") << QStringList{"--decimals", "1", "NM", "km", "1", "x"} << "1.9\n.0\n";
        QTest::newRow("values on standard input") << QStringList{"lbs", "kg"} << "4.536\n";
    }

    void quantityLeftOut()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        const Run r = run(arguments, "10\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out, out);
        QCOMPARE(r.status, 0);
    }

    // Names that no quantity or several quantities have: which quantities
    // have which name, status 2, nothing converted.
    void quantityNotTold_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");
        QTest::newRow("several") << QStringList{"C", "F", "100"}
                                 << "quantix96-convert: \"C\" and \"F\" fit units of several quantities; name the quantity first:\n"
                                    "  Charge: \"coulomb (C) (A·s)\" to \"faraday (F) (physical)\"\n"
                                    "  Temperature: \"Celsius (°C)\" to \"Fahrenheit (°F)\"\n";
        QTest::newRow("none") << QStringList{"nm", "km", "1"}
                              << "quantix96-convert: no quantity has both \"nm\" and \"km\" among its units:\n"
                                 "  \"nm\" is a unit of Torque\n"
                                 "  \"km\" is a unit of Length\n";
        QTest::newRow("misspelt") << QStringList{"kilometres", "ft"}
                                  << "quantix96-convert: no quantity has both \"kilometres\" and \"ft\" among its units:\n"
                                     "  \"kilometres\" is no unit; did you mean \"square kilometre (km²)\" in Area, "
                                     "\"kilometre (km)\" in Length, \"kilometre per hour (km/h)\" in Velocity?\n"
                                     "  \"ft\" is a unit of Length\n";
        QTest::newRow("start of a name") << QStringList{"ft", "kilo"}
                                         << "quantix96-convert: no quantity has both \"ft\" and \"kilo\" among its units:\n"
                                            "  \"ft\" is a unit of Length\n"
                                            "  \"kilo\" is no unit's name, symbol or abbreviation; "
                                            "'quantix96-convert --find TEXT' shows what it fits\n";
        QTest::newRow("ambiguous in its quantity") << QStringList{"km", "mile", "1"}
                                                   << "quantix96-convert: unit \"mile\" in Length is ambiguous; did you mean:\n"
                                                      "  \"mile (International nautical)\"\n  \"mile (US statute)\"\n";
    }

    void quantityNotTold()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        const Run r = run(arguments);
        QCOMPARE(r.err, err);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.status, 2);
    }

    // At most ten candidates; long and broken texts are cut or replaced, never
    // echoed whole or garbled.
    void badNames()
    {
        Run r = run({"Length", "(", "m", "1"});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.err.count("\n  \""), 10);
        QVERIFY(r.err.contains("\n  ... and 9 more; 'quantix96-convert --list \"Length\"' lists them all\n"));
        r = run({"Length", QString(10000, u'x'), "m", "1"});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.size() < 200);
        QVERIFY(r.err.contains("xxx\"... in Length"));
        // Without the quantity, the same names are looked up in every quantity.
        for (const QString &name : {QString(10000, u'm'), QStringLiteral("  "), QStringLiteral("(.*)"), QString()}) {
            r = run({"km", name, "1"});
            QCOMPARE(r.status, 2);
            QVERIFY2(r.err.startsWith("quantix96-convert: no quantity has both \"km\" and \"" + name.left(60)), qPrintable(r.err));
            QVERIFY(r.err.size() < 400);
        }

        // Invalid UTF-8 reaches the converter only through a shell.
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        environment.insert("LC_ALL", "C.UTF-8");
        shell.setProcessEnvironment(environment);
        shell.start("/bin/sh", {"-c", "\"$0\" Length \"$(printf 'k\\377\\300m')\" m 1; echo \"status $?\"; "
                                      "\"$0\" km \"$(printf 'k\\377\\300m')\" 1; echo \"status $?\"; \"$0\" --find \"$(printf '\\377')\"",
                                QStringLiteral(QUANTIX_CONVERT)});
        QVERIFY(shell.waitForFinished(60000));
        const QByteArray err = shell.readAllStandardError();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(err);
        QVERIFY(!utf8.hasError());
        QVERIFY2(text.startsWith("quantix96-convert: unknown unit \"k"), qPrintable(text));
        QVERIFY(text.contains("quantix96-convert: no quantity has both \"km\" and \"k"));
        QVERIFY(text.contains("quantix96-convert: no unit matches"));
        QCOMPARE(shell.readAllStandardOutput(), QByteArray("status 2\nstatus 2\n"));
        QCOMPARE(shell.exitCode(), 1);
    }

    // A unit of one's own that repeats a name cannot be told apart: the
    // converter says so instead of choosing one.
    void repeatedOwnUnitNames()
    {
        WriteSetting(section::userunits, "Lengthnumber", "3");
        WriteSetting(section::userunits, "Length1", "metre (m)");
        WriteSetting(section::userunits, "Lengthfactor1", "2");
        WriteSetting(section::userunits, "Length2", "widget");
        WriteSetting(section::userunits, "Lengthfactor2", "2.5");
        WriteSetting(section::userunits, "Length3", "widget");
        WriteSetting(section::userunits, "Lengthfactor3", "3");
        const QString advice = "A unit of your own that repeats the name of another unit cannot be told apart from it; "
                               "rename it in the preferences (Units, Add New Unit).\n";
        Run r = run({"Length", "metre (m)", "km", "1"});
        QCOMPARE(r.err, "quantix96-convert: unit \"metre (m)\" in Length is ambiguous; did you mean:\n"
                        "  \"metre (m)\"\n  \"metre (m)\"  (your own unit)\n" + advice);
        QCOMPARE(r.status, 2);
        r = run({"Length", "km", "widget", "1"});
        QCOMPARE(r.err, "quantix96-convert: unit \"widget\" in Length is ambiguous; did you mean:\n"
                        "  \"widget\"  (your own unit)\n  \"widget\"  (your own unit)\n" + advice);
        QCOMPARE(r.status, 2);
        WriteSetting(section::userunits, "Length3", "gadget");
        QCOMPARE(run({"Length", "widg", "km", "4"}).out, QStringLiteral(".010\n"));
        QCOMPARE(run({"Length", "GADGET", "km", "4"}).out, QStringLiteral(".012\n"));

        // The aliases of a repeated name are as ambiguous as the name; a unit
        // named like an alias is taken by its name.
        WriteSetting(section::userunits, "Length1", "mile (US statute)");
        WriteSetting(section::userunits, "Length2", "mi");
        r = run({"Length", "mile (US statute)", "km", "1"});
        QVERIFY2(r.err.endsWith("\n  \"mile (US statute)\"  (your own unit)\n" + advice), qPrintable(r.err));
        QCOMPARE(run({"Length", "mi", "km", "1"}).out, QStringLiteral(".003\n"));
        QCOMPARE(run({"mi", "m", "4"}).out, QStringLiteral("10.000\n"));
    }

    void find()
    {
        Run r = run({"--find", "km"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith("Length\tkilometre (km)\n"), qPrintable(r.out));
        for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts))
            QCOMPARE(line.count('\t'), 1);
        QVERIFY(r.out.contains("Velocity\tkilometre per hour (km/h)\n"));
        QVERIFY(run({"--find", "litre (l)"}).out.startsWith("Volume (Dry)\tlitre (l)\nVolume (Liquid)\tlitre (l)\n"));

        WriteSetting(section::userunits, "Massnumber", "1");
        WriteSetting(section::userunits, "Mass1", "Zentner");
        QCOMPARE(run({"--find", "zent"}).out, QStringLiteral("Mass\tZentner\n"));

        r = run({"--find", "kilomtre"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, QString());
        QVERIFY(r.err.startsWith("quantix96-convert: no unit matches \"kilomtre\"; did you mean:\n  \"kilometre (km)\" in Length\n"));

        // Other spellings find the unit; an alias says why it matched.
        QVERIFY(run({"--find", "kilometer"}).out.startsWith("Length\tkilometre (km)\nVelocity\tkilometre per hour (km/h)\n"));
        r = run({"--find", "ft lb"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith("Energy\tfoot pound-force (ft·lbf)\nTorque\tpound-force foot (lbf·ft)\n"), qPrintable(r.out));
        QCOMPARE(r.err, QStringLiteral("quantix96-convert: ft lb: alias of foot pound-force (ft·lbf)\n"
                                       "quantix96-convert: ft lb: alias of pound-force foot (lbf·ft)\n"));
        r = run({"--find", "xyzzy"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, QStringLiteral("quantix96-convert: no unit matches \"xyzzy\"\n"));
        QCOMPARE(run({"--find", QString(10000, u'(')}).status, 1);
    }

    void badOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--bogus", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("decimals too large") << QStringList{"--decimals", "9", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("decimals not a number") << QStringList{"--decimals", "x", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("missing decimals") << QStringList{"--decimals"};
        QTest::newRow("both styles") << QStringList{"--scientific", "--regular", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("engineering and significant") << QStringList{"--engineering", "--significant", "3", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("significant zero") << QStringList{"--significant", "0", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("significant too many") << QStringList{"--significant", "16", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("group with a list") << QStringList{"--group", "--list"};
        QTest::newRow("inch fraction not a power of two") << QStringList{"--inch-fraction", "10", "Length", "metre (m)", "inch (in)"};
        QTest::newRow("decimal point not a point") << QStringList{"--decimal-point=;", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("decimal point with a list") << QStringList{"--decimal-point=,", "--list"};
        QTest::newRow("too few names") << QStringList{"Length", "metre (m)"};
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("list with units") << QStringList{"--list", "Length", "metre (m)"};
        QTest::newRow("find with names") << QStringList{"--find", "km", "Length"};
        QTest::newRow("find with a style") << QStringList{"--decimals", "2", "--find", "km"};
        QTest::newRow("find and list") << QStringList{"--list", "--find", "km"};
        QTest::newRow("find nothing") << QStringList{"--find", "  "};
    }

    void badOptions()
    {
        QFETCH(QStringList, arguments);
        const Run r = run(arguments);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QString());
        QVERIFY(r.err.contains("--help"));
    }

    void negativeValuesAfterNames()
    {
        QCOMPARE(run({"Length", "metre (m)", "metre (m)", "-5", "--decimals"}).out, QStringLiteral("-5.000\n.000\n"));
    }

    void helpAndVersion()
    {
        const Run help = run({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("[QUANTITY] FROM TO [VALUE ...]"));
        QVERIFY(help.out.contains("--find <TEXT>"));
        QVERIFY(help.out.contains("\n  3  Standard input could not be read or standard output could not be written"));
        QVERIFY(run({"--version"}).out.contains("4.1.6"));
    }

    // Output that cannot be written is never lost silently: one message with
    // the system's reason, status 3, and the converter stops reading (the
    // input here never ends, so a converter that read on would hang).
    void writeFailures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("reason");
        const QStringList convert{"Length", "metre (m)", "foot (ft)"};
        const int full = int(Output::DevFull);
        QTest::newRow("values to a full disk") << convert + QStringList{"1", "2", "3"} << full << "No space left on device";
        QTest::newRow("input to a full disk") << convert << full << "No space left on device";
        QTest::newRow("list to a full disk") << QStringList{"--list"} << full << "No space left on device";
        QTest::newRow("units to a full disk") << QStringList{"--list", "Length"} << full << "No space left on device";
        QTest::newRow("help to a full disk") << QStringList{"--help"} << full << "No space left on device";
        QTest::newRow("version to a full disk") << QStringList{"--version"} << full << "No space left on device";
        QTest::newRow("found units to a full disk") << QStringList{"--find", "metre"} << full << "No space left on device";
        QTest::newRow("closed output") << convert + QStringList{"1"} << int(Output::Closed) << "Bad file descriptor";
        QTest::newRow("input to closed output") << convert << int(Output::Closed) << "Bad file descriptor";
        QTest::newRow("reader gone, SIGPIPE ignored") << convert << int(Output::BrokenPipeIgnored) << "Broken pipe";
    }

    void writeFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, output);
        QFETCH(QString, reason);
        Setup setup = feeding(QByteArray("1\n2\n").repeated(1000), Output(output));
        setup.keepInputOpen = true;
        const Run r = run(arguments, setup);
        QCOMPARE(r.err, "quantix96-convert: cannot write standard output: " + reason + '\n');
        QCOMPARE(r.status, 3);
    }

    // As pipelines expect, a reader that goes away ends the converter
    // without a word unless SIGPIPE is ignored.
    void readerGone()
    {
        const Run r = run({"Length", "metre (m)", "foot (ft)"}, feeding("1\n", Output::BrokenPipe));
        QVERIFY(r.crashed);
        QCOMPARE(r.err, QString());
    }

    void readFailures_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder as input") << false << "Is a directory";
        QTest::newRow("closed input") << true << "Bad file descriptor";
    }

    void readFailures()
    {
        QFETCH(bool, closed);
        QFETCH(QString, reason);
        Setup setup;
        setup.closeInput = closed;
        if (!closed)
            setup.inputFile = m_config.path();
        const Run r = run({"Length", "metre (m)", "foot (ft)"}, setup);
        QCOMPARE(r.err, "quantix96-convert: cannot read standard input: " + reason + '\n');
        QCOMPARE(r.status, 3);
        QCOMPARE(r.out, QString());
        // Values on the command line need no input.
        setup.input = {};
        QCOMPARE(run({"Length", "metre (m)", "foot (ft)", "1"}, setup).status, 0);
    }

    // The failing value is quoted whole and safe for a terminal: control
    // characters as escapes, invalid UTF-8 as U+FFFD, at most 60 characters.
    void messagesAreSafe_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("NUL") << QByteArray("1e400\0abc", 9) << "1e400\\0abc";
        QTest::newRow("escape sequence") << QByteArray("1e400\033[2J") << "1e400\\x1b[2J";
        QTest::newRow("C1 control") << QByteArray("1e400\xc2\x9b" "2J") << "1e400\\u009b2J";
        QTest::newRow("DEL and bell") << QByteArray("1e400\x7f\a") << "1e400\\x7f\\x07";
        QTest::newRow("backslash") << QByteArray("1e400\\x1b") << "1e400\\\\x1b";
        QTest::newRow("tab and CR") << QByteArray("1e400\tx\ry") << "1e400\\tx\\ry";
        QTest::newRow("CR LF line end") << QByteArray("1e400\r") << "1e400";
        QTest::newRow("two CRs") << QByteArray("1e400\r\r") << "1e400\\r";
        QTest::newRow("invalid UTF-8") << QByteArray("1e400\xff\xc3(") << QString::fromUtf8("1e400\ufffd\ufffd(");
        QTest::newRow("cut by characters") << "1e400" + QString(80, u'é').toUtf8() << "1e400" + QString(55, u'é') + "...";
        QTest::newRow("astral characters stay whole") << "1e400" + QString::fromUtf8("😀").repeated(80).toUtf8()
                                                      << "1e400" + QString::fromUtf8("😀").repeated(55) + "...";
        QTest::newRow("60 characters are not cut") << "1e400" + QByteArray(55, 'x') << "1e400" + QString(55, u'x');
        QTest::newRow("control bytes past the cut") << "1e400" + QByteArray(300, 'x') + "\033" << "1e400" + QString(55, u'x') + "...";
    }

    void messagesAreSafe()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, quoted);
        const Run r = run({"Length", "metre (m)", "foot (ft)"}, line + "\n2\n");
        QCOMPARE(r.err, "quantix96-convert: line 1 (\"" + quoted
                            + "\"): You have entered a number that is too big to calculate! Please re-enter your value!\n");
        QVERIFY(isPlainText(r.rawErr));
        QCOMPARE(r.out, QStringLiteral("\n6.562\n"));
        QCOMPARE(r.status, 1);
    }

    void argumentMessagesAreSafe()
    {
        const Run r = run({"Length", "metre (m)", "foot (ft)", "1e400\n\033]0;x\a"});
        QVERIFY(r.err.startsWith("quantix96-convert: argument 1 (\"1e400\\n\\x1b]0;x\\x07\"): "));
        QVERIFY(isPlainText(r.rawErr));
        const Run unknown = run({"Length", "metre (m)", "\033[2J"});
        QCOMPARE(unknown.status, 2);
        QVERIFY(unknown.err.contains("unknown unit \"\\x1b[2J\""));
        QVERIFY(isPlainText(unknown.rawErr));
    }

    // Numbers read across the converter's reads of its input, and lines far
    // longer than any buffer, give the same text as short ones.
    void longLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("result");
        QTest::newRow("blanks inside the number") << "1" + QByteArray(70000, ' ') + "e" + QByteArray(70000, ' ') + "3" << "3280.840";
        QTest::newRow("digits of a fraction") << "0." + QByteArray(200000, '0') + "5e200001" << "16.404";
        QTest::newRow("three megabytes of digits") << "0." + QByteArray("3048").repeated(750000) << "1.000";
        QTest::newRow("text after the number") << "0.3048 m" + QByteArray(3 << 20, 'x') << "1.000";
        QTest::newRow("CR LF after a long line") << "1" + QByteArray(100000, ' ') + "\r" << "3.281";
    }

    void longLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, result);
        const Run r = run({"Length", "metre (m)", "foot (ft)"}, line + "\n\r\n2");
        QCOMPARE(r.out, result + "\n\n6.562\n");
        QCOMPARE(r.status, 0);
    }

    // Garbage never crashes the converter: binary bytes, a megabyte line.
    void badInput()
    {
        QByteArray garbage;
        for (int i = 0; i < 100000; ++i)
            garbage.append(char((i * 7919) % 256));
        Run r = run({"Mass", "pound (lb)", "kilogram (kg)"}, garbage);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.count('\n'), garbage.count('\n') + (garbage.endsWith('\n') ? 0 : 1));
        r = run({"Mass", "pound (lb)", "kilogram (kg)"}, QByteArray(1 << 20, '7') + "\n1\n");
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.startsWith("quantix96-convert: line 1 (\"777"));
        QVERIFY(r.err.size() < 300);
        QCOMPARE(r.out, QStringLiteral("\n.454\n"));
    }
};

QTEST_GUILESS_MAIN(TestConvertCli)
#include "tst_convertcli.moc"

#include "settingsstore.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

}

// quantix96-convert run as a real process, as scripts run it.
class TestConvertCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    Run run(const QStringList &arguments, const QByteArray &input = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        environment.insert("LC_ALL", "C.UTF-8");
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUANTIX_CONVERT), arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            qFatal("quantix96-convert did not finish");
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
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

    void numberStyleFromOptionsOrStore()
    {
        QCOMPARE(run({"--scientific", "--decimals", "2", "Length", "metre (m)", "metre (m)", "1234.5"}).out, QStringLiteral("1.23E+3\n"));
        WriteSetting(section::settings, "scientific", "true");
        WriteSetting(section::settings, "numericformatting", "9");
        QCOMPARE(run({"Length", "metre (m)", "metre (m)", "1234.5"}).out, QStringLiteral("1.235E+3\n"));
        QCOMPARE(run({"--regular", "Length", "metre (m)", "metre (m)", "1234.5"}).out, QStringLiteral("1234.500\n"));
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
        QCOMPARE(run({"--list", "Length"}).out.split('\n').mid(28), QStringList({"pole", "widget", "nothing", ""}));
        WriteSetting(section::userunits, "Lengthfactor1", "many");
        QCOMPARE(run({"Length", "widget", "metre (m)", "4"}).err,
                 QStringLiteral("quantix96-convert: argument 1 (\"4\"): The error #13 occurred - Type mismatch\n"));
    }

    void list()
    {
        const Run quantities = run({"--list"});
        QCOMPARE(quantities.out.count('\n'), 32);
        QVERIFY(quantities.out.startsWith("Acceleration\nAngle\n"));
        QVERIFY(quantities.out.endsWith("Volume (Dry)\nVolume (Liquid)\n"));
        QCOMPARE(run({"--list", "Temperature"}).out, QStringLiteral("Celsius (°C)\nKelvin (K)\nFahrenheit (°F)\nRankine (°R)\n"));
    }

    void unknownNames()
    {
        Run r = run({"Length", "mile", "metre (m)", "1"});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err, QStringLiteral("quantix96-convert: unknown unit \"mile\" in Length. Names containing \"mile\":\n"
                                       "  mile (International nautical)\n  mile (US statute)\n"));
        r = run({"volume", "x", "y"});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains("  Volume (Dry)\n  Volume (Liquid)\n"));
        r = run({"--list", "Nothing"});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains("No name contains \"Nothing\""));
    }

    void badOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--bogus", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("decimals too large") << QStringList{"--decimals", "9", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("decimals not a number") << QStringList{"--decimals", "x", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("missing decimals") << QStringList{"--decimals"};
        QTest::newRow("both styles") << QStringList{"--scientific", "--regular", "Length", "metre (m)", "metre (m)"};
        QTest::newRow("too few names") << QStringList{"Length", "metre (m)"};
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("list with units") << QStringList{"--list", "Length", "metre (m)"};
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
        QVERIFY(help.out.contains("QUANTITY FROM TO [VALUE ...]"));
        QVERIFY(run({"--version"}).out.contains("4.1.6"));
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

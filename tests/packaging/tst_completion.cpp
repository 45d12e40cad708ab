#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

// The bash completion of quantix96-convert, driven as bash drives it: the
// words on the line in COMP_WORDS, the word at the cursor in COMP_CWORD, the
// function that the script registers called, and COMPREPLY read back. Each
// reply is what readline puts in place of the word (after an opening quote,
// the text after it; readline closes the quote).
class TestCompletion : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    QStringList complete(const QStringList &words)
    {
        static const QString script = QStringLiteral(R"(
            source "$1" || exit 3
            shift
            registration=$(complete -p quantix96-convert) || exit 4
            function=${registration#*-F }
            function=${function%% *}
            COMP_WORDS=("$@")
            COMP_CWORD=$(($# - 1))
            COMP_LINE="$*"
            COMP_POINT=${#COMP_LINE}
            "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
            for reply in "${COMPREPLY[@]}"; do printf '%s\n' "$reply"; done)");
        QProcess bash;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        environment.insert("LC_ALL", "C.UTF-8");
        bash.setProcessEnvironment(environment);
        bash.start(QStringLiteral("bash"), QStringList{"--norc", "--noprofile", "-c", script, "bash",
                                                       QStringLiteral(QUANTIX_COMPLETION), QStringLiteral(QUANTIX_CONVERT)} + words);
        if (!bash.waitForFinished(60000))
            qFatal("bash did not finish");
        if (bash.exitCode() != 0)
            qWarning("bash: %s", bash.readAllStandardError().constData());
        return QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        const UserUnitStore store;
        QVERIFY(store.write(UserUnitStore::countKey("Length"), "3"));
        const QStringList names{QStringLiteral("my \"big\" $1"), QStringLiteral("C:\\tick's"), QString()};
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(store.write(UserUnitStore::nameKey("Length", i), names[i - 1]));
            QVERIFY(store.write(UserUnitStore::factorKey("Length", i), "5.0292"));
        }
    }

    void completes_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("replies");

        QTest::newRow("every option") << QStringList{"--"}
            << QStringList{"--decimals",     "--scientific",   "--regular", "--significant", "--engineering", "--group",
                           "--leading-zero", "--inch-fraction", "--decimal-point", "--list", "--find", "--help", "--help-all", "--version"};
        QTest::newRow("an option") << QStringList{"--sc"} << QStringList{"--scientific"};
        QTest::newRow("no option after the quantity") << QStringList{"Length", "--"} << QStringList{};
        QTest::newRow("no option after --") << QStringList{"--", "--"} << QStringList{};
        QTest::newRow("decimals") << QStringList{"--decimals", ""} << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("decimals after =") << QStringList{"--decimals", "="} << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("decimals begun after =") << QStringList{"--decimals", "=", "7"} << QStringList{"7"};
        QTest::newRow("decimal point") << QStringList{"--decimal-point", ""} << QStringList{".", ","};
        QTest::newRow("significant digits") << QStringList{"--significant", "1"} << QStringList{"1", "10", "11", "12", "13", "14", "15"};
        QTest::newRow("quantity after --decimal-point=,") << QStringList{"--decimal-point", "=", ",", "Len"} << QStringList{"Length"};

        QTest::newRow("quantities") << QStringList{"Vol"} << QStringList{"Volume\\ \\(Dry\\)", "Volume\\ \\(Liquid\\)"};
        QTest::newRow("quantities in double quotes") << QStringList{"\"Vol"} << QStringList{"Volume (Dry)", "Volume (Liquid)"};
        QTest::newRow("quantities in single quotes") << QStringList{"'Magnetic F"}
            << QStringList{"Magnetic Field Strength", "Magnetic Flux", "Magnetic Flux Density"};
        QTest::newRow("quantity after --decimals N") << QStringList{"--decimals", "3", "Len"} << QStringList{"Length"};
        QTest::newRow("quantity after --decimals=N") << QStringList{"--decimals", "=", "3", "--regular", "Len"} << QStringList{"Length"};
        QTest::newRow("quantity after --list") << QStringList{"--list", "Temp"} << QStringList{"Temperature", "Temperature\\ Difference"};
        QTest::newRow("no names for --find") << QStringList{"--find", "Len"} << QStringList{};
        QTest::newRow("nothing after --find TEXT") << QStringList{"--find", "=", "mile", ""} << QStringList{};
        QTest::newRow("nothing after --list QUANTITY") << QStringList{"--list", "Length", ""} << QStringList{};

        QTest::newRow("units of a quantity in double quotes") << QStringList{"\"Volume (Liquid)\"", "gallon\\ \\(U"}
            << QStringList{"gallon\\ \\(UK,\\ CAN\\)\\ \\(imperial\\)", "gallon\\ \\(US\\)"};
        QTest::newRow("units of a quantity in backslashes") << QStringList{"Volume\\ \\(Liquid\\)", "'gallon (U"}
            << QStringList{"gallon (UK, CAN) (imperial)", "gallon (US)"};
        QTest::newRow("degree sign") << QStringList{"Temperature", "C"} << QStringList{"Celsius\\ \\(°C\\)"};
        QTest::newRow("micro sign") << QStringList{"Conductance", "micros"} << QStringList{"microsiemens\\ \\(µS\\)"};
        QTest::newRow("superscript two") << QStringList{"Area", "\"square m"}
            << QStringList{"square metre (m²)", "square mile (mi²)", "square millimetre (mm²)"};
        QTest::newRow("apostrophes") << QStringList{"Angle", "sec"} << QStringList{"second\\ \\(\\'\\'\\)"};
        QTest::newRow("apostrophes in single quotes") << QStringList{"Angle", "'sec"} << QStringList{"second ('\\'''\\'')"};
        QTest::newRow("apostrophes in double quotes") << QStringList{"Angle", "\"sec"} << QStringList{"second ('')"};
        QTest::newRow("two blanks in a row") << QStringList{"Length", "fem"} << QStringList{"femtometre\\ \\(fermi\\)\\ \\ \\(fm\\)"};
        QTest::newRow("quote opened inside the word") << QStringList{"Length", "femtometre\\ \"(f"} << QStringList{"(fermi)  (fm)"};
        QTest::newRow("units of a short quantity name") << QStringList{"len", "kilo"} << QStringList{"kilometre\\ \\(km\\)"};
        QTest::newRow("final unit") << QStringList{"Length", "'metre (m)'", "kilo"} << QStringList{"kilometre\\ \\(km\\)"};

        QTest::newRow("own unit") << QStringList{"Length", "my"} << QStringList{"my\\ \\\"big\\\"\\ \\$1"};
        QTest::newRow("own unit in double quotes") << QStringList{"Length", "\"my"} << QStringList{"my \\\"big\\\" \\$1"};
        QTest::newRow("own unit in single quotes") << QStringList{"Length", "'C:"} << QStringList{"C:\\tick'\\''s"};
        QTest::newRow("own unit with a backslash") << QStringList{"Length", "C"} << QStringList{"C\\:\\\\tick\\'s"};

        QTest::newRow("a unit for the quantity") << QStringList{"Fahr"} << QStringList{"Fahrenheit\\ \\(°F\\)", "Fahrenheit\\ degree\\ difference\\ \\(Δ°F\\)"};
        QTest::newRow("quantities and units") << QStringList{"Ca"} << QStringList{"Capacitance", "Calorie\\ \\(dietetic\\)"};
        QTest::newRow("a unit in double quotes") << QStringList{"\"litre (l"} << QStringList{"litre (l)"};
        QTest::newRow("no units for --list") << QStringList{"--list", "Fahr"} << QStringList{};
        QTest::newRow("final unit after a unit") << QStringList{"Fahrenheit\\ \\(°F\\)", "Kel"} << QStringList{"Kelvin\\ \\(K\\)"};
        QTest::newRow("final unit after a symbol") << QStringList{"km", "'mile (U"} << QStringList{"mile (US statute)"};
        QTest::newRow("nothing for values after units") << QStringList{"km", "mi", ""} << QStringList{};

        QTest::newRow("nothing for values") << QStringList{"Length", "\"metre (m)\"", "\"foot (ft)\"", ""} << QStringList{};
        QTest::newRow("nothing for an unknown quantity") << QStringList{"Lengthy", ""} << QStringList{};
    }

    void completes()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, replies);
        QCOMPARE(complete(words), replies);
    }
};

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"

#include "engine/catalogue.h"
#include "engine/namevariants.h"
#include "engine/stringtable.h"
#include "ui/help/helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>
#include <numbers>

#include <unistd.h>

using namespace quantix;

namespace {

const QString shippedName = QStringLiteral("Quantix 96.hlp");

QString sourceHelpFile()
{
    return QStringLiteral(QUANTIX_HELP_SOURCE_DIR "/") + shippedName;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts back the variables that the search for the help file reads.
class EnvironmentGuard
{
public:
    EnvironmentGuard()
    {
        for (const char *name : names)
            m_saved.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    ~EnvironmentGuard()
    {
        for (qsizetype i = 0; i < m_saved.size(); ++i) {
            if (m_saved[i])
                qputenv(names[i], *m_saved[i]);
            else
                qunsetenv(names[i]);
        }
    }

private:
    static constexpr const char *names[] = {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
    QList<std::optional<QByteArray>> m_saved;
};

QString cellText(QString html)
{
    html.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QString());
    html.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return html.simplified();
}

// The data rows (<td> cells) of the tables in a topic, as plain text.
QList<QStringList> tableRows(const HelpTopic &topic)
{
    static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"), QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> rows;
    for (const auto &r : row.globalMatch(topic.body)) {
        QStringList cells;
        for (const auto &c : cell.globalMatch(r.captured(1)))
            cells << cellText(c.captured(1));
        if (!cells.isEmpty())
            rows << cells;
    }
    return rows;
}

// A table value such as "6.674 30(15) × 10−11" or "1.054 571 817… × 10−34".
struct ShownValue
{
    double value = std::nan("");
    double lastDigit = 0;    // the worth of one unit in the last digit shown
    bool truncated = false;  // an exact value cut short ("…"), not rounded
    bool exact = false;
};

ShownValue valueOf(QString text)
{
    const bool truncated = text.contains(u'…');
    text.replace(QChar(0x2212), u'-');
    text.remove(QRegularExpression(QStringLiteral("\\(\\d+\\)|…| ")));
    const qsizetype times = text.indexOf(QChar(0xD7));
    const QString mantissa = text.left(times);
    int exponent = 0;
    if (times >= 0) {
        const QString power = text.mid(times + 1);
        bool ok = false;
        exponent = power.mid(2).toInt(&ok);
        if (!ok || !power.startsWith(QLatin1String("10")))
            return {};
    }
    bool ok = false;
    const double digits = mantissa.toDouble(&ok);
    if (!ok)
        return {};
    const qsizetype point = mantissa.indexOf(u'.');
    const qsizetype decimals = point < 0 ? 0 : mantissa.size() - point - 1;
    return {digits * std::pow(10.0, exponent), std::pow(10.0, exponent - decimals), truncated};
}

const QByteArray minimalFile = "QUANTIX96-HELP 1\n"
                               "@topic 1 contents Contents\n"
                               "<p>See <a href=\"topic:2\">two</a>.</p>\n"
                               "@topic 2 window Two\n"
                               "<p>Second.</p>\n"
                               "@topic 3 popup txtunit1 Input\n"
                               "<p>Type.</p>\n";

}

// The reader of the help file, and the help file that ships with the program.
class TestHelpFile : public QObject
{
    Q_OBJECT

    HelpFile m_shipped;

    const HelpTopic &shippedTopic(int context)
    {
        const HelpTopic *topic = m_shipped.topic(context);
        if (!topic)
            qFatal("topic %d is missing", context);
        return *topic;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        m_shipped = HelpFile::load(sourceHelpFile());
        QVERIFY2(m_shipped.isValid(), qPrintable(m_shipped.errorText()));
    }

    // The build puts the file beside the program and beside these tests.
    void theFileIsFoundBesideTheProgram()
    {
        QCOMPARE(helpFilePath(), QCoreApplication::applicationDirPath() + u'/' + shippedName);
        const QByteArray source = readAll(sourceHelpFile());
        QVERIFY(!source.isEmpty());
        QCOMPARE(readAll(helpFilePath()), source);
        QCOMPARE(readAll(QStringLiteral(QUANTIX_APP_DIR "/") + shippedName), source);
    }

    // An installed tree, wherever it was moved: the file beside the program
    // wins, then the tree's data folder, then the XDG data folders; when it is
    // nowhere, the tree's data folder is the place the message names. The
    // letters say where copies lie: b beside, t in the tree, x in XDG, d a
    // folder of the file's name beside the program.
    void theFileIsLookedForInOrder_data()
    {
        QTest::addColumn<QString>("present");
        QTest::addColumn<QChar>("found");
        QTest::newRow("build tree") << "bt" << QChar(u'b');
        QTest::newRow("everywhere") << "btx" << QChar(u'b');
        QTest::newRow("installed") << "t" << QChar(u't');
        QTest::newRow("installed and in XDG") << "tx" << QChar(u't');
        QTest::newRow("only in XDG") << "x" << QChar(u'x');
        QTest::newRow("a folder beside") << "dx" << QChar(u'x');
        QTest::newRow("nowhere") << "" << QChar(u't');
    }

    void theFileIsLookedForInOrder()
    {
        QFETCH(QString, present);
        QFETCH(QChar, found);
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("moved prefix/bin"));
        const QHash<QChar, QString> places{
            {u'b', bin + u'/' + shippedName},
            {u't', QDir::cleanPath(bin + QStringLiteral("/" QUANTIX_DATA_FROM_BIN "/") + shippedName)},
            {u'x', dir.filePath(QStringLiteral("xdg data/quantix96/")) + shippedName}};
        QVERIFY(QDir().mkpath(bin));
        for (const QChar place : present) {
            if (place == u'd') {
                QVERIFY(QDir().mkpath(places[u'b']));
                continue;
            }
            QVERIFY(QDir().mkpath(QFileInfo(places[place]).path()));
            QVERIFY(QFile(places[place]).open(QIODevice::WriteOnly));
        }
        const EnvironmentGuard guard;
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("home data")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (dir.filePath(QStringLiteral("elsewhere")) + u':' + dir.filePath(QStringLiteral("xdg data"))).toLocal8Bit());
        QCOMPARE(locateHelpFile(bin), places[found]);
    }

    // Without HOME and the XDG variables the tree is still searched and
    // nothing breaks.
    void theFileIsFoundWithoutHomeOrDataFolders()
    {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString installed = QDir::cleanPath(bin + QStringLiteral("/" QUANTIX_DATA_FROM_BIN "/") + shippedName);
        const EnvironmentGuard guard;
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
            qunsetenv(name);
        QVERIFY(locateHelpFile(bin).endsWith(u'/' + shippedName));
        QVERIFY(QDir().mkpath(QFileInfo(installed).path()));
        QVERIFY(QFile(installed).open(QIODevice::WriteOnly));
        QCOMPARE(locateHelpFile(bin), installed);
    }

    void theShippedFileHasTheTopicsTheProgramAsksFor()
    {
        QVERIFY(m_shipped.contents());
        QCOMPARE(m_shipped.contents()->kind, TopicKind::Contents);
        QCOMPARE(shippedTopic(HelpContext::physicalConstants).title, QStringLiteral("Physical Constants"));
        QCOMPARE(shippedTopic(HelpContext::physicalConstants).kind, TopicKind::Window);
        QCOMPARE(shippedTopic(HelpContext::metricPrefixes).title, QStringLiteral("Metric Prefixes"));
        QCOMPARE(shippedTopic(HelpContext::metricPrefixes).kind, TopicKind::Window);
        // The contents leads to every full topic.
        for (const HelpTopic &topic : m_shipped.topics()) {
            if (topic.kind == TopicKind::Window)
                QVERIFY2(m_shipped.contents()->body.contains(QStringLiteral("\"topic:%1\"").arg(topic.context)), qPrintable(topic.title));
        }
    }

    void everyMainWindowControlHasAPopup_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *name : {"lblquantity", "cboquantity", "lblunit1", "cbounit1", "lblunit2", "cbounit2",
                                 "lbltxtunit1", "txtunit1", "Label1", "lblconv", "StatusBar", "Image1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyMainWindowControlHasAPopup()
    {
        QFETCH(QString, control);
        const HelpTopic *topic = m_shipped.popupFor(control);
        QVERIFY(topic);
        QCOMPARE(topic->kind, TopicKind::Popup);
        QCOMPARE(topic->controlName, control);
        QVERIFY(topic->plainText.size() > 40);
    }

    void metricPrefixesListsAllTwentyFourInOrder()
    {
        struct Prefix { const char *name; const char *symbol; int power; };
        static constexpr Prefix si[] = {
            {"quecto", "q", -30}, {"ronto", "r", -27}, {"yocto", "y", -24}, {"zepto", "z", -21}, {"atto", "a", -18},
            {"femto", "f", -15},  {"pico", "p", -12},  {"nano", "n", -9},   {"micro", "μ", -6},  {"milli", "m", -3},
            {"centi", "c", -2},   {"deci", "d", -1},   {"deca", "da", 1},   {"hecto", "h", 2},   {"kilo", "k", 3},
            {"mega", "M", 6},     {"giga", "G", 9},    {"tera", "T", 12},   {"peta", "P", 15},   {"exa", "E", 18},
            {"zetta", "Z", 21},   {"yotta", "Y", 24},  {"ronna", "R", 27},  {"quetta", "Q", 30}};
        const QList<QStringList> rows = tableRows(shippedTopic(HelpContext::metricPrefixes));
        QCOMPARE(rows.size(), qsizetype(std::size(si)));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QStringList &row = rows[i];
            const Prefix &prefix = si[i];
            QCOMPARE(row.value(0), QString::fromUtf8(prefix.name));
            QCOMPARE(row.value(1), QString::fromUtf8(prefix.symbol));
            QCOMPARE(row.value(2), QStringLiteral("10") + QString::number(prefix.power).replace(u'-', QChar(0x2212)));
            // The number written out: 1 with |power| zeros, or that many places after the point.
            const QString decimal = QString(row.value(3)).remove(u' ');
            const QString expected = prefix.power > 0 ? QString(u'1' + QString(prefix.power, u'0'))
                                                      : QString(QStringLiteral("0.") + QString(-prefix.power - 1, u'0') + u'1');
            QVERIFY2(decimal == expected, prefix.name);
            QVERIFY2(!row.value(4).isEmpty(), prefix.name);
        }
    }

    // The defining constants and conventional values, and G, which no other
    // constant ties down.
    void constantsAreWrittenInFull_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("source");
        QTest::newRow("G") << "Newtonian constant of gravitation" << "6.674 30(15) × 10−11" << "CODATA 2018";
        QTest::newRow("c") << "speed of light in vacuum" << "299 792 458" << "exact";
        QTest::newRow("h") << "Planck constant" << "6.626 070 15 × 10−34" << "exact";
        QTest::newRow("e") << "elementary charge" << "1.602 176 634 × 10−19" << "exact";
        QTest::newRow("k") << "Boltzmann constant" << "1.380 649 × 10−23" << "exact";
        QTest::newRow("NA") << "Avogadro constant" << "6.022 140 76 × 1023" << "exact";
        QTest::newRow("Cs") << "caesium-133 hyperfine transition frequency" << "9 192 631 770" << "exact";
        QTest::newRow("Kcd") << "luminous efficacy of 540 THz radiation" << "683" << "exact";
        QTest::newRow("gn") << "standard acceleration of gravity" << "9.806 65" << "exact";
        QTest::newRow("atm") << "standard atmosphere" << "101 325" << "exact";
        QTest::newRow("T0") << "zero of the Celsius scale" << "273.15" << "exact";
    }

    void constantsAreWrittenInFull()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, source);
        const auto rows = tableRows(shippedTopic(HelpContext::physicalConstants));
        const auto row = std::find_if(rows.cbegin(), rows.cend(), [&](const QStringList &r) { return r.value(0) == name; });
        QVERIFY(row != rows.cend());
        QCOMPARE(row->value(2), QString(value).replace(u'-', QChar(0x2212)));
        QVERIFY(row->value(4).startsWith(source));
    }

    // Each value against the physics that ties it to the others, so that a
    // wrong digit anywhere in the table shows.
    void physicalConstantsAgreeWithEachOther()
    {
        QHash<QString, ShownValue> v;
        for (const QStringList &row : tableRows(shippedTopic(HelpContext::physicalConstants))) {
            QCOMPARE(row.size(), 5);
            ShownValue value = valueOf(row[2]);
            value.exact = row[4].startsWith(QLatin1String("exact"));
            QVERIFY2(std::isfinite(value.value), qPrintable(row[2]));
            v.insert(row[0].section(QStringLiteral(" ("), 0, 0), value);
        }
        QVERIFY(v.size() >= 40);
        const auto shownValue = [&v](const char *name) {
            if (!v.contains(QLatin1String(name)))
                qFatal("no constant %s", name);
            return v.value(QLatin1String(name));
        };
        const auto at = [&](const char *name) { return shownValue(name).value; };
        const double pi = std::numbers::pi;
        const double c = at("speed of light in vacuum"), h = at("Planck constant"), hbar = h / (2 * pi);
        const double e = at("elementary charge"), k = at("Boltzmann constant"), na = at("Avogadro constant");
        const double me = at("electron mass"), mp = at("proton mass"), alpha = at("fine-structure constant");
        const double mu0 = at("vacuum magnetic permeability"), eps0 = at("vacuum electric permittivity");
        const double re = at("classical electron radius"), a0 = at("Bohr radius");
        const double wien = [] { double x = 5; for (int i = 0; i < 100; ++i) x = 5 * (1 - std::exp(-x)); return x; }();
        const double wienFrequency = [] { double x = 3; for (int i = 0; i < 100; ++i) x = 3 * (1 - std::exp(-x)); return x; }();
        const struct { const char *name; double expected; } relations[] = {
            {"reduced Planck constant", h / (2 * pi)},
            {"molar gas constant", na * k},
            {"Faraday constant", na * e},
            {"electron volt", e},
            {"magnetic flux quantum", h / (2 * e)},
            {"conductance quantum", 2 * e * e / h},
            {"von Klitzing constant", h / (e * e)},
            {"Josephson constant", 2 * e / h},
            {"Stefan-Boltzmann constant", 2 * std::pow(pi, 5) * std::pow(k, 4) / (15 * std::pow(h, 3) * c * c)},
            {"first radiation constant", 2 * pi * h * c * c},
            {"second radiation constant", h * c / k},
            {"Wien wavelength displacement law constant", h * c / (k * wien)},
            {"Wien frequency displacement law constant", wienFrequency * k / h},
            {"molar volume of an ideal gas", na * k * 273.15 / 101325},
            {"Loschmidt constant", 101325 / (k * 273.15)},
            {"vacuum magnetic permeability", 4e-7 * pi * 1.00000000055},  // measured since 2019
            {"vacuum electric permittivity", 1 / (mu0 * c * c)},
            {"characteristic impedance of vacuum", mu0 * c},
            {"fine-structure constant", e * e / (4 * pi * eps0 * hbar * c)},
            {"inverse fine-structure constant", 1 / alpha},
            {"Bohr radius", hbar / (me * c * alpha)},
            {"Rydberg constant", alpha * alpha * me * c / (2 * h)},
            {"classical electron radius", alpha * alpha * a0},
            {"Compton wavelength", h / (me * c)},
            {"Hartree energy", alpha * alpha * me * c * c},
            {"Thomson cross section", 8 * pi / 3 * re * re},
            {"Bohr magneton", e * hbar / (2 * me)},
            {"nuclear magneton", e * hbar / (2 * mp)},
            {"proton-electron mass ratio", mp / me},
            {"atomic mass constant", 0.99999999965e-3 / na},  // the molar mass constant over N_A
            {"neutron mass", 1.00137841931 * mp},
        };
        for (const auto &relation : relations) {
            // An exact value cut short lies less than one in its last digit
            // below the truth. A measured one may differ by about that, or by
            // the rounding of the values the relation starts from (1e-11).
            const ShownValue shown = shownValue(relation.name);
            const double difference = shown.value - relation.expected;
            const double slack = (shown.exact ? 1e-13 : 1e-11) * std::abs(relation.expected);
            const bool agrees = shown.truncated ? difference <= slack && difference > -shown.lastDigit - slack
                                : shown.exact   ? std::abs(difference) <= slack
                                                : std::abs(difference) <= shown.lastDigit + slack;
            QVERIFY2(agrees, qPrintable(QStringLiteral("%1: %2 shown, %3 expected").arg(QLatin1String(relation.name)).arg(shown.value, 0, 'g', 12).arg(relation.expected, 0, 'g', 12)));
        }
    }

    void quantitiesTopicMatchesTheCatalogue()
    {
        QList<QStringList> rows;
        for (const HelpTopic &candidate : m_shipped.topics()) {
            if (candidate.title.startsWith(QLatin1String("Quantities")))
                rows = tableRows(candidate);
        }
        const auto &quantities = Catalogue::instance().quantities();
        QCOMPARE(rows.size(), qsizetype(quantities.size()));
        for (std::size_t i = 0; i < quantities.size(); ++i) {
            const QStringList &row = rows[qsizetype(i)];
            QCOMPARE(row.value(0), quantities[i].name);
            QCOMPARE(row.value(1), quantities[i].baseUnitName);
            QCOMPARE(row.value(2).toInt(), quantities[i].unitCount);
        }
    }

    // The abbreviations of "Finding a unit": one row per unit, in the order
    // of the alias table, with every alias of it.
    void abbreviationsTopicMatchesTheAliasTable()
    {
        QList<QStringList> rows;
        for (const HelpTopic &candidate : m_shipped.topics()) {
            if (candidate.title == QLatin1String("Finding a unit"))
                rows = tableRows(candidate);
        }
        QList<QStringList> expected;
        QList<int> units;
        for (const NameVariants::Alias &alias : NameVariants::instance().aliases()) {
            const qsizetype row = units.indexOf(alias.unitId);
            if (row >= 0) {
                expected[row][0] += QLatin1String(", ") + alias.text;
                continue;
            }
            const auto &quantities = Catalogue::instance().quantities();
            const auto quantity = std::find_if(quantities.begin(), quantities.end(), [&](const Quantity &q) {
                return alias.unitId >= q.firstUnitId() && alias.unitId <= q.lastUnitId();
            });
            QVERIFY(quantity != quantities.end());
            units << alias.unitId;
            expected << QStringList{alias.text, str(alias.unitId), quantity->name};
        }
        QCOMPARE(rows, expected);
    }

    void readsEveryAllowedSpelling()
    {
        const QByteArray data = "\xEF\xBB\xBFQUANTIX96-HELP 1\r\n"
                                "# a comment\r\n"
                                "\r\n"
                                "@topic\t0  contents   Contents  page \r\n"
                                "\r\n"
                                "<P ALIGN=center>One<br/>two &amp; &#955; &#x3bb; &nbsp;</P>\r\n"
                                "# a comment inside the text\r\n"
                                "\r\n"
                                "<table border=1><tr><td nowrap colspan='2'>x</td></tr></table>\r\n"
                                "<a name=here href=\"topic:999999999\">last</a>\r\n"
                                "\r\n"
                                "@topic 999999999 popup Label_1 Label one\r\n"
                                "Plain words.";
        const HelpFile file = HelpFile::parse(data, QStringLiteral("test.hlp"));
        QVERIFY2(file.isValid(), qPrintable(file.errorText()));
        QCOMPARE(file.topics().size(), 2);
        const HelpTopic *contents = file.contents();
        QVERIFY(contents && file.topic(0) == contents);
        QCOMPARE(contents->title, QStringLiteral("Contents  page"));
        QVERIFY(contents->body.startsWith(QLatin1String("<P ALIGN=center>")));
        QVERIFY(contents->body.endsWith(QLatin1String("</a>")));
        QVERIFY(!contents->body.contains(u'\r'));
        QVERIFY(!contents->body.contains(QLatin1String("comment")));
        QVERIFY(contents->plainText.contains(QStringLiteral("two & λ λ")));
        const HelpTopic *popup = file.popupFor(u"Label_1");
        QVERIFY(popup && popup->context == 999999999);
        QCOMPARE(popup->body, QStringLiteral("Plain words."));
        QVERIFY(!file.popupFor(u"label_1"));
        QVERIFY(!file.topic(1));
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("where");
        const QByteArray head = "QUANTIX96-HELP 1\n@topic 1 contents Contents\n<p>Text.</p>\n";
        QTest::newRow("empty") << QByteArray() << "line 1: this is not a Quantix 96 help file";
        QTest::newRow("other file") << QByteArray("<html><body>hello</body></html>\n") << "line 1: this is not a Quantix 96 help file";
        QTest::newRow("header with more") << QByteArray("QUANTIX96-HELP 1 beta\n") << "line 1: this is not a Quantix 96 help file";
        QTest::newRow("newer format") << QByteArray(minimalFile).replace("HELP 1", "HELP 2") << "line 1: format version 2 is not one this program reads";
        QTest::newRow("text before topics") << QByteArray("QUANTIX96-HELP 1\nhello\n") << "line 2: text before the first topic";
        QTest::newRow("unknown heading") << head + "@include other.hlp\n" << "line 4: unknown heading \"@include\"";
        QTest::newRow("number missing") << head + "@topic window Two\n<p>x</p>\n" << "line 4: the topic number \"window\" is not a whole number";
        QTest::newRow("number negative") << head + "@topic -5 window Two\n<p>x</p>\n" << "line 4: the topic number \"-5\"";
        QTest::newRow("number too long") << head + "@topic 1000000000 window Two\n<p>x</p>\n" << "line 4: the topic number \"1000000000\"";
        QTest::newRow("unknown kind") << head + "@topic 2 chapter Two\n<p>x</p>\n" << "line 4: the topic kind \"chapter\" is not contents, window or popup";
        QTest::newRow("popup without control") << head + "@topic 2 popup\n<p>x</p>\n" << "line 4: a popup topic needs the object name of its control";
        QTest::newRow("popup with bad control") << head + "@topic 2 popup txt-unit Input\n<p>x</p>\n" << "line 4: a popup topic needs";
        QTest::newRow("no title") << head + "@topic 2 window   \n<p>x</p>\n" << "line 4: topic 2 has no title";
        QTest::newRow("popup without title") << head + "@topic 2 popup txtunit1\n<p>x</p>\n" << "line 4: topic 2 has no title";
        QTest::newRow("number used twice") << head + "@topic 2 window Two\n<p>x</p>\n@topic 2 window Again\n<p>y</p>\n" << "line 6: topic number 2 is already used on line 4";
        QTest::newRow("control twice") << head + "@topic 2 popup txtunit1 A\n<p>x</p>\n@topic 3 popup txtunit1 B\n<p>y</p>\n" << "line 6: the control txtunit1 already has a popup topic on line 4";
        QTest::newRow("second contents") << head + "@topic 2 contents Again\n<p>x</p>\n" << "line 4: a second contents topic (the first is on line 2)";
        QTest::newRow("no contents") << QByteArray("QUANTIX96-HELP 1\n@topic 2 window Two\n<p>x</p>\n") << "line 1: there is no contents topic";
        QTest::newRow("empty topic") << QByteArray("QUANTIX96-HELP 1\n@topic 1 contents C\n \n# only a comment\n@topic 2 window Two\n<p>x</p>\n") << "line 2: topic 1 has no text";
        QTest::newRow("empty last topic") << head + "@topic 2 window Two\n\n\n" << "line 4: topic 2 has no text";
        QTest::newRow("script") << head + "@topic 2 window Two\n<p>x</p>\n<script>alert(1)</script>\n" << "line 6: the tag \"script\" is not allowed";
        QTest::newRow("image") << head + "@topic 2 window Two\n<p>x</p>\n# comment\n<p><img src=\"/etc/passwd\"></p>\n" << "line 7: the tag \"img\" is not allowed";
        QTest::newRow("style") << head + "@topic 2 window Two\n<p style=\"color:red\">x</p>\n" << "line 5: the attribute \"style\" is not allowed in the tag \"p\"";
        QTest::newRow("event handler") << head + "@topic 2 window Two\n<p\nonclick=x>x</p>\n" << "line 5: the attribute \"onclick\" is not allowed";
        QTest::newRow("link outside") << head + "@topic 2 window Two\n<a href=\"https://example.com\">x</a>\n" << "line 5: the link \"https://example.com\" does not name a topic";
        QTest::newRow("link to a file") << head + "@topic 2 window Two\n<a href='file:///etc/passwd'>x</a>\n" << "line 5: the link \"file:///etc/passwd\" does not name a topic";
        QTest::newRow("link nowhere") << head + "@topic 2 window Two\n<p>x</p>\n\n<a href=\"topic:77\">x</a>\n" << "line 7: a link to topic 77, which the file does not have";
        QTest::newRow("stray less-than") << head + "@topic 2 window Two\n<p>1 < 2</p>\n" << "line 5: a less-than sign that does not start a tag";
        QTest::newRow("comment markup") << head + "@topic 2 window Two\n<!-- x -->\n" << "line 5: a less-than sign";
        QTest::newRow("tag not closed") << head + "@topic 2 window Two\n<p>x</p><b" << "line 5: the tag \"b\" is not closed";
        QTest::newRow("value not closed") << head + "@topic 2 window Two\n<a href=\"topic:1>x</a>\n" << "line 5: the value of \"href\" in the tag \"a\" is not closed";
        QTest::newRow("closing tag with attribute") << head + "@topic 2 window Two\n<p>x</p align=left>\n" << "line 5: the closing tag \"p\" has attributes";
        QTest::newRow("bare ampersand") << head + "@topic 2 window Two\n<p>R&D</p>\n" << "line 5: an ampersand";
        QTest::newRow("not UTF-8") << head + "@topic 2 window Two\n<p>caf\xE9</p>\n" << "line 5: the text is not UTF-8";
        QTest::newRow("control character") << head + "@topic 2 window Two\n<p>a\x01</p>\n" << "line 5: the text contains a control character";
        QTest::newRow("NUL") << head + "@topic 2 window Two\n<p>a" + '\0' + "b</p>\n" << "line 5: the text contains a control character";
    }

    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, where);
        const QString path = QStringLiteral("/help/Quantix 96.hlp");
        const HelpFile file = HelpFile::parse(data, path);
        QVERIFY(!file.isValid());
        const QString expected = QStringLiteral("The help file \"%1\" is damaged: %2").arg(QDir::toNativeSeparators(path), where);
        QVERIFY2(file.errorText().startsWith(expected), qPrintable(file.errorText()));
        QVERIFY(file.errorText().endsWith(u'.'));
        // Nothing of a damaged file is offered.
        QVERIFY(file.topics().isEmpty());
        QVERIFY(!file.contents() && !file.topic(1) && !file.popupFor(u"txtunit1"));
        QVERIFY(file.search(u"x").isEmpty());
    }

    void missingAndUnusableFiles()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("Quantix 96.hlp"));
        QCOMPARE(HelpFile::load(missing).errorText(), QStringLiteral("The help file \"%1\" could not be found.").arg(QDir::toNativeSeparators(missing)));
        QCOMPARE(HelpFile::load(dir.path()).errorText(), QStringLiteral("The help file \"%1\" could not be found.").arg(QDir::toNativeSeparators(dir.path())));

        QFile big(missing);
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(minimalFile);
        big.write(QByteArray(HelpFile::maximumSize, '#'));
        big.close();
        QCOMPARE(HelpFile::load(missing).errorText(), QStringLiteral("The help file \"%1\" is damaged: it is larger than 4 MB.").arg(QDir::toNativeSeparators(missing)));

        QVERIFY(big.resize(minimalFile.size()));
        QVERIFY2(HelpFile::load(missing).isValid(), qPrintable(HelpFile::load(missing).errorText()));
        if (::geteuid() == 0)
            QSKIP("file permissions do not stop the superuser");
        QVERIFY(big.setPermissions(QFileDevice::WriteOwner));
        QVERIFY(HelpFile::load(missing).errorText().startsWith(QStringLiteral("The help file \"%1\" could not be read: ").arg(QDir::toNativeSeparators(missing))));
    }

    // Garbage of any size ends in a message, quickly: the reader is linear.
    void garbageIsRefusedWithoutHarm()
    {
        QRandomGenerator random(96);
        QByteArray noise(10 * 1024 * 1024, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QVERIFY(HelpFile::parse(noise, QStringLiteral("x")).errorText().contains(QLatin1String("damaged: line 1:")));
        QVERIFY(HelpFile::parse("QUANTIX96-HELP 1\n" + noise, QStringLiteral("x")).errorText().contains(QLatin1String("damaged: line 2:")));

        // A message quotes the file briefly, however long the bad line.
        const QString longLine = HelpFile::parse("QUANTIX96-HELP 1\n@" + QByteArray(100000, 'x'), QStringLiteral("x")).errorText();
        QVERIFY2(longLine.contains(QLatin1String("line 2: unknown heading")) && longLine.size() < 200, qPrintable(longLine));

        // One huge topic whose last line is bad: found, and on the right line.
        QByteArray huge = "QUANTIX96-HELP 1\n@topic 1 contents C\n";
        for (int i = 0; i < 100000; ++i)
            huge += "<b>x</b>\n";
        huge += "<img>\n";
        QVERIFY(huge.size() < HelpFile::maximumSize);
        const QString hugeError = HelpFile::parse(huge, QStringLiteral("x")).errorText();
        QVERIFY2(hugeError.contains(QLatin1String("line 100003: the tag \"img\"")), qPrintable(hugeError));

        // The shipped file cut short or with one byte changed: a usable file or a message.
        const QByteArray shipped = readAll(sourceHelpFile());
        for (int i = 0; i < 1000; ++i) {
            QByteArray damaged = shipped;
            const qsizetype at = random.bounded(qsizetype(damaged.size()));
            if (i % 3 == 0)
                damaged.truncate(at);
            else
                damaged[at] = char(random.bounded(256));
            const HelpFile file = HelpFile::parse(damaged, QStringLiteral("x"));
            QVERIFY(file.isValid() != file.errorText().startsWith(QLatin1String("The help file \"x\" is damaged: line ")));
        }
    }

    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QList<int>>("found");
        QTest::newRow("title word") << "light" << QList<int>{2};
        QTest::newRow("any case, any order") << "LIGHT speed" << QList<int>{2};
        QTest::newRow("every word must occur") << "light zebra" << QList<int>{};
        QTest::newRow("words in two places") << "length mass" << QList<int>{1};
        QTest::newRow("part of a word") << "vacu" << QList<int>{2};
        QTest::newRow("popup title") << "input" << QList<int>{3};
        QTest::newRow("cells stay apart") << "typehere" << QList<int>{};
        QTest::newRow("across cells") << "type here" << QList<int>{3};
        QTest::newRow("markup is not text") << "table" << QList<int>{};
        QTest::newRow("attribute is not text") << "topic" << QList<int>{};
        QTest::newRow("character names decoded") << "&" << QList<int>{2};
        QTest::newRow("several topics") << "e" << QList<int>{1, 2, 3};
        QTest::newRow("blanks around") << "  \t light \t " << QList<int>{2};
        QTest::newRow("nothing asked") << "" << QList<int>{};
        QTest::newRow("only blanks") << "   " << QList<int>{};
    }

    void search()
    {
        QFETCH(QString, query);
        QFETCH(QList<int>, found);
        const HelpFile file = HelpFile::parse("QUANTIX96-HELP 1\n"
                                              "@topic 1 contents Contents\n"
                                              "<p>Overview of <b>Length</b> and <a href=\"topic:2\">mass</a>.</p>\n"
                                              "@topic 2 window Speed of Light\n"
                                              "<p>299 792 458 m/s in vacuum &amp; more</p>\n"
                                              "@topic 3 popup txtunit1 Input value\n"
                                              "<table><tr><td>type</td><td>here</td></tr></table>\n",
                                              QStringLiteral("x"));
        QVERIFY2(file.isValid(), qPrintable(file.errorText()));
        QList<int> contexts;
        for (const HelpTopic *topic : file.search(query))
            contexts << topic->context;
        QCOMPARE(contexts, found);
    }

    void searchingTheShippedFile()
    {
        const auto contexts = [this](const char *query) {
            QList<int> found;
            for (const HelpTopic *topic : m_shipped.search(QString::fromUtf8(query)))
                found << topic->context;
            return found;
        };
        QVERIFY(contexts("speed of light").contains(HelpContext::physicalConstants));
        QVERIFY(contexts("QUETTA").contains(HelpContext::metricPrefixes));
        QVERIFY(contexts("&HFF").contains(m_shipped.popupFor(u"txtunit1")->context));
        QVERIFY(contexts("nowrap").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHelpFile)
#include "tst_helpfile.moc"

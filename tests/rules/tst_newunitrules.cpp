#include "engine/errors.h"
#include "engine/numbers.h"
#include "rules/newunitrules.h"
#include "rules/userunits.h"
#include "settings/settingsstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

namespace {

// Rows from "name=factor" texts, row i from texts[i].
NewUnitRows makeRows(const QStringList &texts)
{
    NewUnitRows rows;
    for (int i = 0; i < texts.size(); ++i) {
        const qsizetype at = texts[i].indexOf(u'=');
        rows[std::size_t(i)] = {texts[i].left(at), at < 0 ? QString() : texts[i].mid(at + 1)};
    }
    return rows;
}

// The keys and values written, in order.
QList<std::pair<QString, QString>> keysAndValues(const SettingWrites &writes)
{
    QList<std::pair<QString, QString>> written;
    for (const SettingWrite &write : writes)
        written.append({write.key, write.value});
    return written;
}

}

// What OK in the new-unit dialog makes of the rows typed.
class TestNewUnitRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    UserUnitStore m_store;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    void init() { QFile::remove(settingsLocation()); }

    // Refusals name the box that takes the focus; a bad factor in a filled
    // row is found before a gap in the names.
    void checks_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<int>("row");
        using R = NewUnitVerdict::Refusal;
        QTest::newRow("gap after rows 0 and 1") << QStringList{"a=1", "b=2", "", "d=4"} << int(R::NotConsecutive) << 3;
        QTest::newRow("bad factor before the gap") << QStringList{"a=1", "b=x", "", "d=4"} << int(R::FactorNotANumber) << 1;
        QTest::newRow("empty factor") << QStringList{"a=1", "b="} << int(R::FactorNotANumber) << 1;
        QTest::newRow("blank-only name is an empty row") << QStringList{" "} << int(R::None) << -1;
        QTest::newRow("blank-only name is a gap") << QStringList{"a=1", "  =5", "c=3"} << int(R::NotConsecutive) << 2;
        QTest::newRow("focus on the highest row") << QStringList{"a=1", "", "", "", "", "f", "", "", "", "j"} << int(R::NotConsecutive) << 9;
        QTest::newRow("too large for a double") << QStringList{"a=1e999"} << int(R::FactorNotANumber) << 0;
        QTest::newRow("text after the number") << QStringList{"a=12abc"} << int(R::FactorNotANumber) << 0;
        QTest::newRow("blank name after the gap") << QStringList{"a=1", "", " "} << int(R::None) << -1;
        QTest::newRow("built-in unit") << QStringList{"span=1", "metre (m)=1"} << int(R::NameTaken) << 1;
        QTest::newRow("built-in unit without symbol") << QStringList{"span=1", "Ell=2"} << int(R::NameTaken) << 1;
        QTest::newRow("built-in unit, other case and blanks") << QStringList{" METRE (M) =1"} << int(R::NameTaken) << 0;
        QTest::newRow("earlier row") << QStringList{"pace=1", "span=2", " Pace=3"} << int(R::NameTaken) << 2;
        QTest::newRow("bad factor before the name") << QStringList{"pace=x", "pace=1"} << int(R::FactorNotANumber) << 0;
        QTest::newRow("gap before the name") << QStringList{"pace=1", "pace=1", "", "d=1"} << int(R::NotConsecutive) << 3;
        QTest::newRow("unit of another quantity") << QStringList{"gram (g)=1"} << int(R::None) << -1;
        QTest::newRow("name containing a built-in one") << QStringList{"metre (m) 2=1"} << int(R::None) << -1;
    }

    void checks()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, refusal);
        QFETCH(int, row);
        const NewUnitVerdict verdict = checkNewUnits("Length", makeRows(rows));
        QCOMPARE(int(verdict.refusal), refusal);
        QCOMPARE(verdict.row, row);
        QCOMPARE(verdict.writes.isEmpty(), refusal != int(NewUnitVerdict::Refusal::None));
    }

    void acceptedRowsAreWrittenTrimmedInOrder()
    {
        NewUnitVerdict verdict = checkNewUnits("Mass", makeRows({"zero=0", " neg =-2", "  =  1.5e3 "}));
        QCOMPARE(verdict.refusal, NewUnitVerdict::Refusal::None);
        QCOMPARE(verdict.writes.size(), 21);
        QCOMPARE(keysAndValues(verdict.writes.mid(0, 6)), (QList<std::pair<QString, QString>>{
                     {"Mass1", "zero"}, {"Massfactor1", "0"}, {"Mass2", "neg"}, {"Massfactor2", "-2"}, {"Mass3", ""}, {"Massfactor3", "1.5e3"}}));
        // the row of blanks ends the units
        QCOMPARE(keysAndValues(verdict.writes).last(), (std::pair<QString, QString>{"Massnumber", "2"}));

        verdict = checkNewUnits("Mass", makeRows({}), makeRows({"gone=1"}));
        QCOMPARE(verdict.writes.size(), 21);
        QCOMPARE(keysAndValues(verdict.writes).last(), (std::pair<QString, QString>{"Massnumber", "0"}));
        for (int i = 0; i < 20; ++i)
            QCOMPARE(verdict.writes[i].value, QString());

        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten << QStringLiteral("u%1=%1").arg(i + 1);
        QCOMPARE(checkNewUnits("Mass", makeRows(ten)).writes.last().value, QStringLiteral("10"));
    }

    // The units are one list: rows as loaded keep whatever the store holds by
    // then (another copy of the program may have changed the list); one
    // changed row writes every key, so that no name meets a factor of
    // another list.
    void unitsAreWrittenAsOneList_data()
    {
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("kept");
        QTest::newRow("nothing loaded, nothing typed") << QStringList{} << QStringList{} << true;
        QTest::newRow("as loaded") << QStringList{"span=0.2286", "cubit=0.4572"} << QStringList{"span=0.2286", "cubit=0.4572"} << true;
        QTest::newRow("one factor changed") << QStringList{"span=0.2286", "cubit=0.4572"} << QStringList{"span=0.2286", "cubit=0.45"}
                                            << false;
        QTest::newRow("a unit added") << QStringList{"span=0.2286"} << QStringList{"span=0.2286", "pace=0.762"} << false;
        QTest::newRow("blanks added") << QStringList{"span=0.2286"} << QStringList{"span =0.2286"} << false;
    }

    void unitsAreWrittenAsOneList()
    {
        QFETCH(QStringList, loaded);
        QFETCH(QStringList, rows);
        QFETCH(bool, kept);
        const NewUnitVerdict verdict = checkNewUnits("Length", makeRows(rows), makeRows(loaded));
        QCOMPARE(verdict.writes.size(), 21);
        for (const SettingWrite &write : verdict.writes) {
            QCOMPARE(write.section, section::userunits);
            QCOMPARE(write.keepStored, kept);
        }
    }

    // The dialog's check and the conversion read a factor text alike.
    void checkAndConversionAgree_data()
    {
        QTest::addColumn<QString>("factor");
        for (const char *text : {"2", " 1.5e3 ", "-2", "0.5", ".5", "1E2", "+3", "1e999", "abc", "", " ", "1,5", "0x10", "nan", "inf", "1 2"})
            QTest::newRow(text[0] ? text : "empty") << QString::fromLatin1(text);
    }

    void checkAndConversionAgree()
    {
        QFETCH(QString, factor);
        const bool accepted = checkNewUnits("Length", makeRows({"w=" + factor})).refusal == NewUnitVerdict::Refusal::None;
        m_store.write("Lengthnumber", "1");
        m_store.write("Length1", "w");
        m_store.write("Lengthfactor1", factor.trimmed());
        const Quantity &length = *Catalogue::instance().byName(u"Length");
        const Converter converter(length, readUserUnits(length, m_store));
        try {
            const double metres = converter.convert("w", "metre (m)", 2);
            QVERIFY2(accepted, "converted a factor the dialog refuses");
            QCOMPARE(metres, 2 * *readStoredFactor(factor));
        } catch (const ConversionError &error) {
            QVERIFY2(!accepted, "refused a factor the dialog accepts");
            QCOMPARE(error.number(), ErrorNumber::TypeMismatch);
        }
    }
};

QTEST_GUILESS_MAIN(TestNewUnitRules)
#include "tst_newunitrules.moc"

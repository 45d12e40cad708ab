#include "engine/errors.h"
#include "engine/numbers.h"
#include "rules/userunits.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

// The user units as the store holds them, read for the converter.
class TestUserUnits : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    UserUnitStore m_store;

    static const Quantity &quantity(const char *name) { return *Catalogue::instance().byName(QString::fromLatin1(name)); }

    void addUserUnit(const QString &q, int position, const QString &name, const QString &factor)
    {
        QVERIFY(m_store.write(UserUnitStore::nameKey(q, position), name));
        QVERIFY(m_store.write(UserUnitStore::factorKey(q, position), factor));
    }

    QString shown(const char *q, const QString &from, const QString &to, double value)
    {
        const Converter converter(quantity(q), readUserUnits(quantity(q), m_store));
        return formatResult(converter.convert(from, to, value), {}, u".");
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    void init() { QFile::remove(settingsLocation()); }

    // The stored positions in order; a factor that is not a number is kept
    // as none, and fails only the conversions through that unit.
    void positionsAndFactors()
    {
        WriteSetting(section::userunits, "Lengthnumber", "3");
        addUserUnit("Length", 1, "widget", "2.5");
        addUserUnit("Length", 2, "broken", "big");
        addUserUnit("Length", 4, "beyond", "4");
        const UserUnits units = readUserUnits(quantity("Length"), m_store);
        QVERIFY(!units.damaged);
        QCOMPARE(units.units, (QList<UserUnit>{{"widget", 2.5}, {"broken", std::nullopt}, {"", 0}}));
        QCOMPARE(userUnitNames(units), QStringList({"widget", "broken", ""}));
        QCOMPARE(shown("Length", "widget", "metre (m)", 4), QStringLiteral("10.000"));
    }

    // A count that is not a whole number damages the quantity's user units;
    // a negative count has none; counts above 10 read ten positions, so a
    // huge count cannot stall a reader.
    void storedCounts_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<int>("positions");
        QTest::newRow("two") << " 2 " << false << 2;
        QTest::newRow("not a number") << "two" << true << 0;
        QTest::newRow("negative") << "-4" << false << 0;
        QTest::newRow("above ten") << "12" << false << 10;
        QTest::newRow("huge") << "2000000000" << false << 10;
        QTest::newRow("absent") << QString() << false << 0;
    }

    void storedCounts()
    {
        QFETCH(QString, count);
        QFETCH(bool, damaged);
        QFETCH(int, positions);
        if (!count.isNull())
            WriteSetting(section::userunits, "Timenumber", count);
        for (int n = 1; n <= 11; ++n)
            addUserUnit("Time", n, QStringLiteral("t%1").arg(n), QString::number(n));
        const UserUnits units = readUserUnits(quantity("Time"), m_store);
        QCOMPARE(units.damaged, damaged);
        QCOMPARE(units.units.size(), positions);
        QCOMPARE(m_store.positions("Time"), damaged ? std::nullopt : std::optional<int>(positions));
    }

    // A name longer than the new-unit dialog takes is listed and converted
    // by its first 60 characters; the store keeps it whole.
    void longNamesAreCut_data()
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

    void longNamesAreCut()
    {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        WriteSetting(section::userunits, "Lengthnumber", "2");
        addUserUnit("Length", 1, stored, "2.5");
        addUserUnit("Length", 2, "widget", "4");
        QCOMPARE(userUnitNames(readUserUnits(quantity("Length"), m_store)), QStringList({read, "widget"}));
        QCOMPARE(shown("Length", read, "widget", 8), QStringLiteral("5.000"));
        QCOMPARE(ReadSetting(section::userunits, "Length1", QString()), stored.trimmed());
    }

    // Each reading sees what the store holds then: another copy of the
    // program may have changed a factor.
    void eachReadingSeesTheStoreAsItIs()
    {
        WriteSetting(section::userunits, "Massnumber", "1");
        addUserUnit("Mass", 1, "sack", "50");
        QCOMPARE(shown("Mass", "sack", "kilogram (kg)", 2), QStringLiteral("100.000"));
        WriteSetting(section::userunits, "Massfactor1", "25");
        QCOMPARE(shown("Mass", "sack", "kilogram (kg)", 2), QStringLiteral("50.000"));
    }
};

QTEST_GUILESS_MAIN(TestUserUnits)
#include "tst_userunits.moc"

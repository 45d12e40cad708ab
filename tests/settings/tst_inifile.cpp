#include "settings/inifile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;

// The settings file edited line by line: what it writes must be what
// QSettings writes and reads, and every other byte stays.
class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // The line QSettings itself writes for section/key = value.
    QByteArray qsettingsLine(const QString &key, const QString &value)
    {
        const QString path = m_dir.filePath("reference.ini");
        QFile::remove(path);
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue("s/" + key, value);
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QByteArray contents = file.readAll();
        contents.remove(0, qsizetype(sizeof "[s]\n") - 1);
        contents.chop(1);
        return contents;
    }

    QString qsettingsRead(const QByteArray &contents, const QString &key)
    {
        const QString path = m_dir.filePath("read.ini");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return "(not written)";
        file.write(contents);
        file.close();
        return QSettings(path, QSettings::IniFormat).value(key, "(absent)").toString();
    }

private slots:
    // Keys are display names with blanks, symbols and escapes of the store's
    // own; values are whatever a user may type (a path, a unit's name).
    void writesWhatQSettingsWrites_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "left" << "3000";
        QTest::newRow("unit name") << "metre per second squared (m%2Fs\u00b2)" << "1";
        QTest::newRow("micro and blanks") << "micrometre (micron)  (\u00b5m)" << "0";
        QTest::newRow("beyond Latin-1") << "\u2070\u2126 key" << "1";
        QTest::newRow("surrounding blanks") << "top" << " 250 ";
        QTest::newRow("comma") << "shellprog" << "/usr/bin/a, b";
        QTest::newRow("equals and semicolon") << "k" << "a=b;c";
        QTest::newRow("quotes and backslashes") << "shellprog" << "c:\\windows\\\"calc\".exe";
        QTest::newRow("leading at") << "Length1" << "@Invalid()";
        QTest::newRow("control characters") << "k" << QString("tab\tnew\nline\x01" "a\x1f" "9");
        QTest::newRow("nul before a digit") << "k" << QString::fromUtf16(u"a\u00001b", 4);
        QTest::newRow("non-ASCII text") << "Length1" << "\u00e9l\u00e9phant \U0001F418";
        QTest::newRow("empty") << "k" << "";
        QTest::newRow("hash and bracket") << "k" << "#[x]";
    }

    void writesWhatQSettingsWrites()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QByteArray line = ini::escapedKey(key) + '=' + ini::escapedValue(value);
        QCOMPARE(line, qsettingsLine(key, value));
        QCOMPARE(ini::unescapedKey(ini::escapedKey(key)), key);
        QCOMPARE(qsettingsRead(ini::withValue("", u"s", key, value), "s/" + key), value);
    }

    void editsOneLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replaced in place") << QByteArray("[settings]\nleft=1\ntop=2\n") << "settings" << "left"
                                           << QByteArray("[settings]\nleft=300\ntop=2\n");
        QTest::newRow("hand-written spacing, comment kept")
            << QByteArray("; mine\n[settings]\n  left = 1   ; moved by hand\ntop=2\n") << "settings" << "left"
            << QByteArray("; mine\n[settings]\n  left = 300   ; moved by hand\ntop=2\n");
        QTest::newRow("the later of two is the one read")
            << QByteArray("[settings]\nleft=1\n[units]\nLength=0\n[settings]\nleft=2\n") << "settings" << "left"
            << QByteArray("[settings]\nleft=1\n[units]\nLength=0\n[settings]\nleft=300\n");
        QTest::newRow("new key ends its section") << QByteArray("[settings]\ntop=2 ;c\n\n[units]\nLength=0\n") << "settings"
                                                  << "left" << QByteArray("[settings]\ntop=2 ;c\nleft=300\n\n[units]\nLength=0\n");
        QTest::newRow("new key in an empty section") << QByteArray("[settings]\n[units]\n") << "settings" << "left"
                                                     << QByteArray("[settings]\nleft=300\n[units]\n");
        QTest::newRow("new section, no final line end") << QByteArray("[units]\nLength=0") << "settings" << "left"
                                                        << QByteArray("[units]\nLength=0\n\n[settings]\nleft=300\n");
        QTest::newRow("empty file") << QByteArray() << "settings" << "left" << QByteArray("[settings]\nleft=300\n");
        QTest::newRow("CR LF file") << QByteArray("[settings]\r\ntop=2\r\n") << "settings" << "left"
                                    << QByteArray("[settings]\r\ntop=2\r\nleft=300\r\n");
        QTest::newRow("value over several lines") << QByteArray("[settings]\nleft=\"1\n2\"\ntop=2\n") << "settings"
                                                  << "left" << QByteArray("[settings]\nleft=300\ntop=2\n");
        QTest::newRow("escaped key") << QByteArray("[units]\nmetre%20per%20second%20squared%20(m%252Fs%B2)=1\n") << "units"
                                     << "metre per second squared (m%2Fs\u00b2)"
                                     << QByteArray("[units]\nmetre%20per%20second%20squared%20(m%252Fs%B2)=300\n");
        QTest::newRow("a key of another section") << QByteArray("[units]\nleft=1\n") << "settings" << "left"
                                                  << QByteArray("[units]\nleft=1\n\n[settings]\nleft=300\n");
        QTest::newRow("lines that cannot be read")
            << QByteArray("garbage\n[settings]\nnot a key line\ntop=2\n\x01\xff\n[broken\nLength=0\n") << "settings"
            << "left" << QByteArray("garbage\n[settings]\nnot a key line\ntop=2\n\x01\xff\nleft=300\n[broken\nLength=0\n");
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf[settings]\nleft=1\n") << "settings" << "left"
                                         << QByteArray("\xef\xbb\xbf[settings]\nleft=300\n");
    }

    void editsOneLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        const QByteArray edited = ini::withValue(before, section, key, u"300");
        QCOMPARE(edited, after);
        QCOMPARE(qsettingsRead(edited, section + '/' + key), QStringLiteral("300"));
    }

    // Keys set in one pass make the same file as keys set one after another;
    // a kept value stays where the file holds the key (QSettings reads it)
    // and is set where it does not.
    void manyKeysInOnePass_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("sections twice, comments") << QByteArray("; c\n[settings]\nleft=1 ; x\n\n[units]\nLength=0\n[settings]\ntop=2\n");
        QTest::newRow("CR LF, no final line end") << QByteArray("[units]\r\nLength=0");
        QTest::newRow("empty value last") << QByteArray("[settings]\ntop=");
        QTest::newRow("lines that cannot be read") << QByteArray("garbage\n[settings\nleft=1\n");
    }

    void manyKeysInOnePass()
    {
        QFETCH(QByteArray, file);
        const QList<ini::Assignment> assignments{
            {"settings", "left", "300"},       {"userunits", "Length1", "span"}, {"settings", "new", "a, b"},
            {"userunits", "Length1", "cubit"}, {"units", "Length", "1"},        {"settings", "top", "9", true},
            {"userunits", "Length1", "x", true}, {"zz", "k", "v", true},
        };
        QByteArray inTurn = file;
        for (const ini::Assignment &assignment : assignments) {
            if (!assignment.keepStored || qsettingsRead(inTurn, assignment.section + '/' + assignment.key) == "(absent)")
                inTurn = ini::withValue(inTurn, assignment.section, assignment.key, assignment.value);
        }
        QCOMPARE(ini::withValues(file, assignments), inTurn);
        QCOMPARE(qsettingsRead(inTurn, "userunits/Length1"), QStringLiteral("cubit"));
    }

    void damage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("comments, blanks, CR LF") << QByteArray("; a\r\n\r\n[s]\r\n  k = v ; note\r\n# x=1\r\n") << false;
        QTest::newRow("quoted value with symbols") << QByteArray("[s]\nk=\"a;b\nc\"\n") << false;
        QTest::newRow("continued line") << QByteArray("[s]\nk=a\\\nb\n") << false;
        QTest::newRow("line without equals") << QByteArray("[s]\nk=1\njust words\n") << true;
        QTest::newRow("text before a semicolon") << QByteArray("[s]\nabc;def\n") << true;
        QTest::newRow("unclosed section") << QByteArray("[s\nk=1\n") << true;
        QTest::newRow("binary") << QByteArray("\x01\x02\xff\xfe") << true;
    }

    void damage()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, damaged);
        QCOMPARE(ini::isDamaged(file), damaged);
        const QString path = m_dir.filePath("status.ini");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(file);
        out.close();
        QSettings settings(path, QSettings::IniFormat);
        settings.allKeys();
        QCOMPARE(settings.status() == QSettings::FormatError, damaged);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"

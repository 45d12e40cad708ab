#include "records/conversionrecords.h"
#include "records/recordsfile.h"
#include "recordstesting.h"
#include "records/rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

using namespace quantix;
using namespace quantix::testing;

namespace {

const QString area = QStringLiteral("3. (Area)  2 hectare (ha)  =  20000 square metre (m²)");

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// unrtf's HTML names the font, size, colour and styles; its text collapses
// runs of blanks, so the comparison does too.
QString collapsed(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
}

// The text of unrtf's HTML body: line breaks, no tags, entities decoded.
QString htmlText(QString html)
{
    html.remove(u'\n').replace(QStringLiteral("<br>"), QStringLiteral("\n"));
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    const std::pair<const char *, const char *> entities[] = {
        {"&sup2;", "²"}, {"&sup3;", "³"},   {"&micro;", "µ"}, {"&deg;", "°"}, {"&middot;", "·"},
        {"&Aring;", "Å"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto &[entity, text] : entities)
        html.replace(QLatin1String(entity), QString::fromUtf8(text));
    return html;
}

}

// The records text, the two file formats and how a records file is written.
class TestRecordsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { useUtc(); }

    void recordsText_data()
    {
        QTest::addColumn<QList<ConversionRecord>>("records");
        QTest::addColumn<QString>("lines");
        const ConversionRecord length{"Length", "metre (m)", "foot (ft)", "2", "6.562"};
        const ConversionRecord typed{"Temperature", "Celsius (°C)", "Kelvin (K)", " -40,5x", "233.150"};
        QTest::newRow("no records") << QList<ConversionRecord>{} << QString();
        QTest::newRow("the same conversion twice")
            << QList<ConversionRecord>{length, length}
            << "\r\n1. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n2. (Length)  2 metre (m)  =  6.562 foot (ft)";
        QTest::newRow("typed text kept as typed")
            << QList<ConversionRecord>{length, typed}
            << "\r\n1. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n2. (Temperature)   -40,5x Celsius (°C)  =  233.150 Kelvin (K)";
    }

    void recordsText()
    {
        QFETCH(QList<ConversionRecord>, records);
        QFETCH(QString, lines);
        ConversionRecords list;
        for (const ConversionRecord &record : records)
            list.append(record);
        const QDateTime when(QDate(2026, 3, 3), QTime(14, 5, 9));
        const QString header = QStringLiteral("Quantix 96 - Conversion Records         2:05:09 PM UTC  Tuesday, March 3, 2026\r\n");
        QCOMPARE(list.text(when, QLocale(QLocale::English, QLocale::UnitedStates)), header + lines);
    }

    void formatFollowsTheName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("txt") << "records.txt" << true;
        QTest::newRow("capital TXT") << "RECORDS.TXT" << true;
        QTest::newRow("rtf") << "records.rtf" << false;
        QTest::newRow("no extension") << "records" << false;
        QTest::newRow("txt inside the name") << "records.txt.old" << false;
        QTest::newRow("folder named .txt") << "x.txt/records" << false;
    }

    void formatFollowsTheName()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        const QString text = "Header\r\n\r\n" + area;
        const QByteArray content = recordsFileContent(name, text, PrintFont());
        if (plain)
            QCOMPARE(content, (text + "\r\n").toUtf8());  // the test runs in a UTF-8 locale
        else
            QVERIFY(content.startsWith("{\\rtf1\\ansi"));
    }

    void rtfIsAsciiWithEscapes()
    {
        const QByteArray rtf = recordsRtf(QStringLiteral("a\\b {c}\r\nµ°·Å ²³ 𝄞\n") + area, PrintFont());
        for (const char c : rtf)
            QVERIFY2(uchar(c) < 0x80, rtf.constData());
        QVERIFY(rtf.contains("a\\\\b \\{c\\}\\par\r\n\\u181\\'b5\\u176\\'b0\\u183\\'b7\\u197\\'c5 \\u178\\'b2\\u179\\'b3 "
                             "\\u-10188\\'3f\\u-8930\\'3f\\par\r\n"));
        QVERIFY(rtf.contains("3. (Area)  2 hectare (ha)  =  20000 square metre (m\\u178\\'b2)\r\n}"));
    }

    void rtfReadByAnotherProgram_data()
    {
        QTest::addColumn<PrintFont>("font");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("absent");
        PrintFont styled{"Liberation Serif", "16", 0x8000FF, true, true, true};
        QTest::newRow("bold italic underlined in colour")
            << styled << QStringList{"face=\"Liberation Serif\"", "font-size:16pt", "color=\"#ff0080\"", "<b>", "<i>", "<u>"}
            << QStringList{};
        PrintFont plain{"DejaVu Sans", "20", 0x00FF00, false, false, false};
        QTest::newRow("plain") << plain << QStringList{"face=\"DejaVu Sans\"", "font-size:20pt", "color=\"#00ff00\""}
                               << QStringList{"<b>", "<i>", "<u>"};
    }

    void rtfReadByAnotherProgram()
    {
        QFETCH(PrintFont, font);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, absent);
        const QString text = QStringLiteral("Quantix 96 - Conversion Records\r\n\r\n1. (X)  a {b} c\\d  =  µ°·Å ²³\r\n") + area;
        const QString file = path("read.rtf");
        QVERIFY(!writeRecordsFile(file, recordsFileContent(file, text, font)));
        const QString html = QString::fromUtf8(runReader("unrtf", {"--html", file}));
        QVERIFY2(!html.isEmpty(), "unrtf did not read the file");
        for (const QString &piece : expected)
            QVERIFY2(html.contains(piece), qPrintable(piece + " not in " + html));
        for (const QString &piece : absent)
            QVERIFY2(!html.contains(piece), qPrintable(piece));
        const QString body = html.section("<body>", 1).section("</body>", 0, 0);
        QCOMPARE(htmlText(body).trimmed(), collapsed(QString(text).replace("\r\n", "\n")));
    }

    void savedFileReplacesTheOldOne()
    {
        const QString file = path("replace.txt");
        QVERIFY(writeFile(file, QByteArray(10000, 'x')));
        QVERIFY(!writeRecordsFile(file, "short\r\n"));
        QCOMPARE(readAll(file), QByteArray("short\r\n"));
    }

    // State: no file, or something other than a regular file at the name
    // (nothing waits for a FIFO's reader). Action: a write. Expected: the
    // system's error text or the refusal, and what was there as it was.
    void failedWritesKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("error");
        const int system = int(FileFailure::Reason::System);
        const int notRegular = int(FileFailure::Reason::NotRegularFile);
        QTest::newRow("missing folder") << path("missing/records.txt") << system << "No such file or directory";
        QTest::newRow("name of a folder") << m_dir.path() << notRegular << "";
        QTest::newRow("full device") << "/dev/full" << notRegular << "";
        QTest::newRow("FIFO") << path("fifo.txt") << notRegular << "";
        QTest::newRow("symbolic link to a device") << path("null.txt") << notRegular << "";
    }

    void failedWritesKeepTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(int, reason);
        QFETCH(QString, error);
        QVERIFY(mkfifo(qPrintable(path("fifo.txt")), 0600) == 0 || errno == EEXIST);
        QFile::link("/dev/null", path("null.txt"));
        const std::optional<FileFailure> failure = writeRecordsFile(name, QByteArray(100000, 'r'));
        QVERIFY(failure);
        QCOMPARE(failure->fileName, name);
        QCOMPARE(int(failure->reason), reason);
        QVERIFY2(failure->systemText.contains(error, Qt::CaseInsensitive), qPrintable(failure->systemText));
        QVERIFY(!QFileInfo(name).isFile());  // /dev/full stays a device, the folder a folder
    }

    void readOnlyFolder()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString file = dir.filePath("old.rtf");
        QVERIFY(writeFile(file, "old"));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(writeRecordsFile(file, "new"));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readAll(file), QByteArray("old"));
    }

    // State: an older records file. Action: a save that the disk cannot take,
    // be it all of it, or only the last part, which waits in the file's
    // buffer until the commit. Expected: the system's error, the older file
    // byte for byte, and nothing left beside it.
    void fullFileSystemKeepsTheOldFile_data() { contentSizes(); }

    void fullFileSystemKeepsTheOldFile()
    {
        QFETCH(int, size);
        const QString folder = newFolder();
        QUANTIX_VERIFY_CHILD(runInChild([&] {
            if (const QString why = mountSmallFileSystem(folder, 16 * 1024); !why.isEmpty())
                return ChildOutcome::skip(why);
            if (!writeFile(folder + "/old.rtf", oldRecords()))
                return ChildOutcome::failed("no room for the older file");
            fillFileSystem(folder);
            return failedSaveKeepsTheOldFile(folder, QByteArray(size, 'r'), "No space left on device");
        }));
    }

    void fileSizeLimitKeepsTheOldFile_data() { contentSizes(); }

    void fileSizeLimitKeepsTheOldFile()
    {
        QFETCH(int, size);
        const QString folder = newFolder();
        QVERIFY(writeFile(folder + "/old.rtf", oldRecords()));
        QUANTIX_VERIFY_CHILD(runInChild([&] {
            const FileSizeLimit full(size / 2);
            return failedSaveKeepsTheOldFile(folder, QByteArray(size, 'r'), "File too large");
        }));
    }

private:
    int m_folders = 0;

    QString newFolder()
    {
        const QString name = QStringLiteral("disk%1").arg(++m_folders);
        QDir(m_dir.path()).mkdir(name);
        return path(name);
    }

    static QByteArray oldRecords() { return recordsFileContent("old.rtf", "Header\r\n\r\n" + area, PrintFont()); }

    static void contentSizes()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("a few records") << 100;
        QTest::newRow("a buffer and a part") << 20000;
        QTest::newRow("many records") << 200000;
    }

    static ChildOutcome failedSaveKeepsTheOldFile(const QString &folder, const QByteArray &content, const QString &error)
    {
        const QString file = folder + "/old.rtf";
        const std::optional<FileFailure> failure = writeRecordsFile(file, content);
        if (!failure)
            return ChildOutcome::failed("the save reported success");
        if (!failure->systemText.contains(error))
            return ChildOutcome::failed("the error reads: " + failure->systemText);
        if (readAll(file) != oldRecords())
            return ChildOutcome::failed("the older file changed");
        const QStringList left = QDir(folder).entryList({"old.rtf*"}, QDir::Files);
        if (left != QStringList{"old.rtf"})
            return ChildOutcome::failed("left beside it: " + left.join(", "));
        return ChildOutcome::passed();
    }
};

QTEST_GUILESS_MAIN(TestRecordsFile)
#include "tst_recordsfile.moc"

#include "rules/shellcommand.h"
#include "settings/settingsstore.h"
#include "support/messagelog.h"
#include "ui/common/programfiledialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;
using namespace quantix::testing;

// What Run Shell Program runs: reading the stored text, the calculator used
// when none is stored, and the dialog that picks a program.
class TestShellProgram : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;
    QByteArray m_path;

    QString bin() const { return m_dir.filePath("bin"); }

    QString makeFile(const QString &relative, bool executable)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return path;
    }

    // The names the dialog lists in its folder, as the user sees them.
    static QStringList listed(ProgramFileDialog &dialog)
    {
        auto *proxy = dialog.proxyModel();
        auto *files = qobject_cast<QFileSystemModel *>(proxy->sourceModel());
        const QModelIndex folder = proxy->mapFromSource(files->index(dialog.directory().absolutePath()));
        QStringList names;
        for (int row = 0; row < proxy->rowCount(folder); ++row)
            names << proxy->index(row, 0, folder).data().toString();
        names.sort();
        return names;
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        m_messages.install();
        m_path = qgetenv("PATH");
        QDir().mkpath(bin());
        qputenv("PATH", bin().toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void cleanupTestCase() { qputenv("PATH", m_path); }

    void init()
    {
        QFile::remove(settingsLocation());
        m_messages.clear();
        for (const QString &name : QDir(bin()).entryList(QDir::Files))
            QFile::remove(QDir(bin()).filePath(name));
    }

    void parsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("program on PATH") << "tool" << "tool" << QStringList();
        QTest::newRow("with arguments") << "tool -rpn  -x" << "tool" << QStringList{"-rpn", "-x"};
        QTest::newRow("file with blanks") << "@/sub folder/my tool" << "@/sub folder/my tool" << QStringList();
        QTest::newRow("quoted file and argument") << "\"@/sub folder/my tool\" -x \"a b\"" << "@/sub folder/my tool"
                                                  << QStringList{"-x", "a b"};
        QTest::newRow("literal quote") << "tool \"say \"\"\"hi\"\"\"\"" << "tool" << QStringList{"say \"hi\""};
        QTest::newRow("another system's path") << "c:\\windows\\calc.exe" << "c:\\windows\\calc.exe" << QStringList();
        QTest::newRow("shell characters are words") << "x; rm -rf $(pwd)" << "x;" << QStringList{"rm", "-rf", "$(pwd)"};
    }

    void parsing()
    {
        QFETCH(QString, text);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        makeFile("bin/tool", true);
        makeFile("sub folder/my tool", true);
        text.replace('@', m_dir.path());
        program.replace('@', m_dir.path());
        QCOMPARE(parseShellCommand(text), (ShellCommand{program, arguments}));
    }

    // State: no shell program stored. Expected: the first calculator found
    // on PATH, KDE's own on KDE, the key's default when there is none.
    void calculatorUsedWhenNoneIsStored()
    {
        QCOMPARE(ReadShellProgram(), QStringLiteral("calc.exe"));
        makeFile("bin/xcalc", true);
        makeFile("bin/galculator", false);
        QCOMPARE(ReadShellProgram(), QStringLiteral("xcalc"));
        makeFile("bin/kcalc", true);
        QCOMPARE(ReadShellProgram(), QStringLiteral("kcalc"));
        makeFile("bin/gnome-calculator", true);
        QCOMPARE(ReadShellProgram(), QStringLiteral("gnome-calculator"));
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        QCOMPARE(ReadShellProgram(), QStringLiteral("kcalc"));
        qunsetenv("XDG_CURRENT_DESKTOP");
        // a stored choice is used as stored, even one that cannot run here
        WriteSetting(section::settings, "shellprog", "c:\\windows\\calc.exe");
        QCOMPARE(ReadShellProgram(), QStringLiteral("c:\\windows\\calc.exe"));
    }

    // State: a folder with programs with and without extensions and plain
    // files. Expected: "Executable Files" lists the programs, "All Files"
    // everything.
    void pickerListsPrograms()
    {
        const QString folder = m_dir.filePath("programs");
        makeFile("programs/calculator", true);
        makeFile("programs/setup.EXE", false);
        makeFile("programs/run.bat", false);
        makeFile("programs/notes", false);
        makeFile("programs/readme.txt", false);
        ProgramFileDialog dialog(nullptr, "Shell Program");
        dialog.setDirectory(folder);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *types = dialog.findChild<QComboBox *>("fileTypeCombo");
        QVERIFY(types);
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QStringLiteral("Executable Files"));
        QCOMPARE(types->itemText(1), QStringLiteral("All Files"));
        QTRY_COMPARE(listed(dialog), (QStringList{"calculator", "run.bat", "setup.EXE"}));
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentIndex(), 1);
        QTRY_COMPARE(listed(dialog), (QStringList{"calculator", "notes", "readme.txt", "run.bat", "setup.EXE"}));
    }

    // The picker opens where the current program is, that program chosen; a
    // program found nowhere leaves the dialog where it would open anyway.
    void pickerStartsAtTheCurrentProgram()
    {
        makeFile("bin/tool", true);
        const QString bin = QDir(m_dir.filePath("bin")).canonicalPath();
        for (const QString &current : {QStringLiteral("tool -rpn"), m_dir.filePath("bin/tool")}) {
            ProgramFileDialog dialog(nullptr, "Shell Program", current);
            QCOMPARE(QDir(dialog.directory()).canonicalPath(), bin);
            QCOMPARE(dialog.selectedFiles().value(0), bin + "/tool");
        }
        const QString start = ProgramFileDialog(nullptr, "Shell Program").directory().absolutePath();
        QCOMPARE(ProgramFileDialog(nullptr, "Shell Program", "c:\\windows\\calc.exe").directory().absolutePath(), start);
    }

    void pickerAcceptsTypedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("file of the folder") << "calculator" << "@/programs/calculator";
        QTest::newRow("program on PATH") << "tool" << "tool";
        QTest::newRow("program on PATH with arguments") << "tool -rpn" << "tool -rpn";
        QTest::newRow("full path with arguments") << "@/programs/calculator --mode 2" << "@/programs/calculator --mode 2";
        QTest::newRow("nowhere") << "no-such-tool" << "";
        QTest::newRow("a folder opens") << "@/bin" << "";
    }

    void pickerAcceptsTypedNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        typed.replace('@', m_dir.path());
        chosen.replace('@', m_dir.path());
        makeFile("bin/tool", true);
        makeFile("programs/calculator", true);
        ProgramFileDialog dialog(nullptr, "Shell Program");
        dialog.setDirectory(m_dir.filePath("programs"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
        QVERIFY(name);
        name->setText(typed);
        QTest::keyClick(name, Qt::Key_Return);
        if (QFileInfo(typed).isDir()) {
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.directory().absolutePath(), typed);
            QCOMPARE(name->text(), QString());
            QVERIFY(m_messages.isEmpty());
        } else if (chosen.isEmpty()) {
            QVERIFY(dialog.isVisible());
            QCOMPARE(m_messages.size(), 1);
            QCOMPARE(m_messages[0].text, "\"" + typed + "\" was found neither in this folder nor on the program search path (PATH).");
        } else {
            QTRY_VERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.chosenProgram(), chosen);
            QVERIFY(m_messages.isEmpty());
        }
    }
};

QTEST_MAIN(TestShellProgram)
#include "tst_shellprogram.moc"

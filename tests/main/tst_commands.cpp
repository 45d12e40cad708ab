#include "engine/stringtable.h"
#include "settings/settingsstore.h"
#include "support/contextmenu.h"
#include "support/mainwindowdriver.h"
#include "support/messagelog.h"
#include "ui/common/clickablelabel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWhatsThis>
#include <QWindow>

using namespace quantix;
using namespace quantix::testing;

// The main window's menu commands, shortcuts and pop-up menu, offscreen.
class TestCommands : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;
    int m_dialogsClosed = 0;

    // Opens a menu as the user does, so that its enabling rule runs, and
    // closes it again.
    void openMenu(const char *name)
    {
        QMenu *menu = child<QMenu>(name);
        menu->popup(m_window->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->close();
    }

    // Closes whatever modal dialog opens next (the preferences after a
    // failed shell program start).
    void closeNextDialog()
    {
        QTimer::singleShot(0, this, [this] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                ++m_dialogsClosed;
                dialog->close();
            } else {
                closeNextDialog();
            }
        });
    }

    QString marker() const { return m_dir.filePath("marker"); }

    QString script(const QString &name, const QString &body)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        return path;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        m_messages.install();
    }

    void init()
    {
        QFile::remove(settingsLocation());
        m_messages.clear();
        m_dialogsClosed = 0;
        QGuiApplication::clipboard()->clear();
        open();
    }

    void cleanup()
    {
        m_window.reset();
        QLocale::setDefault(QLocale::c());
    }

    void copyWithoutResultRightAfterStartUp()
    {
        press(Qt::CTRL | Qt::Key_C);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"Sorry, there is no data available to copy!", QMessageBox::Information,
                                             QMessageBox::Ok, QMessageBox::NoButton, "Try Again."}));
    }

    // State: the Edit menu opened while the result is empty. Action: Ctrl+C
    // with a result. Expected: nothing until the menu is opened again.
    void shortcutsActOnTheLastOpening()
    {
        openMenu("mnuedit");
        QVERIFY(!action("mnueditedit_0")->isEnabled());
        QVERIFY(!action("mnueditswitch")->isEnabled());
        convert("Length", "metre (m)", "foot (ft)", "1");
        input()->setFocus();
        press(Qt::CTRL | Qt::Key_C);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        openMenu("mnuedit");
        QVERIFY(action("mnueditedit_0")->isEnabled());
        QVERIFY(action("mnueditswitch")->isEnabled());
        QVERIFY(!action("mnueditedit_1")->isEnabled());
        press(Qt::CTRL | Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3.281"));
        openMenu("mnuedit");
        QVERIFY(action("mnueditedit_1")->isEnabled());
    }

    void pasteTrimsTheClipboard()
    {
        convert("Length", "metre (m)", "centimetre (cm)", "1");
        QGuiApplication::clipboard()->setText("  42  ");
        action("mnueditedit_1")->trigger();
        QCOMPARE(input()->text(), QStringLiteral("42"));
        QCOMPARE(result(), QStringLiteral("4200.000"));
        QGuiApplication::clipboard()->setText("   ");
        action("mnueditedit_1")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"Sorry, there is no data available to be pasted!", QMessageBox::Information,
                                             QMessageBox::Ok, QMessageBox::NoButton, "Try Again."}));
        QCOMPARE(input()->text(), QStringLiteral("42"));
    }

    // Where the decimal separator is a comma, the result copied and pasted
    // back is the same number, and so is its record; a comma typed is the
    // decimal point; a value with two points converts what the tool tip says.
    void decimalCommaReadsBack_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << "de_DE";
        QTest::newRow("Turkish") << "tr_TR";
    }

    void decimalCommaReadsBack()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        convert("Length", "metre (m)", "foot (ft)", "");
        input()->setFocus();
        type("2.5");
        QCOMPARE(result(), QStringLiteral("8,202"));
        input()->clear();
        type("2,5");
        QCOMPARE(result(), QStringLiteral("8,202"));
        QCOMPARE(input()->toolTip(), QString());

        openMenu("mnuedit");
        press(Qt::CTRL | Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("8,202"));
        openMenu("mnuedit");
        press(Qt::CTRL | Qt::Key_V);
        QCOMPARE(input()->text(), QStringLiteral("8,202"));
        QCOMPARE(result(), QStringLiteral("26,909"));
        action("mnurecordsadd")->trigger();
        QCOMPARE(m_window->state().records.at(1).line(1), QStringLiteral("1. (Length)  8,202 metre (m)  =  26,909 foot (ft)"));

        input()->clear();
        type("1.234,5");
        QCOMPARE(result(), QStringLiteral("4,049"));
        QCOMPARE(input()->toolTip(), QStringLiteral("Read as 1.234: a second decimal point ends the number "
                                                    "(\".\" and \",\" both mark the decimals here)."));
        press(Qt::Key_Backspace);
        QVERIFY(!input()->toolTip().isEmpty());  // "1.234," still has two
        press(Qt::Key_Backspace);
        QCOMPARE(input()->toolTip(), QString());
        QCOMPARE(result(), QStringLiteral("4,049"));
        QVERIFY(m_messages.isEmpty());
    }

    void groupedResultCopiesUngrouped_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("copied");
        QTest::newRow("English") << "en_US" << "1,234,567.891" << "1234567.891";
        QTest::newRow("German") << "de_DE" << "1.234.567,891" << "1234567,891";
    }

    // State: grouping on. Action: copy by Ctrl+C and by the pop-up, paste
    // back, record. Expected: the copies are ungrouped and paste back as the
    // same number; the record keeps the grouped text that was shown.
    void groupedResultCopiesUngrouped()
    {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QFETCH(QString, copied);
        QLocale::setDefault(QLocale(locale));
        NumberStyle style = m_window->state().options.numberStyle();
        style.grouping = true;
        m_window->state().options.setNumberStyle(style);
        convert("Length", "metre (m)", "metre (m)", "");
        input()->setFocus();
        type("1234567.891");
        QCOMPARE(result(), shown);
        openMenu("mnuedit");
        press(Qt::CTRL | Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        QGuiApplication::clipboard()->clear();
        chooseFromPopup("mnueditedit_0");
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        input()->clear();
        openMenu("mnuedit");
        action("mnueditedit_1")->trigger();
        QCOMPARE(input()->text(), copied);
        QCOMPARE(result(), shown);
        action("mnurecordsadd")->trigger();
        QVERIFY(m_window->state().records.at(1).line(1).contains(shown));
        QVERIFY(m_messages.isEmpty());
    }

    void popupPasteKeepsBlanks()
    {
        convert("Length", "metre (m)", "centimetre (cm)", "1");
        QGuiApplication::clipboard()->setText("   ");
        chooseFromPopup("mnueditedit_1");
        QCOMPARE(input()->text(), QStringLiteral("   "));
        QCOMPARE(result(), QStringLiteral(".000"));
        QVERIFY(m_messages.isEmpty());
    }

    void switchNeedsBothUnits()
    {
        choose("cboquantity", "Mass");
        choose("cbounit1", "pound (lb)");
        action("mnueditswitch")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"You can't switch until you've entered some units!", QMessageBox::Warning,
                                             QMessageBox::Ok, QMessageBox::NoButton, "Try Again."}));
    }

    void switchSwapsAndRecomputes()
    {
        convert("Mass", "pound (lb)", "kilogram (kg)", "10");
        QCOMPARE(result(), QStringLiteral("4.536"));
        chooseFromPopup("mnueditswitch");
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("kilogram (kg)"));
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("pound (lb)"));
        QCOMPARE(input()->text(), QStringLiteral("10"));
        QCOMPARE(result(), QStringLiteral("22.046"));
        QVERIFY(m_messages.isEmpty());
    }

    // A right click opens the pop-up on the window's background, its
    // captions and the result, and nowhere else.
    void popupOnlyWhereTheRulesSay_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opens");
        for (const char *name : {"centralwidget", "lblquantity", "lblunit1", "lblunit2", "lbltxtunit1", "Label1", "lblconv"})
            QTest::newRow(name) << name << true;
        for (const char *name : {"StatusBarPanel1", "StatusBarPanel2", "StatusBarPanel3", "StatusBar", "Image1", "menubar",
                                 "cboquantity", "cbounit2"})
            QTest::newRow(name) << name << false;
    }

    void popupOnlyWhereTheRulesSay()
    {
        QFETCH(QString, name);
        QFETCH(bool, opens);
        auto *widget = child<QWidget>(qPrintable(name));
        QVERIFY(widget);
        const QPoint at(2, 2);
        QVERIFY(name != "centralwidget" || !widget->childAt(at));
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
        QMenu *popup = child<QMenu>("mnuview2");
        if (!opens) {
            QTest::qWait(20);
            QVERIFY(!popup->isVisible());
            return;
        }
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->pos(), widget->mapToGlobal(at));
        QCOMPARE(popup->defaultAction(), action("mnufilesetopt"));
        QCOMPARE(action("mnufilesetopt")->text(), QStringLiteral("&Preferences..."));
        QVERIFY(!m_window->menuBar()->actions().contains(popup->menuAction()));
        popup->close();
    }

    // Shift+F10 and the Menu key open the pop-up at the focused control.
    void keyboardOpensThePopup_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QKeyCombination>("key");
        QTest::newRow("Shift+F10 in the input") << "txtunit1" << (Qt::SHIFT | Qt::Key_F10);
        QTest::newRow("Menu key in the input") << "txtunit1" << QKeyCombination(Qt::Key_Menu);
        QTest::newRow("Shift+F10 on a list") << "cbounit1" << (Qt::SHIFT | Qt::Key_F10);
        QTest::newRow("Menu key on the result") << "lblconv" << QKeyCombination(Qt::Key_Menu);
    }

    void keyboardOpensThePopup()
    {
        QFETCH(QString, control);
        QFETCH(QKeyCombination, key);
        auto *widget = child<QWidget>(qPrintable(control));
        widget->setFocus();
        press(key);
        QMenu *popup = child<QMenu>("mnuview2");
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->pos(), widget->mapToGlobal(QPoint(0, widget->height())));
        popup->close();
    }

    // The input's own right-click menu speaks the program's words and names
    // no keys (Ctrl+C and Ctrl+V are the window's); it is not the pop-up.
    void inputHasTheProgramsEditMenu()
    {
        type("12");
        QCOMPARE(rightClickMenu(input(), true), (QStringList{"&Undo", "&Redo (greyed)", "-", "Cu&t (greyed)", "&Copy (greyed)", "&Paste (greyed)",
                                     "&Delete (greyed)", "-", "Select &All"}));
        QCOMPARE(input()->selectedText(), QStringLiteral("12"));
        QVERIFY(!child<QMenu>("mnuview2")->isVisible());
    }

    // State: a menu opened while its command could not act, which greyed it.
    // Action: the command's shortcut in the input, part of "12" selected.
    // Expected: nothing happens; the key never reaches the input.
    void greyedShortcutsDoNothing_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QKeyCombination>("key");
        QTest::newRow("copy") << "mnuedit" << (Qt::CTRL | Qt::Key_C);
        QTest::newRow("paste") << "mnuedit" << (Qt::CTRL | Qt::Key_V);
        QTest::newRow("add record") << "mnurecords" << (Qt::CTRL | Qt::Key_A);
    }

    void greyedShortcutsDoNothing()
    {
        QFETCH(QString, menu);
        QFETCH(QKeyCombination, key);
        openMenu(qPrintable(menu));
        QGuiApplication::clipboard()->setText("untouched");
        type("12");
        input()->setSelection(0, 1);
        press(key);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
        QCOMPARE(input()->text(), QStringLiteral("12"));
        QCOMPARE(input()->selectedText(), QStringLiteral("1"));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(m_window->state().records.count(), 0);
    }

    // The stacking changes on the same native window: no new window, the
    // position and the focus stay.
    void alwaysOnTopKeepsWindowAndFocus()
    {
        const QPoint position = m_window->pos();
        const WId native = m_window->winId();
        input()->setFocus();
        QVERIFY(action("mnualwaystoponoff_1")->isChecked());
        action("mnualwaystoponoff_0")->trigger();
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(m_window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(m_window->winId(), native);
        QCOMPARE(QApplication::focusWidget(), input());
        QVERIFY(action("mnualwaystoponoff_0")->isChecked());
        QVERIFY(!action("mnualwaystoponoff_1")->isChecked());
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->pos(), position);
        action("mnualwaystoponoff_1")->trigger();
        QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!m_window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(m_window->winId(), native);
        QCOMPARE(QApplication::focusWidget(), input());
        QVERIFY(action("mnualwaystoponoff_1")->isChecked());
        QCOMPARE(m_window->pos(), position);
        // not stored: the next start is not on top
        action("mnualwaystoponoff_0")->trigger();
        m_window->close();
        m_window = std::make_unique<MainWindow>();
        QVERIFY(action("mnualwaystoponoff_1")->isChecked());
        QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void shellProgramEmpty()
    {
        m_window->state().options.setShellProgram("");
        closeNextDialog();
        action("mnuviewcalc")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, str(327));
        QCOMPARE(m_messages[0].title, QStringLiteral("Try Again."));
        QCOMPARE(m_dialogsClosed, 1);
    }

    void shellProgramMissing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("default of another system") << "c:\\windows\\calc.exe";
        QTest::newRow("missing file") << m_dir.filePath("nothing-here");
        QTest::newRow("missing folder") << m_dir.filePath("no-folder/program");
        QTest::newRow("a folder") << m_dir.path();
        QTest::newRow("bare name not on PATH") << "no-such-program-anywhere";
    }

    void shellProgramMissing()
    {
        QFETCH(QString, path);
        m_window->state().options.setShellProgram(path);
        closeNextDialog();
        action("mnuviewcalc")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"I'm sorry, the program specified to run  - " + path
                                                 + " - could not be found.  Please check that you've put the right path and filename in the options dialog box.",
                                             QMessageBox::Information}));
        QCOMPARE(m_dialogsClosed, 1);
    }

    void shellProgramNotExecutable()
    {
        const QString path = m_dir.filePath("plain.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        m_window->state().options.setShellProgram(path);
        action("mnuviewcalc")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"Error #70 occurred. Permission denied"}));
        QCOMPARE(m_dialogsClosed, 0);
    }

    // An executable file the system cannot run is explained in the
    // system's words, in the frame of the other command errors.
    void shellProgramOfAForeignFormat_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("explanation");
        QTest::newRow("no #! line") << QByteArray("echo hello\n") << "Exec format error";
        QTest::newRow("binary of another system") << QByteArray("MZ\x90\0\3\0\0\0", 8) << "Exec format error";
        QTest::newRow("interpreter missing") << QByteArray("#!/no/such/interpreter\n") << "No such file or directory";
    }

    void shellProgramOfAForeignFormat()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, explanation);
        const QString path = m_dir.filePath("foreign");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        m_window->state().options.setShellProgram(path);
        action("mnuviewcalc")->trigger();
        QCOMPARE(m_messages, (QList<MessageSpec>{{"Error #75 occurred. " + explanation}}));
        QCOMPARE(m_dialogsClosed, 0);
    }

    // A program followed by arguments runs with them, split as words without
    // a shell; a quoted path may hold blanks.
    void shellProgramWithArguments()
    {
        QDir().mkpath(m_dir.filePath("sub folder"));
        const QString path = script("sub folder/tool", "printf '%s|' \"$@\" > '" + marker() + "'");
        QFile::remove(marker());
        m_window->state().options.setShellProgram("\"" + path + "\" -rpn \"two words\" $(touch injected)");
        action("mnuviewcalc")->trigger();
        QVERIFY(m_messages.isEmpty());
        const auto written = [this] {
            QFile file(marker());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE(written(), QByteArray("-rpn|two words|$(touch|injected)|"));
        QVERIFY(!QFile::exists(m_dir.filePath("sub folder/injected")));
    }

    // State: no shell program stored, a calculator on PATH. Expected: Run
    // Shell Program starts it.
    void defaultShellProgramIsACalculatorOnPath()
    {
        QDir().mkpath(m_dir.filePath("calculators"));
        script("calculators/xcalc", "echo ran > '" + marker() + "'");
        QFile::remove(marker());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_dir.filePath("calculators").toUtf8());
        m_window = std::make_unique<MainWindow>();
        action("mnuviewcalc")->trigger();
        qputenv("PATH", path);
        QCOMPARE(m_window->state().options.shellProgram(), QStringLiteral("xcalc"));
        QVERIFY(m_messages.isEmpty());
        QTRY_VERIFY(QFile::exists(marker()));
    }

    // The path names one file, blanks and shell characters included; nothing
    // else ever runs.
    void shellProgramRunsExactlyThatFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << "my program";
        QTest::newRow("semicolon") << "a;touch injected";
        QTest::newRow("command substitution") << "$(touch injected)";
        QTest::newRow("quotes") << "it's \"quoted\"";
    }

    void shellProgramRunsExactlyThatFile()
    {
        QFETCH(QString, name);
        QFile::remove(marker());
        QDir(m_dir.path()).remove("injected");
        QDir().mkpath(m_dir.filePath("sub folder"));
        const QString path = script("sub folder/" + name, "echo ran > '" + marker() + "'");
        QVERIFY(!path.isEmpty());
        m_window->state().options.setShellProgram(path);
        action("mnuviewcalc")->trigger();
        QVERIFY(m_messages.isEmpty());
        QTRY_VERIFY(QFile::exists(marker()));
        QVERIFY(!QFile::exists(m_dir.filePath("injected")));
        QVERIFY(!QFile::exists(m_dir.filePath("sub folder/injected")));

        // a name with shell characters that does not exist is not found, and
        // its pieces never run
        QFile::remove(marker());
        const QString missing = m_dir.filePath("x; touch " + m_dir.filePath("injected"));
        m_window->state().options.setShellProgram(missing);
        closeNextDialog();
        action("mnuviewcalc")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].text.contains("could not be found"));
        QTest::qWait(100);
        QVERIFY(!QFile::exists(m_dir.filePath("injected")));
    }

    void shellProgramFromPath()
    {
        QDir().mkpath(m_dir.filePath("bin"));
        script("bin/quantix-test-tool", "echo ran > '" + marker() + "'");
        QFile::remove(marker());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_dir.filePath("bin").toUtf8() + ":" + path);
        m_window->state().options.setShellProgram("quantix-test-tool");
        action("mnuviewcalc")->trigger();
        qputenv("PATH", path);
        QVERIFY(m_messages.isEmpty());
        QTRY_VERIFY(QFile::exists(marker()));
    }

    void helpTopicsOpenInTheYellowWindow_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("popup");
        QTest::newRow("menu constants") << "mnuviewphys" << "Physical Constants" << false;
        QTest::newRow("pop-up constants") << "mnuviewphys" << "Physical Constants" << true;
        QTest::newRow("menu prefixes") << "mnuviewmetric" << "Metric Prefixes" << false;
        QTest::newRow("pop-up prefixes") << "mnuviewmetric" << "Metric Prefixes" << true;
    }

    void helpTopicsOpenInTheYellowWindow()
    {
        QFETCH(QString, item);
        QFETCH(QString, title);
        QFETCH(bool, popup);
        if (popup)
            chooseFromPopup(qPrintable(item));
        else
            action(qPrintable(item))->trigger();
        QWidget *help = m_window->findChild<QWidget *>("yellow");
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QVERIFY(help->windowTitle().startsWith(title));
        QVERIFY(m_messages.isEmpty());
        // shut-down closes the help window
        QVERIFY(m_window->close());
        QVERIFY(!help->isVisible());
    }

    void f1ShowsTheContents()
    {
        child<QComboBox>("cboquantity")->setFocus();
        press(Qt::Key_F1);
        QWidget *help = m_window->findChild<QWidget *>("yellow");
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QVERIFY(m_messages.isEmpty());
    }

    void whatsThisOnTheInput()
    {
        action("mnuhelpshow")->trigger();
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QTest::mouseClick(input(), Qt::LeftButton);
        QVERIFY(!QWhatsThis::inWhatsThisMode());
        QVERIFY(input()->whatsThis().contains("value"));
        QWhatsThis::hideText();
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"

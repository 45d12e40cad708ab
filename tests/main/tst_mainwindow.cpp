#include "settings/settingsstore.h"
#include "support/designfont.h"
#include "support/fulldisk.h"
#include "support/mainwindowdriver.h"
#include "support/messagelog.h"
#include "support/replacements.h"
#include "ui/common/clickablelabel.h"
#include "ui/records/recordswindow.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <sys/stat.h>

using namespace quantix;
using namespace quantix::testing;

// The main window driven as a user drives it, offscreen.
class TestMainWindow : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;

    // The offscreen platform leaves the activation with a closed menu or
    // dialog; a window manager gives it back to the main window.
    void activateAgain()
    {
        QTest::qWait(20);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
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
    }

    void cleanup()
    {
        m_window.reset();
        QFile::remove(settingsLocation());
    }

    void firstRunOnAnEmptyStore()
    {
        open();
        QCOMPARE(m_window->pos(), QPoint(200 / 15, 200 / 15));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Quantix 96"));
        QCOMPARE(combo("cboquantity")->count(), 33);
        for (const char *list : {"cboquantity", "cbounit1", "cbounit2"})
            QCOMPARE(combo(list)->currentIndex(), -1);
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result(), QString());
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("Conversion records: 0"));
        QCOMPARE(m_window->statusPanel(2)->text(), QStringLiteral("Click to record conversion"));
        QCOMPARE(m_window->statusPanel(3)->text(), QStringLiteral("Decimals: 3"));
        QCOMPARE(child<QLabel>("lblquantity")->text(), QStringLiteral("Select quantity:"));
        QVERIFY(!m_window->isMaximized());
        // Wider only by the window's edges; the height is the controls'.
        QCOMPARE(m_window->minimumHeight(), m_window->maximumHeight());
        QCOMPARE(m_window->maximumWidth(), QWIDGETSIZE_MAX);
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(!QFile::exists(settingsLocation()));
    }

    void choosingAQuantityFillsTheUnitLists()
    {
        open();
        chooseConversion("Length", "metre (m)", "foot (ft)");
        type("2");
        QCOMPARE(result(), QStringLiteral("6.562"));
        choose("cboquantity", "Acceleration");
        QCOMPARE(combo("cbounit1")->count(), 5);
        QCOMPARE(combo("cbounit2")->count(), 5);
        QCOMPARE(combo("cbounit1")->currentIndex(), -1);
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result(), QString());
        // the same quantity again empties everything once more
        chooseConversion("Acceleration", "gal (cm/s²)", "g (g)");
        type("5");
        choose("cboquantity", "Acceleration");
        QCOMPARE(combo("cbounit1")->currentIndex(), -1);
        QCOMPARE(input()->text(), QString());
        QVERIFY(m_messages.isEmpty());
    }

    void typingConvertsPerKeystroke()
    {
        open();
        chooseConversion("Temperature", "Celsius (°C)", "Fahrenheit (°F)");
        type("1");
        QCOMPARE(result(), QStringLiteral("33.800"));
        type("0");
        QCOMPARE(result(), QStringLiteral("50.000"));
        type("0");
        QCOMPARE(result(), QStringLiteral("212.000"));
        // Backspace to an empty input clears the result without a message.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(input(), Qt::Key_Backspace);
        QCOMPARE(result(), QString());
        QVERIFY(m_messages.isEmpty());
    }

    void enterReconvertsAndInsertsNothing()
    {
        open();
        chooseConversion("Length", "metre (m)", "kilometre (km)");
        type("1500");
        m_window->state().options.setDecimalPlaces(1);
        QTest::keyClick(input(), Qt::Key_Return);
        QCOMPARE(input()->text(), QStringLiteral("1500"));
        QCOMPARE(result(), QStringLiteral("1.5"));
    }

    void inputHoldsTwentyCharacters()
    {
        open();
        type("123456789012345678901");
        QCOMPARE(input()->text(), QStringLiteral("12345678901234567890"));
    }

    void nothingShownWithoutAFinalUnit()
    {
        open();
        choose("cboquantity", "Mass");
        choose("cbounit1", "pound (lb)");
        type("7");
        QCOMPARE(result(), QString());
        choose("cbounit2", "kilogram (kg)");
        QCOMPARE(result(), QStringLiteral("3.175"));
    }

    void captionClickBeforeAnyChoicePrompts()
    {
        open();
        child<QComboBox>("cbounit1")->setFocus();
        QTest::mouseClick(child<ClickableLabel>("lblunit2"), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"Please select a quantity and units.", QMessageBox::Information}));
        QCOMPARE(QApplication::focusWidget(), combo("cboquantity"));
        // A new quantity without units still prompts, until Convert runs.
        choose("cboquantity", "Time");
        QTest::mouseClick(child<ClickableLabel>("lblquantity"), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 2);
        choose("cbounit1", "hour (h)");
        choose("cbounit2", "minute (min)");
        type("2");
        input()->clear();
        QTest::mouseClick(child<QLineEdit>("lblconv"), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 2);
    }

    // Every status panel shows its whole text, the record count up to 99,999
    // and the decimals up to 8, and at the design's font the window keeps the
    // design's client width of 5985 twips.
    void statusPanelsShowTheirWholeText()
    {
        const DesignFont designFont;
        open();
        QCOMPARE(m_window->width(), 5985 / 15);
        const auto showsItWhole = [](const QLabel *panel) {
            return panel->sizeHint().width() <= panel->width() && panel->geometry().right() < panel->parentWidget()->width();
        };
        convert("Length", "metre (m)", "foot (ft)", "2");
        for (int i = 0; i < 10; ++i)
            m_window->RecordConversion();
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("Conversion records: 10"));
        for (int number : {1, 2, 3})
            QVERIFY2(showsItWhole(m_window->statusPanel(number)), qPrintable(m_window->statusPanel(number)->text()));
        for (int i = 10; i < 99998; ++i)
            m_window->state().records.append(m_window->state().records.at(1));
        m_window->RecordConversion();
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("Conversion records: 99999"));
        QVERIFY(showsItWhole(m_window->statusPanel(1)));
        m_window->state().options.setDecimalPlaces(8);
        m_window->decimals();
        QVERIFY(showsItWhole(m_window->statusPanel(3)));
        QCOMPARE(m_window->width(), 5985 / 15);
    }

    // State: Pressure chosen, the initial unit's list closed with the focus.
    // Action: type "inch of w". Expected: inch of water chosen and converted,
    // the list still closed: the blank went on with the name.
    void blanksTypeIntoAClosedList()
    {
        open();
        choose("cboquantity", "Pressure or Stress");
        choose("cbounit2", "pascal (Pa)");
        type("1");
        QComboBox *units = combo("cbounit1");
        units->setFocus();
        QTest::keyClicks(units, "inch of w");
        QCOMPARE(units->currentText(), QStringLiteral("inch of water (39.2°F, 4°C)"));
        QVERIFY(!units->view()->isVisible());
        QCOMPARE(result(), QStringLiteral("249.082"));
    }

    // An open unit list is as wide as its longest name, whatever the list's
    // own width: Thermal Conductivity's names are the longest there are.
    void openListsShowWholeNames()
    {
        open();
        choose("cboquantity", "Thermal Conductivity");
        QComboBox *units = combo("cbounit1");
        units->showPopup();
        QAbstractItemView *view = units->view();
        QTRY_VERIFY(view->window()->isVisible());
        for (int row = 0; row < units->count(); ++row) {
            const QModelIndex entry = view->model()->index(row, 0);
            QVERIFY2(view->visualRect(entry).width() >= view->sizeHintForIndex(entry).width(), qPrintable(units->itemText(row)));
        }
        units->hidePopup();
    }

    // The result is reached by Tab after the input, as the last stop before
    // the lists again.
    void resultIsInTheTabOrder()
    {
        open();
        convert("Length", "metre (m)", "foot (ft)", "2.5");
        input()->setFocus();
        QTest::keyClick(input(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("lblconv"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), combo("cboquantity"));
    }

    // The captions are as wide as their texts: a click beside one is a click
    // on the window, which prompts for nothing.
    void captionsSizeThemselves()
    {
        open();
        for (const char *name : {"lblquantity", "lblunit1", "lblunit2", "lbltxtunit1", "Label1"}) {
            auto *caption = child<ClickableLabel>(name);
            QCOMPARE(caption->size(), caption->sizeHint());
            QVERIFY(caption->width() >= caption->fontMetrics().horizontalAdvance(caption->text()));
            QTest::mouseClick(caption->parentWidget(), Qt::LeftButton, {}, caption->geometry().topRight() + QPoint(4, 4));
        }
        QVERIFY(m_messages.isEmpty());
        QTest::mouseClick(child<ClickableLabel>("lblquantity"), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 1);
    }

    // State: Length, parsec to metre. Action: a value too large to convert.
    // Expected: message 334, the input emptied, the converted 0 shown, the
    // selection kept.
    void overflowIsReportedAndRecovers()
    {
        open();
        chooseConversion("Length", "parsec (pc)", "metre (m)");
        type("1e300");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0],
                 (MessageSpec{"You have entered a number that is too big to calculate! Please re-enter your value!",
                              QMessageBox::Critical, QMessageBox::Ok, QMessageBox::NoButton, "Try Again."}));
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result(), QStringLiteral(".000"));
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("parsec (pc)"));
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("metre (m)"));
        QCOMPARE(combo("cboquantity")->currentText(), QStringLiteral("Length"));
        type("2");
        QCOMPARE(result(), QStringLiteral("61713560000000000.000"));
    }

    void temperatureRepeatsTheConversionOfZero()
    {
        open();
        chooseConversion("Temperature", "Fahrenheit (°F)", "Celsius (°C)");
        type("1e400");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(result(), QStringLiteral("-17.778"));
    }

    // A user unit whose factor is 0: converting into it divides by zero. The
    // repeated conversion of 0 fails too (0 ÷ 0) and ends without a second
    // message and without a result.
    void divisionByZeroNeverLoops()
    {
        WriteSetting(section::userunits, "Forcenumber", "1");
        WriteSetting(section::userunits, "Force1", "nothing");
        WriteSetting(section::userunits, "Forcefactor1", "0");
        WriteSetting(section::userunits, "Forceused1", "1");
        open();
        chooseConversion("Force", "newton (N)", "nothing");
        type("5");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, QStringLiteral("The error #11 occurred - Division by zero"));
        QCOMPARE(m_messages[0].icon, QMessageBox::Critical);
        QCOMPARE(m_messages[0].title, QStringLiteral("Try Again."));
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result(), QString());
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("nothing"));
        // the other way round works
        choose("cbounit1", "nothing");
        choose("cbounit2", "newton (N)");
        type("5");
        QCOMPARE(result(), QStringLiteral(".000"));
        QCOMPARE(m_messages.size(), 1);
    }

    // A unit named at great length: its list stays on the screen, the name
    // elided in the middle, and the window keeps its size.
    void longUnitNameStaysOnTheScreen()
    {
        const DesignFont designFont;
        const QString name = "a unit of length " + QString(300, u'x') + " named at great length";
        WriteSetting(section::userunits, "Lengthnumber", "1");
        WriteSetting(section::userunits, "Length1", name);
        WriteSetting(section::userunits, "Lengthfactor1", "2");
        WriteSetting(section::userunits, "Lengthused1", "1");
        open();
        choose("cboquantity", "Length");
        for (const char *list : {"cbounit1", "cbounit2"}) {
            QComboBox *units = combo(list);
            units->showPopup();
            QWidget *popup = units->view()->window();
            QTRY_VERIFY(popup->isVisible());
            const QRect screen = units->screen()->availableGeometry();
            QVERIFY(screen.contains(popup->geometry()));
            QCOMPARE(units->view()->textElideMode(), Qt::ElideMiddle);
            units->hidePopup();
        }
        QCOMPARE(m_window->size(), m_window->minimumSize());
        QCOMPARE(m_window->width(), 5985 / 15);
    }

    // State: a result on screen. Action: choose a user unit whose factor, or
    // the store's count, is not a number. Expected: no message, the result
    // box empty (never the previous result), and nothing to record.
    void damagedUserUnitsAreSilent()
    {
        WriteSetting(section::userunits, "Massnumber", "1");
        WriteSetting(section::userunits, "Mass1", "sack");
        WriteSetting(section::userunits, "Massfactor1", "heavy");
        WriteSetting(section::userunits, "Massused1", "1");
        open();
        chooseConversion("Mass", "kilogram (kg)", "gram (g)");
        type("3");
        QCOMPARE(result(), QStringLiteral("3000.000"));
        choose("cbounit2", "sack");
        QCOMPARE(result(), QString());
        QCOMPARE(input()->text(), QStringLiteral("3"));
        QTest::mouseClick(m_window->statusPanel(2), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.takeFirst().text,
                 QStringLiteral("You can't record a record until you've performed a conversion!\nPerform a conversion and try again."));
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("Conversion records: 0"));
        choose("cbounit2", "gram (g)");
        QCOMPARE(result(), QStringLiteral("3000.000"));
        WriteSetting(section::userunits, "Massfactor1", "2");
        WriteSetting(section::userunits, "Massnumber", "many");
        choose("cbounit1", "sack");
        QCOMPARE(result(), QString());
        WriteSetting(section::userunits, "Massnumber", "x");
        choose("cboquantity", "Mass");
        QCOMPARE(combo("cbounit1")->count(), 16 + 2);
        QVERIFY(m_messages.isEmpty());
    }

    // State: a conversion shown, the focus in the input. Action: a wheel turn
    // over each list. Expected: nothing changes; with the focus in the list a
    // turn chooses, as a key would.
    void wheelTurnsOnlyChooseInTheFocusedList()
    {
        open();
        convert("Length", "metre (m)", "foot (ft)", "2");
        input()->setFocus();
        const auto turn = [](QComboBox *list) {
            const QPointF at = list->rect().center();
            QWheelEvent wheel(at, list->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
        };
        for (const char *list : {"cboquantity", "cbounit1", "cbounit2"})
            turn(combo(list));
        QCOMPARE(combo("cboquantity")->currentText(), QStringLiteral("Length"));
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("metre (m)"));
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("foot (ft)"));
        QCOMPARE(result(), QStringLiteral("6.562"));
        QCOMPARE(QApplication::focusWidget(), input());

        combo("cbounit2")->setFocus();
        turn(combo("cbounit2"));
        QVERIFY(combo("cbounit2")->currentText() != QStringLiteral("foot (ft)"));
        QVERIFY(result() != QStringLiteral("6.562"));
    }

    // A position stored for a screen that is gone opens on this one; the
    // stored value stays until the window closes.
    void storedPositionOffTheScreensIsPulledBack_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::newRow("far right") << "1500000" << "200";
        QTest::newRow("far below") << "200" << "1500000";
        QTest::newRow("above and left") << "-90000" << "-90000";
        QTest::newRow("a sliver left on screen") << QString::number((800 - 5) * 15) << "200";
    }

    void storedPositionOffTheScreensIsPulledBack()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        WriteSetting(section::settings, "left", left);
        WriteSetting(section::settings, "top", top);
        open();
        const QRect area = m_window->screen()->availableGeometry();
        QVERIFY2(area.contains(m_window->frameGeometry()), qPrintable(QDebug::toString(m_window->frameGeometry())));
        QCOMPARE(ReadSetting(section::settings, "left", ""), left);
        QCOMPARE(ReadSetting(section::settings, "top", ""), top);
        QVERIFY(m_window->close());
        QCOMPARE(ReadSetting(section::settings, "left", ""), QString::number(m_window->x() * 15));
    }

    void positionThatIsNotANumberKeepsTheDesignPosition()
    {
        WriteSetting(section::settings, "top", "middle");
        WriteSetting(section::settings, "left", "3000");
        open();
        QCOMPARE(m_window->pos(), QPoint(200, 0));
        QVERIFY(m_messages.isEmpty());
    }

    void reopensWhereItWasClosed()
    {
        open();
        m_window->move(321, 123);
        QVERIFY(m_window->close());
        QCOMPARE(ReadSetting(section::settings, "left", ""), QString::number(321 * 15));
        QCOMPARE(ReadSetting(section::settings, "top", ""), QString::number(123 * 15));
        open();
        QCOMPARE(m_window->pos(), QPoint(321, 123));
    }

    // State: the records window loaded, and nothing in the way, or another
    // program holding the store's lock, or a disk that cannot take the
    // change. Action: the window closes. Expected: both windows' places as
    // one change, or one wait for the lock at most and one message naming
    // the file and why; the window closes in every case.
    void closingIsOneChange_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("none") << "" << "";
        QTest::newRow("lock held") << "lock" << "another program kept it locked for 5 seconds";
        QTest::newRow("disk full") << "disk" << "File too large";
    }

    void closingIsOneChange()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);
        QVERIFY(WriteSetting(section::settings, "notes", QString(1000, u'n')));  // room for the lock file
        open();
        convert("Length", "metre (m)", "foot (ft)", "2");
        m_window->RecordConversion();
        m_window->state().records.setSaved(true);
        QVERIFY(m_window->recordsWindow());
        ReplacementCounter replacements(settingsLocation());
        QLockFile lock(settingsLocation() + ".lock");
        QVERIFY(obstacle != "lock" || lock.tryLock(0));
        std::optional<FileSizeLimit> full;
        if (obstacle == "disk")
            full.emplace(rlim_t(QFileInfo(settingsLocation()).size() + 10));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(m_window->close());
        full.reset();
        QVERIFY2(timer.elapsed() < 7000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!m_window->isVisible() && !m_window->recordsWindow());
        if (reason.isEmpty()) {
            QCOMPARE(replacements.count(), 1);
            QCOMPARE(ReadSetting(section::settings, "ConvRecordsWidth", ""), QStringLiteral("7575"));
            QCOMPARE(ReadSetting(section::settings, "left", ""), QString::number(m_window->x() * 15));
            QVERIFY(m_messages.isEmpty());
        } else {
            QCOMPARE(replacements.count(), 0);
            QCOMPARE(m_messages.size(), 1);
            QCOMPARE(m_messages[0].text, "Error #  75 occurred. Path/File access error\n\nThe settings could not be stored in \""
                                             + settingsLocation() + "\": " + reason + ".");
            QCOMPARE(ReadSetting(section::settings, "left", "absent"), QStringLiteral("absent"));
        }
    }

    // State: a FIFO where the settings file should be. Expected: the window
    // opens at once with the defaults, and one message names the file; the
    // window is active again after it.
    void unusableSettingsFileIsToldOnce()
    {
        QVERIFY(mkfifo(qPrintable(settingsLocation()), 0600) == 0);
        open();
        QTRY_COMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"The settings file \"" + settingsLocation()
                                                 + "\" cannot be used: it is not a regular file. The program uses its default settings and "
                                                   "leaves the file as it is.",
                                             QMessageBox::Warning}));
        QCOMPARE(combo("cboquantity")->count(), 33);
        QCOMPARE(m_window->pos(), QPoint(200 / 15, 200 / 15));
        QTRY_COMPARE(m_window->statusPanel(3)->text(), QStringLiteral("Decimals: 3"));
    }

    // As the preferences dialog changes the number style: the next
    // activation reformats the result and shows the decimals.
    void activationReformats()
    {
        open();
        chooseConversion("Length", "mile (US statute)", "kilometre (km)");
        type("1");
        QCOMPARE(result(), QStringLiteral("1.609"));
        m_window->state().options.setScientific(true);
        m_window->state().options.setDecimalPlaces(5);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(result(), QStringLiteral("1.60934E+0"));
        QCOMPARE(m_window->statusPanel(3)->text(), QStringLiteral("Decimals: 5"));
        // Significant digits count every digit, and the panel says so.
        NumberStyle style;
        style.significant = true;
        style.significantDigits = 5;
        m_window->state().options.setNumberStyle(style);
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(result(), QStringLiteral("1.6093"));
        QCOMPARE(m_window->statusPanel(3)->text(), QStringLiteral("Digits: 5"));
    }

    void storedDecimalsOutOfRangeAreThree()
    {
        WriteSetting(section::settings, "numericformatting", "9");
        WriteSetting(section::settings, "scientific", "TRUE");
        open();
        QCOMPARE(m_window->statusPanel(3)->text(), QStringLiteral("Decimals: 3"));
        chooseConversion("Length", "metre (m)", "metre (m)");
        type("1234.5");
        QCOMPARE(result(), QStringLiteral("1.235E+3"));
    }

    void anyTypedTextIsSafe()
    {
        open();
        chooseConversion("Length", "metre (m)", "metre (m)");
        for (const QString &text : {QStringLiteral("12abc"), QStringLiteral("abc"), QStringLiteral("&HFF"), QStringLiteral("--1"),
                                    QStringLiteral("1e-400"), QStringLiteral("\u00b2\u00b3"), QStringLiteral("  ")}) {
            input()->setText(text);
            QVERIFY(!result().isEmpty());
        }
        QCOMPARE(m_messages.size(), 0);
        input()->setText("12abc");
        QCOMPARE(result(), QStringLiteral("12.000"));
        input()->setText("abc");
        QCOMPARE(result(), QStringLiteral(".000"));
    }

    // State: "12" typed. Action: the focus leaves the input and comes back.
    // Expected: typing 3 replaces the value only when the user moved into
    // the input; a menu, a dialog or Always on Top leave the caret as it was.
    void focusSelectsOnlyWhenTheUserMoves_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<QString>("typed");
        QTest::newRow("menu by keyboard") << "menu" << "123";
        QTest::newRow("Always on Top") << "top" << "123";
        QTest::newRow("about box") << "dialog" << "123";
        QTest::newRow("Tab into the input") << "tab" << "3";
        QTest::newRow("click into the input") << "click" << "3";
    }

    void focusSelectsOnlyWhenTheUserMoves()
    {
        QFETCH(QString, move);
        QFETCH(QString, typed);
        open();
        type("12");
        if (move == "menu") {
            press(Qt::ALT | Qt::Key_H);
            QTRY_VERIFY(QApplication::activePopupWidget());
            press(Qt::Key_Escape);
            press(Qt::Key_Escape);
            activateAgain();
        } else if (move == "top") {
            action("mnualwaystoponoff_0")->trigger();
        } else if (move == "dialog") {
            QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
            action("mnuhelpabout")->trigger();
            activateAgain();
        } else if (move == "tab") {
            combo("cbounit2")->setFocus();
            press(Qt::Key_Tab);
        } else {
            combo("cbounit2")->setFocus();
            QTest::mouseClick(input(), Qt::LeftButton);
        }
        QTRY_COMPARE(QApplication::focusWidget(), input());
        QTest::qWait(10);  // the selection follows the click
        press(Qt::Key_3);
        QCOMPARE(input()->text(), typed);
    }

    // A text longer than its box shows its beginning: the leading digits of
    // a result (9.87654321e30 m to m), a pasted or a switched value.
    void longTextsShowTheirBeginning_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("result") << "result";
        QTest::newRow("pasted input") << "paste";
        QTest::newRow("switched input") << "switch";
    }

    void longTextsShowTheirBeginning()
    {
        QFETCH(QString, how);
        open();
        chooseConversion("Length", "metre (m)", "metre (m)");
        QLineEdit *box = how == "result" ? child<QLineEdit>("lblconv") : input();
        const QString wide = "WWWWWWWWWWWWWWWWWWWW";
        if (how == "result") {
            type("9.87654321e30");
        } else if (how == "paste") {
            QGuiApplication::clipboard()->setText(wide);
            action("mnueditedit_1")->trigger();
        } else {
            type(wide);
            action("mnueditswitch")->trigger();
        }
        QVERIFY(box->fontMetrics().horizontalAdvance(box->text()) > box->width());
        QCOMPARE(box->text().front(), how == "result" ? u'9' : u'W');
        // the character at the box's left edge once it is drawn
        box->repaint();
        QCOMPARE(box->cursorPositionAt(QPoint(4, box->height() / 2)), 0);
    }

    // State: a settings file edited by hand, with lines the program cannot
    // read. Action: the window closes. Expected: left and top are the only
    // lines written, every other byte stays, a copy lies beside it, and one
    // message says so.
    void closingKeepsEveryLineOfADamagedStore()
    {
        const QByteArray original = "# my settings\n[settings]\nleft=3000\nscientific = true ; mine\nnot a setting\n\n"
                                    "[units]\nLength=1\nmy own key=\xc3\xa9\n\x01\x02garbage\n";
        QFile file(settingsLocation());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(original);
        file.close();
        open();
        m_window->move(100, 50);
        QVERIFY(m_window->close());

        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("# my settings\n[settings]\nleft=1500\nscientific = true ; mine\nnot a setting\ntop=750\n\n"
                                            "[units]\nLength=1\nmy own key=\xc3\xa9\n\x01\x02garbage\n"));
        QFile copy(settingsLocation() + ".damaged");
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), original);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0], (MessageSpec{"Some lines of the settings file \"" + settingsLocation()
                                                 + "\" could not be read. They are kept as they are, and a copy of the file was saved as \""
                                                 + settingsLocation() + ".damaged\".",
                                             QMessageBox::Information}));
    }

    // With the real message box: closing it re-activates the window, which
    // must not report the same error again.
    void realMessageBoxReportsOnce()
    {
        open();
        chooseConversion("Length", "parsec (pc)", "metre (m)");
        Messages::setHandler({});
        int boxes = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++boxes;
                box->accept();
            }
        });
        closer.start(20);
        type("1e300");
        QTest::qWait(300);
        initTestCase();
        QCOMPARE(boxes, 1);
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result(), QStringLiteral(".000"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

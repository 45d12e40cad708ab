#include "support/fakedialogs.h"
#include "support/mainwindowdriver.h"
#include "support/messagelog.h"
#include "ui/common/clickablelabel.h"
#include "recordstesting.h"
#include "settings/settingsstore.h"
#include "ui/records/recordswindow.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;
using namespace quantix::testing;

// Recording from the main window, purging, showing the records window and
// the question before unsaved records are lost, driven as a user drives them.
class TestMainWindowRecords : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;
    FakeDialogs *m_dialogs = nullptr;

    QString panel1() { return m_window->statusPanel(1)->text(); }
    const ConversionRecords &records() { return m_window->state().records; }

    // The value typed key by key: the record keeps it as typed.
    void typeConversion(const QString &quantity, const QString &from, const QString &to, const QString &value)
    {
        chooseConversion(quantity, from, to);
        type(value);
    }

    // Ctrl+A reaches the action while the focus is outside the input box.
    void pressCtrlA()
    {
        child<QComboBox>("cboquantity")->setFocus();
        QTest::keyClick(m_window.get(), Qt::Key_A, Qt::ControlModifier);
    }

    void refusedCloseShowsTheRecordsWindow(bool expected)
    {
        QVERIFY(m_window->recordsWindow());
        QTRY_COMPARE(m_window->recordsWindow()->isVisible(), expected);
    }

private slots:
    void initTestCase()
    {
        useUtc();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        RecordsWindow::setClock([] { return QDateTime(QDate(2026, 3, 3), QTime(14, 5, 9)); });
        m_messages.install();
    }

    void init()
    {
        QFile::remove(settingsLocation());
        m_messages.clear();
        m_messages.answer = QMessageBox::Ok;
        m_dialogs = FakeDialogs::install();
    }

    void cleanup() { m_window.reset(); }

    void incompleteConversionIsNotRecorded()
    {
        open();
        action("mnurecordsadd")->trigger();
        choose("cboquantity", "Length");
        choose("cbounit1", "metre (m)");
        choose("cbounit2", "foot (ft)");
        QTest::mouseClick(m_window->statusPanel(2), Qt::LeftButton);
        const MessageSpec expected{"You can't record a record until you've performed a conversion!\nPerform a conversion and try again.",
                                   QMessageBox::Information, QMessageBox::Ok, QMessageBox::NoButton, "Quantix 96"};
        QCOMPARE(m_messages, (QList<MessageSpec>{expected, expected}));
        QCOMPARE(records().count(), 0);
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 0"));
        QVERIFY(!m_window->recordsWindow());
        QVERIFY(!action("mnurecordspurge")->isEnabled());
    }

    // Three ways to record; each record counts, is numbered, and leaves the
    // records unsaved; the records window is loaded hidden.
    void recordingCountsAndNumbers()
    {
        open();
        typeConversion("Length", "metre (m)", "foot (ft)", "2");
        action("mnurecordsadd")->trigger();
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 1"));
        for (const char *name : {"mnurecordspurge", "mnuRecordsView"})
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(m_window->recordsWindow() && !m_window->recordsWindow()->isVisible());
        m_window->state().records.setSaved(true);
        QTest::mouseClick(m_window->statusPanel(2), Qt::LeftButton);
        QVERIFY(!records().saved());
        typeConversion("Area", "hectare (ha)", "square metre (m²)", " 2,5abc");
        pressCtrlA();
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 3"));
        QCOMPARE(m_window->recordsWindow()->recordsText(),
                 "Quantix 96 - Conversion Records         2:05:09 PM UTC  Tuesday, March 3, 2026\r\n\r\n"
                 "1. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n"
                 "2. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n"
                 "3. (Area)   2,5abc hectare (ha)  =  20000.000 square metre (m²)");
        QVERIFY(m_messages.isEmpty());
    }

    // A double-click on the recording panel records once; on the counter it
    // opens the records window and records nothing.
    void doubleClickRecordsOnce()
    {
        // The events of a double-click as the window system delivers them.
        const auto doubleClick = [](QWidget *panel) {
            QTest::mousePress(panel, Qt::LeftButton);
            QTest::mouseRelease(panel, Qt::LeftButton);
            QTest::mouseDClick(panel, Qt::LeftButton);
            QTest::mouseRelease(panel, Qt::LeftButton);
        };
        open();
        typeConversion("Length", "metre (m)", "foot (ft)", "2");
        doubleClick(m_window->statusPanel(2));
        QCOMPARE(records().count(), 1);
        QTest::mouseClick(m_window->statusPanel(2), Qt::LeftButton);
        QCOMPARE(records().count(), 2);
        doubleClick(m_window->statusPanel(1));
        QCOMPARE(records().count(), 2);
        QVERIFY(m_window->recordsWindow()->isVisible());
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 2"));
    }

    void purge()
    {
        open();
        typeConversion("Length", "metre (m)", "foot (ft)", "2");
        action("mnurecordsadd")->trigger();
        action("mnurecordsadd")->trigger();
        m_window->state().records.setSaved(true);
        m_messages.answer = QMessageBox::No;
        action("mnurecordspurge")->trigger();
        QCOMPARE(m_messages.value(0),
                 (MessageSpec{"Are you sure you wish to delete all of your conversion records?", QMessageBox::Critical,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No, "Confirmation"}));
        QCOMPARE(records().count(), 2);

        m_messages.answer = QMessageBox::Yes;
        action("mnurecordspurge")->trigger();
        QCOMPARE(records().count(), 0);
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 0"));
        for (const char *name : {"mnurecordsadd", "mnurecordspurge", "mnuRecordsView"})
            QVERIFY2(!action(name)->isEnabled(), name);
        QVERIFY(!m_window->recordsWindow());
        QVERIFY(records().saved());  // left as it was

        // Ctrl+A waits for the Records menu; the panel records at once, as number 1
        pressCtrlA();
        QCOMPARE(records().count(), 0);
        QTest::mouseClick(m_window->statusPanel(2), Qt::LeftButton);
        QVERIFY(m_window->recordsWindow()->recordsText().endsWith("\r\n\r\n1. (Length)  2 metre (m)  =  6.562 foot (ft)"));
        emit child<QMenu>("mnurecords")->aboutToShow();
        pressCtrlA();
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 2"));
    }

    void recordsMenuOffersAddForACompleteConversion()
    {
        open();
        QMenu *menu = child<QMenu>("mnurecords");
        emit menu->aboutToShow();
        QVERIFY(!action("mnurecordsadd")->isEnabled());
        typeConversion("Length", "metre (m)", "foot (ft)", "2");
        emit menu->aboutToShow();
        QVERIFY(action("mnurecordsadd")->isEnabled());
        child<QLineEdit>("txtunit1")->clear();
        emit menu->aboutToShow();
        QVERIFY(!action("mnurecordsadd")->isEnabled());
    }

    void viewingTheRecords()
    {
        open();
        QTest::mouseDClick(m_window->statusPanel(1), Qt::LeftButton);
        QVERIFY(!m_window->recordsWindow());
        typeConversion("Length", "metre (m)", "foot (ft)", "2");
        action("mnurecordsadd")->trigger();
        QTest::mouseDClick(m_window->statusPanel(1), Qt::LeftButton);
        QVERIFY(m_window->recordsWindow()->isVisible());
        m_window->recordsWindow()->showMinimized();
        chooseFromPopup("mnuRecordsView");  // the pop-up's item only shows it
        QVERIFY(m_window->recordsWindow()->isMinimized());
        action("mnuRecordsView")->trigger();
        QVERIFY(!m_window->recordsWindow()->isMinimized());
        // closed and viewed again: loaded anew from the same records
        m_window->recordsWindow()->close();
        QTRY_VERIFY(!m_window->recordsWindow());
        chooseFromPopup("mnuRecordsView");
        QVERIFY(m_window->recordsWindow()->isVisible());
        QVERIFY(m_window->recordsWindow()->recordsText().endsWith("1. (Length)  2 metre (m)  =  6.562 foot (ft)"));
    }

    // State: records made, maybe saved; confirm and save settings. Action:
    // close the main window, answering the question. Expected: closed or
    // not, the records window shown or not, the save dialog opened or not.
    void exitQuestion_data()
    {
        QTest::addColumn<bool>("haveRecords");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("save");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saveDialog");
        QTest::newRow("no records") << false << false << "true" << "1" << int(QMessageBox::No) << false << true << false;
        QTest::newRow("saved records") << true << true << "true" << "1" << int(QMessageBox::No) << false << true << false;
        QTest::newRow("confirm off") << true << false << "false" << "1" << int(QMessageBox::No) << false << true << false;
        QTest::newRow("yes") << true << false << "true" << "1" << int(QMessageBox::Yes) << true << true << false;
        QTest::newRow("no, save 1") << true << false << "true" << "1" << int(QMessageBox::No) << true << false << true;
        QTest::newRow("no, save 0") << true << false << "true" << "0" << int(QMessageBox::No) << true << false << false;
    }

    void exitQuestion()
    {
        QFETCH(bool, haveRecords);
        QFETCH(bool, saved);
        QFETCH(QString, confirm);
        QFETCH(QString, save);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closed);
        QFETCH(bool, saveDialog);
        WriteSetting(section::settings, "confirm", confirm);
        WriteSetting(section::settings, "save", save);
        open();
        if (haveRecords) {
            typeConversion("Length", "metre (m)", "foot (ft)", "2");
            action("mnurecordsadd")->trigger();
        }
        m_window->state().records.setSaved(saved);
        m_messages.answer = QMessageBox::StandardButton(answer);

        QCOMPARE(m_window->close(), closed);
        const MessageSpec question{"Quit Quantix 96 without saving recorded conversions?", QMessageBox::Critical,
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
        QCOMPARE(m_messages, asked ? QList<MessageSpec>{question} : QList<MessageSpec>{});
        if (closed) {
            QVERIFY(!m_window->recordsWindow());
            QCOMPARE(ReadSetting(section::settings, "ConvRecordsWidth", "absent"), haveRecords ? "7575" : "absent");
            return;
        }
        refusedCloseShowsTheRecordsWindow(saveDialog);
        QTest::qWait(50);
        QCOMPARE(m_dialogs->saveCalls, saveDialog ? 1 : 0);
        QVERIFY(!records().openSaveRequest());
        // the dialog was cancelled: the next exit asks again
        QVERIFY(!m_window->close());
        QCOMPARE(m_messages.size(), 2);
    }

    // A unit name of a megabyte (a hand-edited store) is offered and
    // recorded by its first 60 characters, at once.
    void longUserUnitName()
    {
        const QString name = QStringLiteral("league of ") + QString(1 << 20, u'x');
        const QString shown = name.left(60);
        WriteSetting(section::userunits, "Lengthnumber", "1");
        WriteSetting(section::userunits, "Length1", name);
        WriteSetting(section::userunits, "Lengthfactor1", "4828.032");
        WriteSetting(section::userunits, "Lengthused1", "1");
        open();
        QElapsedTimer timer;
        timer.start();
        typeConversion("Length", shown, "kilometre (km)", "2");
        QCOMPARE(result(), QStringLiteral("9.656"));
        action("mnurecordsadd")->trigger();
        QCOMPARE(records().at(1).initialUnit, shown);
        QVERIFY(m_window->recordsWindow()->recordsText().endsWith("1. (Length)  2 " + shown + "  =  9.656 kilometre (km)"));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(ReadSetting(section::userunits, "Length1", QString()), name);
    }

    // A records text of thousands of lines: recording the 5,000th record (which
    // loads the records window), the 5,001st into the shown window, saving
    // both formats and printing.
    void fiveThousandRecords()
    {
        open();
        typeConversion("Length", "metre (m)", "foot (ft)", "2");
        ConversionRecords &list = m_window->state().records;
        for (int i = 1; i < 5000; ++i)
            list.append({"Area", "hectare (ha)", "square metre (m²)", QString::number(i), QString::number(i * 10000)});
        QElapsedTimer timer;
        timer.start();
        action("mnurecordsadd")->trigger();
        const qint64 record5000 = timer.restart();
        QCOMPARE(panel1(), QStringLiteral("Conversion records: 5000"));
        action("mnuRecordsView")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(m_window->recordsWindow()));
        timer.restart();
        QTest::mouseClick(m_window->statusPanel(2), Qt::LeftButton);
        // the box lays the text out in steps; force all of it and a paint
        QCoreApplication::processEvents();
        QVERIFY(m_window->recordsWindow()->findChild<QPlainTextEdit *>("txtRecords")->document()->size().height() > 5000);
        m_window->recordsWindow()->grab();
        const qint64 record5001 = timer.restart();

        m_dialogs->saveAnswers = {m_dir.filePath("many.txt"), m_dir.filePath("many.rtf")};
        m_window->recordsWindow()->saveAs();
        const qint64 saveText = timer.restart();
        m_window->recordsWindow()->saveAs();
        const qint64 saveRtf = timer.restart();
        m_dialogs->pdfFile = m_dir.filePath("many.pdf");
        m_window->recordsWindow()->print();
        const qint64 print = timer.restart();
        qInfo("5,000th record %lld ms, 5,001st into the shown window with layout and paint %lld ms, save .txt %lld ms, "
              "save RTF %lld ms, print %lld ms",
              record5000, record5001, saveText, saveRtf, print);
        QVERIFY(QFile(m_dir.filePath("many.txt")).size() > 300000);
        QVERIFY(m_messages.isEmpty());
        QVERIFY(record5000 < 1000 && record5001 < 1000 && saveText < 1000 && saveRtf < 1000);
    }
};

QTEST_MAIN(TestMainWindowRecords)
#include "tst_mainwindowrecords.moc"

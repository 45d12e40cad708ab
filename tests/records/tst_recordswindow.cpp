#include "support/fakedialogs.h"
#include "support/messagelog.h"
#include "support/replacements.h"
#include "ui/common/appstate.h"
#include "recordstesting.h"
#include "settings/settingsstore.h"
#include "ui/records/recordswindow.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QScrollBar>
#include <QPlainTextEdit>

using namespace quantix;
using namespace quantix::testing;

namespace {

const QString header = QStringLiteral("Quantix 96 - Conversion Records         2:05:09 PM UTC  Tuesday, March 3, 2026\r\n");
const QString twoLines = QStringLiteral("\r\n1. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n2. (Area)  2 hectare (ha)  =  20000 square metre (m²)");

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

// The records window on its own: loading, the print font, saving, printing
// and copying, with the records and the print font of a run-wide state.
class TestRecordsWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state;
    MessageLog m_messages;
    FakeDialogs *m_dialogs = nullptr;
    QPointer<RecordsWindow> m_window;

    QPlainTextEdit *box() { return m_window->findChild<QPlainTextEdit *>("txtRecords"); }
    QAction *action(const char *name) { return m_window->findChild<QAction *>(QLatin1String(name)); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    void load()
    {
        m_window = new RecordsWindow(m_state->records, m_state->options);
    }

    void showActive()
    {
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void selectLine(int line)
    {
        QTextCursor cursor(box()->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }

    static QString documents()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileInfo::exists(folder) ? folder : QDir::homePath();
    }

    static QString setting(const char *key) { return ReadSetting(section::settings, QLatin1String(key), QStringLiteral("absent")); }

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
        m_state = std::make_unique<AppState>();
        m_state->records.append({"Length", "metre (m)", "foot (ft)", "2", "6.562"});
        m_state->records.append({"Area", "hectare (ha)", "square metre (m²)", "2", "20000"});
    }

    void cleanup() { delete m_window; }

    void loadsHiddenWithTheRecordsText()
    {
        load();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Conversion Records"));
        QCOMPARE(m_window->recordsText(), header + twoLines);
        QCOMPARE(box()->toPlainText(), QString(header + twoLines).replace("\r\n", "\n"));
        QVERIFY(box()->isReadOnly());
        QCOMPARE(action("mnueditedit_1")->text(), QStringLiteral("Copy as &Rich Text Format"));
        QCOMPARE(action("mnueditselectall")->text(), QStringLiteral("&Select All"));
        QVERIFY(action("mnuFileSep1")->isSeparator());
        // the defaults: 300, 300, 7575 and 3840 twips
        QCOMPARE(m_window->pos(), QPoint(20, 20));
        QCOMPARE(m_window->size(), QSize(505, 256));
    }

    // At the default size the lines wrap clear of the vertical scroll bar, so
    // no horizontal bar shows, with a few records or many.
    void linesEndBesideTheScrollBar_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("two") << 2;
        QTest::newRow("a hundred") << 100;
    }

    void linesEndBesideTheScrollBar()
    {
        QFETCH(int, records);
        for (int i = m_state->records.count(); i < records; ++i)
            m_state->records.append({"Length", "mile (International nautical)", "micrometre (micron)  (µm)", "123456789",
                                    "228,800,000,000,000.000"});
        load();
        showActive();
        QPlainTextEdit *text = box();
        QCOMPARE(text->verticalScrollBar()->isVisible(), records > 20);
        QVERIFY(!text->horizontalScrollBar()->isVisible());
        QVERIFY(text->document()->size().width() <= text->viewport()->width());
    }

    // Closing stores the four keys as one change of the settings file.
    void geometryRoundTrip()
    {
        load();
        showActive();
        m_window->move(40, 50);
        m_window->resize(600, 300);
        ReplacementCounter replacements(settingsLocation());
        m_window->close();
        QTRY_VERIFY(!m_window);
        QCOMPARE(replacements.count(), 1);
        QCOMPARE(setting("ConvRecordsLeft"), QStringLiteral("600"));
        QCOMPARE(setting("ConvRecordsTop"), QStringLiteral("750"));
        QCOMPARE(setting("ConvRecordsWidth"), QStringLiteral("9000"));
        QCOMPARE(setting("ConvRecordsHeight"), QStringLiteral("4500"));
        load();
        QCOMPARE(m_window->pos(), QPoint(40, 50));
        QCOMPARE(m_window->size(), QSize(600, 300));
        // far off the screen: left and top stay in 16 bits
        m_window->move(3000, -3000);
        m_window->close();
        QTRY_VERIFY(!m_window);
        QCOMPARE(setting("ConvRecordsLeft"), QStringLiteral("32767"));
        QCOMPARE(setting("ConvRecordsTop"), QStringLiteral("-32768"));
    }

    // State: a stored size too small for the window at a desktop font of 16
    // points. Expected: as large as its menu titles and box need; the stored
    // values stay until the window closes.
    void smallStoredSizeGrowsToTheContents()
    {
        WriteSetting(section::settings, "ConvRecordsWidth", "300");
        WriteSetting(section::settings, "ConvRecordsHeight", "300");
        const QFont previous = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 16));
        load();
        showActive();
        QVERIFY(m_window->width() >= m_window->menuBar()->sizeHint().width());
        QCOMPARE(m_window->size(), m_window->size().expandedTo(m_window->minimumSizeHint()));
        QCOMPARE(setting("ConvRecordsWidth"), QStringLiteral("300"));
        QApplication::setFont(previous);
    }

    // State: a size larger than the screen, a position off it, a top that
    // is not a number. Expected: the size shrinks to the screen, the top
    // stays as designed; once shown, the window is pulled back onto the
    // screen (the stored left stays until it closes).
    void storedGeometryIsCheckedAtLoad()
    {
        WriteSetting(section::settings, "ConvRecordsLeft", "30000");
        WriteSetting(section::settings, "ConvRecordsTop", "top");
        WriteSetting(section::settings, "ConvRecordsWidth", "999999");
        WriteSetting(section::settings, "ConvRecordsHeight", "999999");
        load();
        QCOMPARE(m_window->pos(), QPoint(2000, 0));
        QCOMPARE(m_window->size(), QApplication::primaryScreen()->geometry().size());
        m_window->close();
        QTRY_VERIFY(!m_window);
        WriteSetting(section::settings, "ConvRecordsLeft", "30000");
        WriteSetting(section::settings, "ConvRecordsWidth", "6000");
        WriteSetting(section::settings, "ConvRecordsHeight", "3000");
        load();
        showActive();
        const QRect area = QApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.contains(m_window->frameGeometry()));
        QCOMPARE(m_window->frameGeometry().right(), area.right());
        QCOMPARE(setting("ConvRecordsLeft"), QStringLiteral("30000"));
    }

    void printFontOnEveryActivation()
    {
        m_state->options.setPrintFont({"DejaVu Serif", "14", 0x0000C0, true, true, true});
        load();
        showActive();
        const QTextDocument *document = box()->document();
        for (const int position : {0, 100, document->characterCount() - 2}) {
            QTextCursor cursor(box()->document());
            cursor.setPosition(position + 1);
            const QTextCharFormat format = cursor.charFormat();
            QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Serif"));
            QCOMPARE(format.fontPointSize(), 14.0);
            QVERIFY(format.fontUnderline() && format.fontItalic() && format.fontWeight() == QFont::Bold);
            QCOMPARE(format.foreground().color(), QColor(0xC0, 0, 0));
        }
        QVERIFY(!box()->textCursor().hasSelection());
        QCOMPARE(box()->textCursor().position(), 0);
        // a font chosen meanwhile shows at the next activation
        PrintFont font = m_state->options.printFont();
        font.bold = false;
        m_state->options.setPrintFont(font);
        m_window->frmFont();
        QCOMPARE(QTextCursor(box()->document()).charFormat().fontWeight(), int(QFont::Normal));
    }

    // State: the window shown. Action: records added one at a time while the
    // clock moves on, in the font shown or after another was chosen.
    // Expected: the box shows what would be saved, the header at the last
    // add's time, every line in the print font, and lays out every line.
    void recordsAddedIntoTheShownBox_data()
    {
        QTest::addColumn<bool>("fontChanged");
        QTest::newRow("same font") << false;
        QTest::newRow("font chosen meanwhile") << true;
    }

    void recordsAddedIntoTheShownBox()
    {
        QFETCH(bool, fontChanged);
        int seconds = 0;
        RecordsWindow::setClock([&seconds] { return QDateTime(QDate(2026, 3, 3), QTime(14, 5, 9).addSecs(seconds)); });
        load();
        showActive();
        if (fontChanged)
            m_state->options.setPrintFont({"DejaVu Serif", "14", 0x0000C0, true, false, false});
        for (seconds = 1; seconds <= 300; ++seconds)
            m_state->records.append({"Length", "metre (m)", "foot (ft)", QString::number(seconds), "3.281"});
        QCoreApplication::processEvents();
        RecordsWindow::setClock([] { return QDateTime(QDate(2026, 3, 3), QTime(14, 5, 9)); });

        const QString text = m_state->records.text(QDateTime(QDate(2026, 3, 3), QTime(14, 10, 9)));
        QCOMPARE(m_window->recordsText(), text);
        QCOMPARE(box()->toPlainText(), QString(text).replace("\r\n", "\n"));
        const QTextDocument *document = box()->document();
        QCOMPARE(document->blockCount(), 304);
        QVERIFY(document->lineCount() >= 304);
        const QString family = fontChanged ? QStringLiteral("DejaVu Serif") : m_state->options.printFont().name;
        for (const int block : {0, 2, 303}) {
            QTextCursor cursor(document->findBlockByNumber(block));
            cursor.movePosition(QTextCursor::EndOfBlock);
            QCOMPARE(cursor.charFormat().fontFamilies().toStringList().value(0), family);
        }
        m_dialogs->saveAnswers = {path("added.txt")};
        m_window->saveAs();
        QCOMPARE(readAll(path("added.txt")), (text + "\r\n").toUtf8());
    }

    // State: unsaved records and the request set by a refused exit. Action:
    // the window is activated twice. Expected: one save dialog.
    void requestOpensSaveAsOnce()
    {
        m_state->records.setOpenSaveRequest(true);
        load();
        showActive();
        QTRY_COMPARE(m_dialogs->saveCalls, 1);
        QVERIFY(!m_state->records.openSaveRequest());
        QVERIFY(!m_state->records.saved());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QTest::qWait(20);
        QCOMPARE(m_dialogs->saveCalls, 1);
        // saved records: the request is only cleared
        m_state->records.setSaved(true);
        m_state->records.setOpenSaveRequest(true);
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QTRY_VERIFY(!m_state->records.openSaveRequest());
        QTest::qWait(20);
        QCOMPARE(m_dialogs->saveCalls, 1);
    }

    void saveAsPlainTextByteForByte()
    {
        load();
        m_dialogs->saveAnswers = {path("records.txt")};
        m_state->records.setOpenSaveRequest(true);
        m_window->saveAs();
        QCOMPARE(m_dialogs->saveTitle, QStringLiteral("Quantix 96"));
        QCOMPARE(m_dialogs->saveFilter, QStringLiteral("Text File (*.txt);;Rich Text Format (*.rtf)"));
        QCOMPARE(readAll(path("records.txt")),
                 QByteArray("Quantix 96 - Conversion Records         2:05:09 PM UTC  Tuesday, March 3, 2026\r\n"
                            "\r\n"
                            "1. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n"
                            "2. (Area)  2 hectare (ha)  =  20000 square metre (m\xC2\xB2)\r\n"));
        QVERIFY(m_state->records.saved());
        QVERIFY(!m_state->records.openSaveRequest());
        QVERIFY(m_messages.isEmpty());
    }

    void nameWithoutExtensionSavesRtf()
    {
        load();
        m_dialogs->saveAnswers = {path("records")};
        m_window->saveAs();
        const QByteArray rtf = readAll(path("records"));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("square metre (m\\u178\\'b2)"));
    }

    void cancelIsSilent()
    {
        load();
        m_state->records.setOpenSaveRequest(true);
        m_window->saveAs();
        m_window->save();
        QCOMPARE(m_dialogs->saveCalls, 2);
        QVERIFY(!m_state->records.saved());
        QVERIFY(m_state->records.openSaveRequest());
        QVERIFY(m_messages.isEmpty());
    }

    // Save after a save rewrites the same file without asking; a new record
    // makes it ask again.
    void saveAfterSave()
    {
        load();
        m_dialogs->saveAnswers = {path("again.txt"), path("new.txt")};
        m_window->save();
        QCOMPARE(m_dialogs->saveCalls, 1);
        const QByteArray saved = readAll(path("again.txt"));
        QFile::remove(path("again.txt"));
        m_window->save();
        QCOMPARE(m_dialogs->saveCalls, 1);
        QCOMPARE(readAll(path("again.txt")), saved);
        m_state->records.append({"Length", "metre (m)", "foot (ft)", "3", "9.843"});
        m_state->records.setSaved(false);
        m_window->buildRecordsText();
        m_window->save();
        QCOMPARE(m_dialogs->saveCalls, 2);
        QVERIFY(readAll(path("new.txt")).endsWith("3. (Length)  3 metre (m)  =  9.843 foot (ft)\r\n"));
        QVERIFY(m_messages.isEmpty());
    }

    // State: records saved to a file. Action: saves that fail. Expected: the
    // file and the system's text (or the refusal of what is not a regular
    // file) in a box, the saved flag and the older file unchanged, and Save
    // still going to the file that was saved.
    void failedSaves()
    {
        load();
        QVERIFY(QDir(m_dir.path()).mkdir("folder"));
        const QString first = path("folder/first.txt");
        m_dialogs->saveAnswers = {first, path("missing/x.txt"), "/dev/full"};
        m_window->saveAs();
        QVERIFY(m_state->records.saved());
        m_window->saveAs();
        m_window->saveAs();
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages[0], (MessageSpec{"The conversion records could not be saved as \"" + path("missing/x.txt")
                                                 + "\": No such file or directory.",
                                             QMessageBox::Critical}));
        QCOMPARE(m_messages[1].text, QStringLiteral("The conversion records could not be saved as \"/dev/full\": it is not a regular file."));
        QVERIFY(m_state->records.saved());
        QCOMPARE(m_state->records.lastSavedFile(), first);
        // the folder of the saved file goes away: Save reports it
        QVERIFY(QDir(path("folder")).removeRecursively());
        m_window->save();
        QCOMPARE(m_messages.size(), 3);
        QVERIFY(m_state->records.saved());
        QCOMPARE(m_dialogs->saveCalls, 3);
        // a disk that fills up while Save rewrites the saved file
        m_dialogs->saveAnswers = {path("kept.txt")};
        m_window->saveAs();
        const QByteArray kept = readAll(path("kept.txt"));
        for (int i = 0; i < 2000; ++i)
            m_state->records.append({"Length", "metre (m)", "foot (ft)", "3", "9.843"});
        m_state->records.setSaved(true);
        {
            const FileSizeLimit full(50000);
            m_window->save();
        }
        QCOMPARE(m_messages.value(3).text,
                 "The conversion records could not be saved as \"" + path("kept.txt") + "\": File too large.");
        QCOMPARE(readAll(path("kept.txt")), kept);
        QVERIFY(m_state->records.saved());
        // unsaved records stay unsaved after a failed Save As
        m_state->records.setSaved(false);
        m_dialogs->saveAnswers = {path("missing/y.rtf")};
        m_window->save();
        QVERIFY(!m_state->records.saved());
        QCOMPARE(m_state->records.count(), 2002);
    }

    void printsTheTextOrTheSelection()
    {
        load();
        showActive();
        m_dialogs->pdfFile = path("all.pdf");
        m_window->print();
        QString text = QString::fromUtf8(runReader("pdftotext", {path("all.pdf"), "-"}));
        QVERIFY2(!text.isEmpty(), "pdftotext did not read the printout");
        QVERIFY2(text.contains("Quantix 96 - Conversion Records"), qPrintable(text));
        QVERIFY(text.contains("2. (Area)"));
        QVERIFY(text.contains("square metre (m²)"));
        QVERIFY2(!text.contains(QRegularExpression("^\\s*1\\s*$", QRegularExpression::MultilineOption)), "no page number");

        selectLine(3);
        m_dialogs->pdfFile = path("selection.pdf");
        m_window->print();
        text = QString::fromUtf8(runReader("pdftotext", {path("selection.pdf"), "-"}));
        QVERIFY2(text.contains("2. (Area)"), qPrintable(text));
        QVERIFY(!text.contains("Conversion Records"));
        QVERIFY(!text.contains("1. (Length)"));

        m_dialogs->pdfFile.clear();
        m_window->print();
        QCOMPARE(m_dialogs->printCalls, 3);
        QCOMPARE(m_dialogs->printTitle, QStringLiteral("Quantix 96"));
        QVERIFY(m_messages.isEmpty());
        // a PDF file that cannot be written says why; one that the disk
        // cannot take keeps the file that was there
        m_dialogs->pdfFile = path("missing/x.pdf");
        m_window->print();
        QCOMPARE(m_messages, (QList<MessageSpec>{{"The conversion records could not be saved as \"" + path("missing/x.pdf")
                                                      + "\": No such file or directory.",
                                                  QMessageBox::Critical}}));
        const QByteArray before = readAll(path("all.pdf"));
        m_dialogs->pdfFile = path("all.pdf");
        {
            const FileSizeLimit full(before.size() / 2);
            m_window->print();
        }
        QCOMPARE(m_messages.value(1).text,
                 "The conversion records could not be saved as \"" + path("all.pdf") + "\": File too large.");
        QCOMPARE(readAll(path("all.pdf")), before);
    }

    // State: no printer installed. Action: Print. Expected: the question
    // whether to print to a PDF file; Yes offers the file in the print dialog,
    // No ends the command.
    void printingWithoutAPrinter()
    {
        load();
        showActive();
        m_dialogs->hasPrinter = false;
        m_messages.answer = QMessageBox::No;
        m_window->print();
        QCOMPARE(m_messages, (QList<MessageSpec>{{"No printer is installed. Print the conversion records to a PDF file instead?",
                                                  QMessageBox::Information, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes}}));
        QCOMPARE(m_dialogs->printCalls, 0);
        m_messages.answer = QMessageBox::Yes;
        m_dialogs->pdfFile = path("no printer.pdf");
        m_window->print();
        QCOMPARE(m_dialogs->printCalls, 1);
        QCOMPARE(QFileInfo(m_dialogs->offeredPdfFile).fileName(), QStringLiteral("Conversion Records.pdf"));
        QCOMPARE(QFileInfo(m_dialogs->offeredPdfFile).absolutePath(), documents());
        const QString text = QString::fromUtf8(runReader("pdftotext", {path("no printer.pdf"), "-"}));
        QVERIFY2(text.contains("2. (Area)"), qPrintable(text));
        QCOMPARE(m_messages.size(), 2);
    }

    // The save dialog starts in the folder last saved to, under the name
    // saved, else in the documents folder with a name of its own.
    void saveDialogSuggestion()
    {
        load();
        m_window->saveAs();
        QCOMPARE(m_dialogs->saveSuggestion, QDir(documents()).filePath("Conversion Records.txt"));
        QVERIFY(QDir(m_dir.path()).mkdir("saved"));
        m_dialogs->saveAnswers = {path("saved/monday.rtf")};
        m_window->saveAs();
        m_window->saveAs();
        QCOMPARE(m_dialogs->saveSuggestion, path("saved/monday.rtf"));
        m_window->print();
        QCOMPARE(m_dialogs->offeredPdfFile, QString());  // a printer is installed: no file offered
        m_dialogs->hasPrinter = false;
        m_messages.answer = QMessageBox::Yes;
        m_window->print();
        QCOMPARE(m_dialogs->offeredPdfFile, path("saved/Conversion Records.pdf"));
        QVERIFY(QDir(path("saved")).removeRecursively());
        m_window->saveAs();
        QCOMPARE(m_dialogs->saveSuggestion, QDir(documents()).filePath("monday.rtf"));
    }

    void clipboardAndEditMenu()
    {
        load();
        showActive();
        QMenu *edit = m_window->findChild<QMenu *>("mnuedit");
        emit edit->aboutToShow();
        QVERIFY(!action("mnueditedit_0")->isEnabled() && !action("mnueditedit_1")->isEnabled());
        QVERIFY(action("mnueditselectall")->isEnabled());
        action("mnueditselectall")->trigger();
        emit edit->aboutToShow();
        QVERIFY(action("mnueditedit_0")->isEnabled() && action("mnueditedit_1")->isEnabled());

        action("mnueditedit_0")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString(header + twoLines).replace("\r\n", "\n"));

        m_state->options.setPrintFont({"Liberation Sans", "16", 0x00FF00, false, true, false});
        selectLine(2);
        action("mnueditedit_1")->trigger();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("1. (Length)  2 metre (m)  =  6.562 foot (ft)"));
        const QByteArray rtf = data->data("text/rtf");
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("Liberation Sans;"));
        QVERIFY(rtf.contains("\\red0\\green255\\blue0;"));
        QVERIFY(rtf.contains("\\fs32\\cf1\\i 1. (Length)  2 metre (m)  =  6.562 foot (ft)\r\n}"));
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"

#include "ui/records/recordswindow.h"

#include "engine/stringtable.h"
#include "records/conversionrecords.h"
#include "records/recordsfile.h"
#include "records/rtfwriter.h"
#include "rules/filefailure.h"
#include "rules/options.h"
#include "settings/settingkeys.h"
#include "ui/common/commondialogs.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/common/windowgeometry.h"

#include "ui_frmConvRecords.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QPdfWriter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTimer>

#include <algorithm>

namespace quantix {

namespace {

// Every menu and menu item with the string that captions it.
constexpr MenuCaption menuCaptions[] = {
    {"mnufile", 10},       {"mnufilesave", 34},   {"mnufilesaveas", 39},       {"mnuFilePrint", 13},
    {"mnuFileQuit", 14},   {"mnuedit", 20},       {"mnueditedit_0", 25},       {"mnueditedit_1", 26},
    {"mnueditselectall", 192},
};

constexpr const char *separators[] = {"mnuFileSep1", "sep2", "mnueditsep1"};

const QString saveFilter = QStringLiteral("Text File (*.txt);;Rich Text Format (*.rtf)");

RecordsWindow::Clock &recordsClock()
{
    static RecordsWindow::Clock current;
    return current;
}

QDateTime now()
{
    return recordsClock() ? recordsClock()() : QDateTime::currentDateTime();
}

QTextCharFormat printFormat(const PrintFont &font)
{
    QTextCharFormat format;
    format.setFont(toQFont(font));
    format.setForeground(toQColor(font.colour));
    return format;
}

// Where a save dialog starts: the folder last saved to while it exists, else
// the user's documents folder.
QString suggestedFile(const QString &lastSaved, const QString &name)
{
    const QFileInfo last(lastSaved);
    if (!lastSaved.isEmpty() && last.absoluteDir().exists())
        return last.absoluteDir().filePath(name);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(QFileInfo::exists(documents) ? documents : QDir::homePath()).filePath(name);
}

// The text laid out for the device's page in the print font. Laid out on the
// device itself, the sizes stay true; a page size set from the page's paint
// rectangle leaves out the page numbers an unpaginated document would get.
void printText(QPagedPaintDevice &device, const QString &text, const PrintFont &font)
{
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(toQFont(font));
    document.setPageSize(device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    QTextCursor(&document).insertText(text, printFormat(font));
    document.print(&device);
}

}

RecordsWindow::RecordsWindow(ConversionRecords &records, const Options &options, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::frmConvRecords>())
    , m_records(records)
    , m_options(options)
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setProgramIcon(this);
    markSeparators(this, separators);
    useProgramEditMenu(m_ui->txtRecords);

    restoreStoredGeometry();
    setCaptions();
    // A size stored at a smaller font grows to what the menu titles and the
    // box need at this one.
    settleLayouts(this);
    resize(size().expandedTo(minimumSizeHint()).expandedTo({menuBar()->sizeHint().width(), 0}));
    // Lines wrap at the box's width beside the vertical scroll bar, so that
    // the ends of the lines stay in sight without a horizontal bar.
    m_ui->txtRecords->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    buildRecordsText();
    connect(&m_records, &ConversionRecords::added, this, &RecordsWindow::recordAdded);

    connect(m_ui->mnufilesave, &QAction::triggered, this, &RecordsWindow::save);
    connect(m_ui->mnufilesaveas, &QAction::triggered, this, &RecordsWindow::saveAs);
    connect(m_ui->mnuFilePrint, &QAction::triggered, this, &RecordsWindow::print);
    connect(m_ui->mnuFileQuit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->mnuedit, &QMenu::aboutToShow, this, &RecordsWindow::editMenuOpening);
    connect(m_ui->mnueditedit_0, &QAction::triggered, this, &RecordsWindow::copyText);
    connect(m_ui->mnueditedit_1, &QAction::triggered, this, &RecordsWindow::copyRichText);
    connect(m_ui->mnueditselectall, &QAction::triggered, this, &RecordsWindow::selectAll);
}

RecordsWindow::~RecordsWindow() = default;

void RecordsWindow::setClock(Clock clock)
{
    recordsClock() = std::move(clock);
}

void RecordsWindow::setCaptions()
{
    setWindowTitle(str(350));
    setMenuCaptions(this, menuCaptions);
    m_ui->txtRecords->setAccessibleName(str(350));
}

// A stored value that is not a number leaves that edge or size as designed.
// A size larger than the screen shrinks to it; a position off every screen
// is pulled back onto one when the window is shown, and is stored again only
// when it closes. Where the desktop places windows itself, only the size is
// restored and stored.
void RecordsWindow::restoreStoredGeometry()
{
    const SettingsSnapshot snapshot;
    if (programPlacesWindows()) {
        const std::optional<int> left = setting::convRecordsLeft.readWholeNumber();
        const std::optional<int> top = setting::convRecordsTop.readWholeNumber();
        move(left ? twipsToPixels(*left) : x(), top ? twipsToPixels(*top) : y());
    }

    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (const std::optional<int> width = setting::convRecordsWidth.readWholeNumber())
        resize(std::min(twipsToPixels(*width), screenSize.width()), height());
    if (const std::optional<int> height = setting::convRecordsHeight.readWholeNumber())
        resize(width(), std::min(twipsToPixels(*height), screenSize.height()));
}

void RecordsWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    keepOnScreen(this);
}

// Left and top are kept in 16 bits; a window far off the screen is stored
// at the edge of that range rather than wrapped round.
SettingWrites RecordsWindow::geometryWrites() const
{
    const auto edge = [](int pixels) { return std::clamp(pixelsToTwips(pixels), -32768, 32767); };
    SettingWrites writes;
    if (programPlacesWindows())
        writes << setting::convRecordsLeft.write(edge(x())) << setting::convRecordsTop.write(edge(y()));
    return writes << setting::convRecordsWidth.write(pixelsToTwips(width())) << setting::convRecordsHeight.write(pixelsToTwips(height()));
}

SettingWrites RecordsWindow::takeGeometryWrites()
{
    m_geometryTaken = true;
    return geometryWrites();
}

// Formatting the text the box shows costs as much as laying it out again,
// so it is done only when the print font changed since the text was shown.
void RecordsWindow::frmFont()
{
    if (m_shownFont != m_options.printFont())
        showText();
    m_ui->txtRecords->setTextCursor(QTextCursor(m_ui->txtRecords->document()));
}

void RecordsWindow::buildRecordsText()
{
    QString text = m_records.text(now());
    const qsizetype headerSize = text.indexOf(QLatin1String("\r\n"));
    m_header = text.left(headerSize);
    m_body = std::move(text);
    m_body.remove(0, headerSize);
    m_shownFont.reset();
    frmFont();
}

// The text as buildRecordsText() would build it, without building the lines
// that were there already. A box shown in the print font takes the new line
// and header in place: its layout redoes only the blocks that change, so an
// add costs the same at a hundred thousand records as at ten. A box in
// another font shows the whole text once the records added in one go are
// all there.
void RecordsWindow::recordAdded(int number)
{
    const QString line = m_records.at(number).line(number);
    m_header = ConversionRecords::header(now());
    m_body += QLatin1String("\r\n") + line;
    if (m_shownFont == m_options.printFont()) {
        const QTextCharFormat format = printFormat(*m_shownFont);
        QTextDocument *document = m_ui->txtRecords->document();
        QTextCursor end(document);
        end.movePosition(QTextCursor::End);
        end.insertText(u'\n' + line, format);
        if (const QTextBlock first = document->firstBlock(); first.text() != m_header) {
            QTextCursor header(first);
            header.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            header.insertText(m_header, format);
        }
        return;
    }
    if (!m_showPending) {
        m_showPending = true;
        QTimer::singleShot(0, this, [this] {
            m_showPending = false;
            frmFont();
        });
    }
}

// The text in the print font goes into a new document that the box already
// shows: a box given a filled document would prepare every line for layout
// at once, while one that is filled lays out only what comes into view. The
// header and the rest go in as they are kept, without joining a copy. The
// box is a preview of the printout: the print colour on its page, not on
// the colour scheme's background.
void RecordsWindow::showText()
{
    m_shownFont = m_options.printFont();
    showOnPage(m_ui->txtRecords, toQColor(m_shownFont->colour));
    auto *document = new QTextDocument(m_ui->txtRecords);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(toQFont(*m_shownFont));
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    // The box deletes only the document it made itself.
    const QPointer<QTextDocument> previous = m_ui->txtRecords->document();
    m_ui->txtRecords->setDocument(document);
    if (previous && previous->parent() == m_ui->txtRecords)
        delete previous;
    // The box's cursor stays at the start: carried to the end by the text,
    // going back would make the box measure every line on the way.
    QTextCursor start(document);
    start.setKeepPositionOnInsert(true);
    m_ui->txtRecords->setTextCursor(start);
    const QTextCharFormat format = printFormat(*m_shownFont);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.insertText(m_header, format);
    cursor.insertText(m_body, format);
    cursor.endEditBlock();
}

void RecordsWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        activated();
}

// The request is taken before the dialog opens: closing the dialog
// activates the window again, which must not open it a second time.
void RecordsWindow::activated()
{
    frmFont();
    const bool openSaveDialog = !m_records.saved() && m_records.openSaveRequest();
    m_records.setOpenSaveRequest(false);
    if (openSaveDialog)
        QTimer::singleShot(0, this, &RecordsWindow::saveAs);
}

// The window closes whether or not its geometry could be stored.
void RecordsWindow::closeEvent(QCloseEvent *event)
{
    if (!m_geometryTaken) {
        if (const std::optional<FileFailure> failure = applySettings(geometryWrites()))
            Messages::show(this, settingsError(*failure));
    }
    event->accept();
}

void RecordsWindow::saveAs()
{
    const QString &last = m_records.lastSavedFile();
    const QString name = last.isEmpty() ? str(350) + QLatin1String(".txt") : QFileInfo(last).fileName();
    const std::optional<QString> fileName
        = CommonDialogs::instance().saveFileName(this, str(73), saveFilter, suggestedFile(last, name));
    if (!fileName || !writeRecords(*fileName))
        return;
    m_records.savedAs(*fileName);
}

void RecordsWindow::save()
{
    if (!m_records.saved() || m_records.lastSavedFile().isEmpty()) {
        saveAs();
        return;
    }
    writeRecords(m_records.lastSavedFile());
}

bool RecordsWindow::writeRecords(const QString &fileName)
{
    return writeFile(fileName, recordsFileContent(fileName, recordsText(), m_options.printFont()));
}

bool RecordsWindow::writeFile(const QString &fileName, const QByteArray &content)
{
    if (const std::optional<FileFailure> failure = writeRecordsFile(fileName, content)) {
        Messages::show(this, {recordsNotSavedText(*failure), QMessageBox::Critical});
        return false;
    }
    return true;
}

QString RecordsWindow::selectedText() const
{
    return m_ui->txtRecords->textCursor().selection().toPlainText();
}

// The selection, or else the whole text, in the print font. Without a
// printer the print dialog offers a PDF file; a PDF file is written as a
// records file is, so that a failed write keeps the file that was there.
void RecordsWindow::print()
{
    CommonDialogs &dialogs = CommonDialogs::instance();
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs.printerInstalled()) {
        if (Messages::show(this, {str(1201), QMessageBox::Information, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes})
            != QMessageBox::Yes)
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(suggestedFile(m_records.lastSavedFile(), str(350) + QLatin1String(".pdf")));
    }
    if (!dialogs.print(this, str(73), printer))
        return;
    const QString selection = selectedText();
    const QString text = selection.isEmpty() ? recordsText() : selection;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QPdfWriter writer(&pdf);
        writer.setTitle(str(350));
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        printText(writer, text, m_options.printFont());
        writeFile(printer.outputFileName(), pdf.data());
        return;
    }
    printText(printer, text, m_options.printFont());
    if (printer.printerState() == QPrinter::Error)
        Messages::show(this, {str(1010), QMessageBox::Critical});
}

void RecordsWindow::editMenuOpening()
{
    const bool selected = m_ui->txtRecords->textCursor().hasSelection();
    m_ui->mnueditedit_0->setEnabled(selected);
    m_ui->mnueditedit_1->setEnabled(selected);
}

void RecordsWindow::copyText()
{
    const QString selection = selectedText();
    if (!selection.isEmpty())
        QGuiApplication::clipboard()->setText(selection);
}

// RTF under its MIME type and, on Windows, under the clipboard format name
// word processors look for; plain text beside it for every other program.
void RecordsWindow::copyRichText()
{
    const QString selection = selectedText();
    if (selection.isEmpty())
        return;
    const QByteArray rtf = recordsRtf(selection, m_options.printFont());
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), rtf);
#ifdef Q_OS_WIN
    data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\""), rtf);
#endif
    data->setText(selection);
    QGuiApplication::clipboard()->setMimeData(data);
}

void RecordsWindow::selectAll()
{
    if (!m_ui->txtRecords->document()->isEmpty())
        m_ui->txtRecords->selectAll();
}

}

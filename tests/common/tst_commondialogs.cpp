#include "support/messagelog.h"
#include "ui/common/commondialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace quantix;
using namespace quantix::testing;

namespace {

// Runs answer on the first modal dialog of type T once it is up.
template<typename T>
void whenOpen(std::function<void(T *)> answer, int attempts = 200)
{
    QTimer::singleShot(10, qApp, [answer, attempts] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget()))
            answer(dialog);
        else if (attempts > 0)
            whenOpen<T>(answer, attempts - 1);
    });
}

}

// The program's own common dialogs, as the user meets them.
class TestCommonDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;

private slots:
    void initTestCase() { m_messages.install(); }

    // State: a suggested folder and name. Action: a name in a folder that
    // does not exist, a name with double quotes (which the dialog would read
    // as a list of names), the name of a FIFO, then a name in the suggested
    // folder. Expected: the dialog opens on the suggestion, refuses the
    // first three names with a message each and stays open (nothing waits
    // for the FIFO), and returns the last.
    void saveDialogStartsFromTheSuggestionAndRefusesMissingFolders()
    {
        QVERIFY(mkfifo(qPrintable(m_dir.filePath("pipe.txt")), 0600) == 0);
        bool opened = false;
        bool stayedOpen = false;
        whenOpen<QFileDialog>([&](QFileDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            opened = QDir(dialog->directory()).canonicalPath() == QDir(m_dir.path()).canonicalPath()
                && name->text() == QStringLiteral("Conversion Records.txt");
            // The user types where the focus is; a name field without it
            // leaves the list's selection, which the dialog prefers to the
            // typed name once the folder's files are listed.
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            name->setFocus();
            name->setText(QStringLiteral("missing/records.txt"));
            QTest::keyClick(name, Qt::Key_Return);
            name->setText(QStringLiteral("say \"hi\" now.txt"));
            QTest::keyClick(name, Qt::Key_Return);
            name->setText(QStringLiteral("pipe.txt"));
            QTest::keyClick(name, Qt::Key_Return);
            stayedOpen = dialog->isVisible();
            name->setText(QStringLiteral("records.rtf"));
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog->isVisible())
                dialog->reject(); // a refused last name fails below, not by the watchdog
        });
        const std::optional<QString> chosen = CommonDialogs::instance().saveFileName(
            nullptr, "Quantix 96", "Text File (*.txt);;Rich Text Format (*.rtf)", m_dir.filePath("Conversion Records.txt"));
        QVERIFY(opened);
        QVERIFY(stayedOpen);
        QCOMPARE(m_messages.size(), 3);
        QCOMPARE(m_messages[0].icon, QMessageBox::Warning);
        QVERIFY2(m_messages[0].text.contains(m_dir.filePath("missing")), qPrintable(m_messages[0].text));
        QCOMPARE(m_messages[1], (MessageSpec{"The name say \"hi\" now.txt has double quotes (\"), which cannot be part of a name here. "
                                             "Choose a name without them.",
                                             QMessageBox::Warning}));
        QCOMPARE(m_messages[2], (MessageSpec{"The conversion records could not be saved as \"" + m_dir.filePath("pipe.txt")
                                                 + "\": it is not a regular file.",
                                             QMessageBox::Warning}));
        QVERIFY(chosen);
        QCOMPARE(*chosen, m_dir.filePath("records.rtf"));
    }

    // The font dialog's sample shows the colour chosen, from the start and
    // after the colour button.
    void fontSampleInTheChosenColour()
    {
        QColor atStart, afterChoice;
        whenOpen<QDialog>([&](QDialog *dialog) {
            auto *sample = dialog->findChild<QLineEdit *>("qt_fontDialog_sampleEdit");
            QVERIFY(sample);
            atStart = sample->palette().color(QPalette::Text);
            whenOpen<QColorDialog>([&, dialog, sample](QColorDialog *colours) {
                colours->setCurrentColor(Qt::blue);
                colours->accept();
                QTimer::singleShot(0, dialog, [&, dialog, sample] {
                    afterChoice = sample->palette().color(QPalette::Text);
                    dialog->accept();
                });
            });
            QTest::mouseClick(dialog->findChild<QPushButton *>("colourButton"), Qt::LeftButton);
        });
        const std::optional<ChosenFont> chosen = CommonDialogs::instance().font(nullptr, {QFont("DejaVu Sans", 12), Qt::red});
        QCOMPARE(atStart, QColor(Qt::red));
        QCOMPARE(afterChoice, QColor(Qt::blue));
        QVERIFY(chosen);
        QCOMPARE(chosen->colour, QColor(Qt::blue));
    }

    // A printer set up for a PDF file, as when no printer is installed: the
    // print dialog offers printing to that file.
    void printDialogOffersThePdfFile()
    {
        const QString file = m_dir.filePath("Conversion Records.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        QString chosenPrinter, fileShown;
        whenOpen<QPrintDialog>([&](QPrintDialog *dialog) {
            chosenPrinter = dialog->findChild<QComboBox *>("printers")->currentText();
            fileShown = dialog->findChild<QLineEdit *>("filename")->text();
            dialog->accept();
        });
        QVERIFY(CommonDialogs::instance().print(nullptr, "Quantix 96", printer));
        QCOMPARE(chosenPrinter, QStringLiteral("Print to File (PDF)"));
        QCOMPARE(fileShown, file);
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), file);
    }
};

QTEST_MAIN(TestCommonDialogs)
#include "tst_commondialogs.moc"

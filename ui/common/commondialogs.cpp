#include "ui/common/commondialogs.h"

#include "engine/stringtable.h"
#include "rules/filefailure.h"
#include "ui/common/messages.h"
#include "ui/common/programfiledialog.h"
#include "ui/common/uisupport.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace quantix {

namespace {

// The save dialog, which refuses a name in a folder that does not exist
// and stays open for another. It reads a typed name with double quotes as
// a list of names ("a" "b") and would save under a part of it: such a name
// is refused too, and so is one where something other than a regular file
// stands (a FIFO, a device), before the dialog offers to replace it.
class SaveDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        if (const auto *typed = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); typed && typed->text().contains(u'"')) {
            Messages::show(this, {str(1276).arg(typed->text()), QMessageBox::Warning});
            return;
        }
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo chosen(files.constFirst());
            if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
                Messages::show(this, {str(1200).arg(QDir::toNativeSeparators(chosen.absolutePath())), QMessageBox::Warning});
                return;
            }
            if (chosen.exists() && !chosen.isDir() && !chosen.isFile()) {
                const FileFailure notRegular{.fileName = chosen.filePath(), .reason = FileFailure::Reason::NotRegularFile};
                Messages::show(this, {recordsNotSavedText(notRegular), QMessageBox::Warning});
                return;
            }
        }
        QFileDialog::accept();
    }
};

// The font dialog with a colour choice beside the font's own effects; the
// sample shows the chosen colour on the page it will be printed on.
class FontWithColourDialog : public QDialog
{
public:
    FontWithColourDialog(QWidget *parent, const ChosenFont &initial)
        : QDialog(parent)
        , m_colour(initial.colour)
    {
        m_fonts = new QFontDialog(initial.font, this);
        m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::ScalableFonts | QFontDialog::DontUseNativeDialog);
        m_fonts->setWindowFlags(Qt::Widget);
        setWindowTitle(m_fonts->windowTitle());
        auto *colourButton = new QPushButton(str(1000), this);
        colourButton->setObjectName(QStringLiteral("colourButton"));
        connect(colourButton, &QPushButton::clicked, this, [this] {
            const QColor colour = QColorDialog::getColor(m_colour, this);
            if (colour.isValid())
                m_colour = colour;
            showColour();
        });
        showColour();
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_fonts);
        layout->addWidget(colourButton, 0, Qt::AlignLeft);
        layout->addWidget(buttons);
    }

    ChosenFont chosen() const { return {m_fonts->currentFont(), m_colour}; }

private:
    void showColour()
    {
        if (auto *sample = m_fonts->findChild<QLineEdit *>(QStringLiteral("qt_fontDialog_sampleEdit")))
            showOnPage(sample, m_colour);
    }

    QFontDialog *m_fonts;
    QColor m_colour;
};

class PlatformDialogs : public CommonDialogs
{
public:
    std::optional<QString> openProgramFile(QWidget *parent, const QString &title, const QString &current) override
    {
        ProgramFileDialog dialog(parent, title, current);
        if (dialog.exec() != QDialog::Accepted || dialog.chosenProgram().isEmpty())
            return std::nullopt;
        return dialog.chosenProgram();
    }

    std::optional<QString> saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                        const QString &suggestion) override
    {
        SaveDialog dialog(parent, title, suggestion, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
#ifndef Q_OS_WIN
        // The check of the folder needs the dialog's own accept().
        dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    std::optional<ChosenFont> font(QWidget *parent, const ChosenFont &initial) override
    {
        FontWithColourDialog dialog(parent, initial);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.chosen();
    }

    bool printerInstalled() override { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

    bool print(QWidget *parent, const QString &title, QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(title);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, printer.outputFormat() == QPrinter::PdfFormat);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialog.exec() == QDialog::Accepted;
    }
};

std::unique_ptr<CommonDialogs> &current()
{
    static std::unique_ptr<CommonDialogs> dialogs = std::make_unique<PlatformDialogs>();
    return dialogs;
}

}

CommonDialogs &CommonDialogs::instance()
{
    return *current();
}

void CommonDialogs::setInstance(std::unique_ptr<CommonDialogs> dialogs)
{
    current() = dialogs ? std::move(dialogs) : std::make_unique<PlatformDialogs>();
}

}

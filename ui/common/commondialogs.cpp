#include "commondialogs.h"

#include "programfiledialog.h"
#include "stringtable.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace quantix {

namespace {

// The font dialog with a colour choice beside the font's own effects.
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
        });
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
    QFontDialog *m_fonts;
    QColor m_colour;
};

class PlatformDialogs : public CommonDialogs
{
public:
    std::optional<QString> openProgramFile(QWidget *parent, const QString &title) override
    {
        ProgramFileDialog dialog(parent, title);
        if (dialog.exec() != QDialog::Accepted || dialog.chosenProgram().isEmpty())
            return std::nullopt;
        return dialog.chosenProgram();
    }

    std::optional<QString> saveFileName(QWidget *parent, const QString &title, const QString &filter) override
    {
        QFileDialog dialog(parent, title, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
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

    bool print(QWidget *parent, const QString &title, QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(title);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
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

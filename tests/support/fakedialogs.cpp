#include "support/fakedialogs.h"

#include <QPrinter>

namespace quantix::testing {

std::optional<QString> FakeDialogs::openProgramFile(QWidget *, const QString &title, const QString &current)
{
    programTitle = title;
    programCurrent = current;
    return chosenProgram;
}

std::optional<QString> FakeDialogs::saveFileName(QWidget *, const QString &title, const QString &filter,
                                                const QString &suggestion)
{
    ++saveCalls;
    saveTitle = title;
    saveFilter = filter;
    saveSuggestion = suggestion;
    const QString answer = saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
}

std::optional<ChosenFont> FakeDialogs::font(QWidget *, const ChosenFont &initial)
{
    initialFont = initial;
    return chosenFont;
}

bool FakeDialogs::print(QWidget *, const QString &title, QPrinter &printer)
{
    ++printCalls;
    printTitle = title;
    offeredPdfFile = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    if (pdfFile.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    return true;
}

FakeDialogs *FakeDialogs::install()
{
    auto dialogs = std::make_unique<FakeDialogs>();
    FakeDialogs *installed = dialogs.get();
    CommonDialogs::setInstance(std::move(dialogs));
    return installed;
}

}

#pragma once

#include "ui/common/commondialogs.h"

#include <QStringList>

namespace quantix::testing {

// Common dialogs that answer as the test scripted them (nullopt or an empty
// name: the user cancelled) and remember what they were asked.
class FakeDialogs : public CommonDialogs
{
public:
    // Program file: the answer, and the title and current program it was
    // opened with.
    std::optional<QString> chosenProgram;
    QString programTitle, programCurrent;

    // Save dialogs answer from the front of the queue.
    QStringList saveAnswers;
    int saveCalls = 0;
    QString saveTitle, saveFilter, saveSuggestion;

    // Font: the answer, and the font the dialog opened with.
    std::optional<ChosenFont> chosenFont;
    ChosenFont initialFont;

    // Print: the job goes to this PDF file; empty, the dialog is cancelled.
    // The dialog remembers the PDF file it was offered.
    bool hasPrinter = true;
    QString pdfFile;
    int printCalls = 0;
    QString printTitle, offeredPdfFile;

    std::optional<QString> openProgramFile(QWidget *parent, const QString &title, const QString &current) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                        const QString &suggestion) override;
    std::optional<ChosenFont> font(QWidget *parent, const ChosenFont &initial) override;
    bool printerInstalled() override { return hasPrinter; }
    bool print(QWidget *parent, const QString &title, QPrinter &printer) override;

    // Installs a fresh instance and returns it; the program's dialogs own it.
    static FakeDialogs *install();
};

}

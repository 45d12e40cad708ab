#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace quantix {

// A font as the font dialog returns it: the font and its colour.
struct ChosenFont
{
    QFont font;
    QColor colour;
};

// The platform's common dialogs (file open and save, font, print). An empty
// result means the user cancelled. Tests install their own answers.
class CommonDialogs
{
public:
    virtual ~CommonDialogs() = default;

    // A program to run: an existing file, or a program on PATH typed by its
    // name, possibly with arguments (ProgramFileDialog), starting where the
    // current program is.
    virtual std::optional<QString> openProgramFile(QWidget *parent, const QString &title, const QString &current) = 0;
    // A file name in an existing folder, starting from suggestion (a folder
    // and a name in it). Overwriting asks first; a folder that does not exist
    // is refused before the dialog closes.
    virtual std::optional<QString> saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                                const QString &suggestion) = 0;
    // Scalable fonts, with underline, strike-out and a colour, shown in the
    // sample.
    virtual std::optional<ChosenFont> font(QWidget *parent, const ChosenFont &initial) = 0;
    // Whether the system has a printer to print on.
    virtual bool printerInstalled() = 0;
    // Lets the user choose the printer; false when cancelled. A printer set
    // up for a PDF file is offered as printing to that file.
    virtual bool print(QWidget *parent, const QString &title, QPrinter &printer) = 0;

    // The dialogs in use: the real ones unless a test replaced them.
    static CommonDialogs &instance();
    // Replaces the dialogs (tests); nullptr restores the real ones.
    static void setInstance(std::unique_ptr<CommonDialogs> dialogs);
};

}

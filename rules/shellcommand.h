#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace quantix {

// The program that Run Shell Program starts and the arguments it is given.
struct ShellCommand
{
    QString program;
    QStringList arguments;

    friend bool operator==(const ShellCommand &, const ShellCommand &) = default;
};

// Reads a shell-program text. The whole text is the program when it names an
// existing file (blanks, quotes and ";" are then part of the name) or a
// program on PATH; otherwise it is split as a command line, never by a shell:
// blanks separate the words, double quotes group them ("""" is a quote), and
// the first word is the program.
ShellCommand parseShellCommand(const QString &text);

// Where a program is: a bare name (no "/") is looked up on PATH and gives an
// empty text when it is not there; a path is returned as it is.
QString locateProgram(const QString &program);

// The desktop calculators to look for on PATH, best first for the desktop
// named by XDG_CURRENT_DESKTOP (a colon-separated list such as "ubuntu:GNOME").
QStringList desktopCalculators(QStringView currentDesktop);

// The first of desktopCalculators() found on PATH, by its name; empty when
// there is none.
QString findDesktopCalculator();

// The shell program of the settings ("shellprog"). When none is stored, the
// first desktop calculator found on PATH, and the key's default only when
// there is none; a stored program is always used as stored.
QString ReadShellProgram();

}

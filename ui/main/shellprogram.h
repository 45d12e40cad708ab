#pragma once

#include <QString>

namespace quantix {

// The outcome of starting the shell program, numbered as the messages
// expect: 0 started, 5 no program given, 53 file not found, 76 path not
// found, anything else another failure.
struct ShellStart
{
    int error = 0;
    QString description;
};

// Starts the program at path in a process of its own, without a shell and
// without waiting: the path names exactly one file (blanks, ";", "$()" and
// quotes are part of the name). A bare program name is looked up on PATH.
ShellStart startShellProgram(const QString &path);

}

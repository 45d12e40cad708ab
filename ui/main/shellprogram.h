#pragma once

#include <QString>

namespace quantix {

// The outcome of starting the shell program, numbered as the messages
// expect: 0 started, 5 no program given, 53 file not found, 76 path not
// found, 70 not executable, 75 the system refused to run it (the description
// is then the system's, for example "Exec format error").
struct ShellStart
{
    int error = 0;
    QString description;
};

// Starts the shell program in a process of its own, without a shell and
// without waiting. A path that names a file is that file exactly (blanks,
// ";", "$()" and quotes are part of the name); otherwise the text is a program
// and its arguments (parseShellCommand). A bare program name is looked up on
// PATH.
ShellStart startShellProgram(const QString &path);

}

#pragma once

#include "engine/errors.h"

#include <QString>

namespace quantix {

// The outcome of starting the shell program: None when it started;
// InvalidArgument when no program is given; FileNotFound, PathNotFound or
// PermissionDenied (not executable); PathFileAccess when the system refused
// to run it (the description is then the system's, for example "Exec format
// error").
struct ShellStart
{
    ErrorNumber error = ErrorNumber::None;
    QString description;
};

// Starts the shell program in a process of its own, without a shell and
// without waiting. A path that names a file is that file exactly (blanks,
// ";", "$()" and quotes are part of the name); otherwise the text is a program
// and its arguments (parseShellCommand). A bare program name is looked up on
// PATH.
ShellStart startShellProgram(const QString &path);

}

#pragma once

#include <QFileDialog>

class QSortFilterProxyModel;

namespace quantix {

// The file dialog that picks the shell program. "Executable Files" lists
// *.exe, *.com, *.pif, *.bat and, where the platform marks programs by
// permission, every executable file; "All Files" lists everything. Open also
// takes a typed program name found on PATH, or a program typed with its
// arguments, as it was typed.
class ProgramFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    // The dialog opens in the folder of the current program (a command as
    // the preferences hold it), with that program chosen, when it is found.
    ProgramFileDialog(QWidget *parent, const QString &title, const QString &current = {});

    // After Open: the chosen file's full path, or the typed command.
    QString chosenProgram() const;

protected:
    void accept() override;

private:
    QString m_typedCommand;
};

}

#include "ui/common/programfiledialog.h"

#include "engine/stringtable.h"
#include "rules/shellcommand.h"
#include "ui/common/messages.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSortFilterProxyModel>

namespace quantix {

namespace {

const QStringList programSuffixes{QStringLiteral("exe"), QStringLiteral("com"), QStringLiteral("pif"), QStringLiteral("bat")};

// The dialog's own name filter lets every file through; this proxy keeps the
// programs while "Executable Files" is chosen.
class ProgramFilesProxy : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setProgramsOnly(bool programsOnly)
    {
        m_programsOnly = programsOnly;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!m_programsOnly || !files)
            return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        if (info.isDir())
            return true;
        if (programSuffixes.contains(info.suffix(), Qt::CaseInsensitive))
            return true;
        return info.isExecutable();
    }

private:
    bool m_programsOnly = true;
};

}

ProgramFileDialog::ProgramFileDialog(QWidget *parent, const QString &title, const QString &current)
    : QFileDialog(parent, title)
{
    setAcceptMode(QFileDialog::AcceptOpen);
    // Open checks the typed name itself: it may be a program on PATH.
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::ReadOnly, false);
#ifdef Q_OS_WIN
    setNameFilters({str(1002) + QLatin1String(" (*.exe *.com *.pif *.bat)"), str(1151) + QLatin1String(" (*)")});
#else
    // A proxy model needs the dialog's own widgets; the type box shows the
    // two names, the proxy does the choosing.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    auto *proxy = new ProgramFilesProxy(this);
    setProxyModel(proxy);
    const QStringList filters{str(1002) + QLatin1String(" (*)"), str(1151) + QLatin1String(" (*)")};
    setNameFilters(filters);
    connect(this, &QFileDialog::filterSelected, proxy,
            [proxy, first = filters.constFirst()](const QString &filter) { proxy->setProgramsOnly(filter == first); });
#endif
    const QFileInfo program(current.isEmpty() ? QString() : locateProgram(parseShellCommand(current).program));
    if (program.isAbsolute() && program.isFile()) {
        setDirectory(program.absolutePath());
        selectFile(program.fileName());
    }
}

QString ProgramFileDialog::chosenProgram() const
{
    if (!m_typedCommand.isEmpty())
        return m_typedCommand;
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath();
}

// A name that is no file of the folder is taken when it is a program found on
// PATH, or a program (on PATH or by its full path) followed by arguments.
void ProgramFileDialog::accept()
{
    m_typedCommand.clear();
    auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const QString typed = edit ? edit->text().trimmed() : QString();
    if (typed.isEmpty() || QFileInfo::exists(directory().filePath(typed))) {
        const bool folder = QFileInfo(directory().filePath(typed)).isDir();
        QFileDialog::accept();
        // A typed folder is opened; its name is not a choice to keep.
        if (folder && edit)
            edit->clear();
        return;
    }
    const ShellCommand command = parseShellCommand(typed);
    const QString program = locateProgram(command.program);
    const QFileInfo file(program);
    if (!program.isEmpty() && file.isAbsolute() && file.isFile()) {
        m_typedCommand = typed;
        QDialog::accept();
        return;
    }
    Messages::show(this, {str(1152).arg(typed), QMessageBox::Warning});
}

}

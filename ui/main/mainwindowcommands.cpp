// The main window's commands that are not selection and typing: copy,
// paste and switch, the pop-up menu, the shell program, and the enabling
// rule of the Edit menu and the pop-up.

#include "mainwindow.h"

#include "helpviewer.h"
#include "messages.h"
#include "shellprogram.h"
#include "stringtable.h"

#include "ui_frmMain.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>

namespace quantix {

namespace {

MessageSpec tryAgain(int textId, QMessageBox::Icon icon)
{
    return {str(textId), icon, QMessageBox::Ok, QMessageBox::NoButton, str(321)};
}

}

void MainWindow::connectCommands()
{
    connect(ui->mnuedit, &QMenu::aboutToShow, this, &MainWindow::editMenuOpening);
    connect(ui->mnuview2, &QMenu::aboutToShow, this, &MainWindow::editMenuOpening);
    for (QAction *copy : {ui->mnueditedit_0, ui->mnuview2edit_0})
        connect(copy, &QAction::triggered, this, &MainWindow::copyResult);
    connect(ui->mnueditedit_1, &QAction::triggered, this, [this] { paste(true); });
    connect(ui->mnuview2edit_1, &QAction::triggered, this, [this] { paste(false); });
    for (QAction *switchUnits : {ui->mnueditswitch, ui->mnuview2switch})
        connect(switchUnits, &QAction::triggered, this, &MainWindow::switchUnits);
    connect(ui->mnuviewcalc, &QAction::triggered, this, &MainWindow::runShellProgram);

    m_help = new HelpViewer(this);
    for (QAction *constants : {ui->mnuviewphys, ui->mnuview2phys})
        connect(constants, &QAction::triggered, m_help, [this] { m_help->showTopic(HelpContext::physicalConstants); });
    for (QAction *prefixes : {ui->mnuviewmetric, ui->mnuview2metric})
        connect(prefixes, &QAction::triggered, m_help, [this] { m_help->showTopic(HelpContext::metricPrefixes); });
    connect(ui->mnuhelphelp, &QAction::triggered, m_help, &HelpViewer::showContents);
    connect(ui->mnuhelpshow, &QAction::triggered, m_help, &HelpViewer::enterWhatsThisMode);
    // The window's shortcuts win over the text boxes' own copy, paste and
    // select-all, as menu shortcuts do.
    for (QWidget *box : {static_cast<QWidget *>(ui->txtunit1), static_cast<QWidget *>(ui->lblconv),
                         static_cast<QWidget *>(ui->cboquantity), static_cast<QWidget *>(ui->cbounit1),
                         static_cast<QWidget *>(ui->cbounit2)})
        box->installEventFilter(this);
}

// Rule E: applied only when the Edit menu or the pop-up opens; shortcuts act
// on the state the last opening left.
void MainWindow::editMenuOpening()
{
    const bool result = !ui->lblconv->text().isEmpty();
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    const bool text = clipboard && clipboard->hasText();
    const bool units = ui->cbounit1->currentIndex() >= 0 && ui->cbounit2->currentIndex() >= 0;
    ui->mnueditedit_0->setEnabled(result);
    ui->mnuview2edit_0->setEnabled(result);
    ui->mnueditedit_1->setEnabled(text);
    ui->mnuview2edit_1->setEnabled(text);
    ui->mnueditswitch->setEnabled(units);
    ui->mnuview2switch->setEnabled(units);
}

void MainWindow::copyResult()
{
    if (ui->lblconv->text().isEmpty()) {
        Messages::show(this, tryAgain(320, QMessageBox::Information));
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(ui->lblconv->text());
}

// The menu's Paste removes surrounding blanks; the pop-up's takes the text
// as it is.
void MainWindow::paste(bool trimmed)
{
    QString text = QGuiApplication::clipboard()->text();
    if (trimmed)
        text = text.trimmed();
    if (text.isEmpty()) {
        Messages::show(this, tryAgain(322, QMessageBox::Information));
        return;
    }
    ui->txtunit1->setText(text);
    Convert();
}

void MainWindow::switchUnits()
{
    const int first = ui->cbounit1->currentIndex();
    const int second = ui->cbounit2->currentIndex();
    if (first < 0 || second < 0) {
        Messages::show(this, tryAgain(326, QMessageBox::Warning));
        return;
    }
    const QString text = ui->txtunit1->text();
    ui->txtunit1->clear();
    ui->lblconv->clear();
    ui->cbounit1->setCurrentIndex(second);
    ui->cbounit2->setCurrentIndex(first);
    ui->txtunit1->setText(text);
}

void MainWindow::runShellProgram()
{
    const ShellStart start = startShellProgram(m_state.shellProgram);
    switch (start.error) {
    case 0:
        return;
    case 5:
        Messages::show(this, tryAgain(327, QMessageBox::Information));
        showPreferences();
        return;
    case 53:
    case 76:
        Messages::show(this, {str(328) + m_state.shellProgram + str(329), QMessageBox::Information});
        showPreferences();
        return;
    default:
        Messages::show(this, {QLatin1String("Error #") + QString::number(start.error) + QLatin1String(" occurred. ") + start.description});
    }
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    editMenuOpening();
    ui->mnuview2->popup(event->globalPos());
    event->accept();
}

// True when a key press would trigger one of the window's enabled menu
// shortcuts.
bool MainWindow::isWindowShortcut(const QKeyEvent &key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction *action : findChildren<QAction *>()) {
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    }
    return false;
}

}

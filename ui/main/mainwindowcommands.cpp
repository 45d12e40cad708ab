// The main window's commands that are not selection and typing: copy,
// paste and switch, the pop-up menu, the shell program, and the enabling
// rule of the Edit menu and the pop-up.

#include "mainwindow.h"

#include "helpviewer.h"
#include "messages.h"
#include "shellprogram.h"
#include "stringtable.h"
#include "uisupport.h"

#include "ui_frmMain.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>

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

    // The pop-up from the keyboard, at the control that has the focus.
    auto *popupKey = new QAction(this);
    popupKey->setObjectName(QStringLiteral("popupkey"));
    popupKey->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    connect(popupKey, &QAction::triggered, this, &MainWindow::popupAtFocus);
    addAction(popupKey);

    // The window's shortcuts win over the controls' own keys (the text boxes'
    // copy, paste and select-all), greyed or not. The same filter selects
    // the input's text and makes the result clickable.
    for (QWidget *control : findChildren<QWidget *>()) {
        if (control->window() == this && control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }
    useProgramEditMenu(ui->txtunit1);
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
    setTextFromStart(ui->txtunit1, text);
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
    setTextFromStart(ui->txtunit1, text);
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

// The pop-up belongs to the window's background, its captions and the
// result; the lists, the input, the picture, the status bar and the menu bar
// are no place for it.
void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    QWidget *target = childAt(event->pos());
    const QWidget *const places[] = {ui->centralwidget, ui->lblquantity, ui->lblunit1, ui->lblunit2,
                                     ui->lbltxtunit1,   ui->Label1,      ui->lblconv};
    if (std::find(std::begin(places), std::end(places), target) != std::end(places))
        showPopup(event->globalPos());
}

void MainWindow::popupAtFocus()
{
    const QWidget *control = focusWidget() ? focusWidget() : ui->centralwidget;
    showPopup(control->mapToGlobal(QPoint(0, control->height())));
}

void MainWindow::showPopup(const QPoint &globalPos)
{
    editMenuOpening();
    ui->mnuview2->popup(globalPos);
}

// A key of one of the window's menu shortcuts never reaches a control: the
// shortcut runs its command, and a greyed command does nothing.
bool MainWindow::filterWindowShortcut(QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    for (const QAction *action : findChildren<QAction *>()) {
        if (action->shortcuts().contains(pressed)) {
            // The override asks the control whether it wants the key; refused,
            // the shortcut map runs an enabled command. A key press still
            // arriving belongs to a greyed one and ends here.
            event->setAccepted(event->type() == QEvent::KeyPress);
            return true;
        }
    }
    return false;
}

}

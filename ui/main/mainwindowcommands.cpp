// The main window's commands that are not selection and typing: copy,
// paste and switch, the pop-up menu, the shell program, and the enabling
// rule of the Edit menu and the pop-up.

#include "ui/main/mainwindow.h"

#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/stringtable.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/help/helpviewer.h"
#include "ui/main/shellprogram.h"

#include "ui_frmMain.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QTimer>

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
    connect(m_ui->mnuedit, &QMenu::aboutToShow, this, &MainWindow::editMenuOpening);
    connect(m_ui->mnueditedit_0, &QAction::triggered, this, &MainWindow::copyResult);
    connect(m_ui->mnueditedit_1, &QAction::triggered, this, &MainWindow::paste);
    connect(m_ui->mnueditswitch, &QAction::triggered, this, &MainWindow::switchUnits);
    connect(m_ui->mnuviewcalc, &QAction::triggered, this, &MainWindow::runShellProgram);

    m_help = new HelpViewer(this);
    connect(m_ui->mnuviewphys, &QAction::triggered, m_help, [this] { m_help->showTopic(HelpContext::physicalConstants); });
    connect(m_ui->mnuviewmetric, &QAction::triggered, m_help, [this] { m_help->showTopic(HelpContext::metricPrefixes); });
    connect(m_ui->mnuhelphelp, &QAction::triggered, m_help, &HelpViewer::showContents);
    connect(m_ui->mnuhelpshow, &QAction::triggered, m_help, &HelpViewer::enterWhatsThisMode);

    // The pop-up holds the menus' own actions. The menu closes before the
    // command chosen in it runs, so the mark comes down only once the event
    // that closed it has been handled.
    m_ui->mnuview2->setDefaultAction(m_ui->mnufilesetopt);
    for (QAction *action : m_ui->mnuview2->actions())
        action->setShortcutVisibleInContextMenu(false);
    connect(m_ui->mnuview2, &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] { m_popupCommand = false; });
    });

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
    useProgramEditMenu(m_ui->txtunit1);
}

// Applied only when the Edit menu or the pop-up opens; shortcuts act on the
// state the last opening left.
void MainWindow::editMenuOpening()
{
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    m_ui->mnueditedit_0->setEnabled(!m_ui->lblconv->text().isEmpty());
    m_ui->mnueditedit_1->setEnabled(clipboard && clipboard->hasText());
    m_ui->mnueditswitch->setEnabled(m_ui->cbounit1->currentIndex() >= 0 && m_ui->cbounit2->currentIndex() >= 0);
}

void MainWindow::copyResult()
{
    if (m_ui->lblconv->text().isEmpty()) {
        Messages::show(this, tryAgain(320, QMessageBox::Information));
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // Grouped digits would paste as the number before the first separator.
    clipboard->setText(m_state.options.numberStyle().grouping ? withoutGrouping(m_ui->lblconv->text(), QLocale().groupSeparator())
                                                              : m_ui->lblconv->text());
}

// The menu's Paste removes surrounding blanks; the pop-up's takes the text
// as it is.
void MainWindow::paste()
{
    QString text = QGuiApplication::clipboard()->text();
    if (!m_popupCommand)
        text = text.trimmed();
    if (text.isEmpty()) {
        Messages::show(this, tryAgain(322, QMessageBox::Information));
        return;
    }
    setTextFromStart(m_ui->txtunit1, text);
    Convert();
}

void MainWindow::switchUnits()
{
    const int first = m_ui->cbounit1->currentIndex();
    const int second = m_ui->cbounit2->currentIndex();
    if (first < 0 || second < 0) {
        Messages::show(this, tryAgain(326, QMessageBox::Warning));
        return;
    }
    const QString text = m_ui->txtunit1->text();
    m_ui->txtunit1->clear();
    m_ui->lblconv->clear();
    m_ui->cbounit1->setCurrentIndex(second);
    m_ui->cbounit2->setCurrentIndex(first);
    setTextFromStart(m_ui->txtunit1, text);
}

void MainWindow::runShellProgram()
{
    const QString &program = m_state.options.shellProgram();
    const ShellStart start = startShellProgram(program);
    switch (start.error) {
    case ErrorNumber::None:
        return;
    case ErrorNumber::InvalidArgument:
        Messages::show(this, tryAgain(327, QMessageBox::Information));
        showPreferences();
        return;
    case ErrorNumber::FileNotFound:
    case ErrorNumber::PathNotFound:
        Messages::show(this, {str(328) + program + str(329), QMessageBox::Information});
        showPreferences();
        return;
    default:
        Messages::show(this, {QLatin1String("Error #") + QString::number(toInt(start.error)) + QLatin1String(" occurred. ") + start.description});
    }
}

// The pop-up belongs to the window's background, its captions and the
// result; the lists, the input, the picture, the status bar and the menu bar
// are no place for it.
void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    QWidget *target = childAt(event->pos());
    const QWidget *const places[] = {m_ui->centralwidget, m_ui->lblquantity, m_ui->lblunit1, m_ui->lblunit2,
                                     m_ui->lbltxtunit1,   m_ui->Label1,      m_ui->lblconv};
    if (std::find(std::begin(places), std::end(places), target) != std::end(places))
        showPopup(event->globalPos());
}

void MainWindow::popupAtFocus()
{
    const QWidget *control = focusWidget() ? focusWidget() : m_ui->centralwidget;
    showPopup(control->mapToGlobal(QPoint(0, control->height())));
}

void MainWindow::showPopup(const QPoint &globalPos)
{
    editMenuOpening();
    m_popupCommand = true;
    m_ui->mnuview2->popup(globalPos);
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

// The main window's Preferences command: the File menu (also the pop-up's
// default item) and a double-click on the decimals panel.

#include "ui/main/mainwindow.h"

#include "ui/common/clickablelabel.h"
#include "ui/preferences/preferencesdialog.h"

#include "ui_frmMain.h"

namespace quantix {

void MainWindow::connectPreferences()
{
    connect(m_ui->mnufilesetopt, &QAction::triggered, this, &MainWindow::showPreferences);
    connect(statusPanel(3), &ClickableLabel::doubleClicked, this, &MainWindow::showPreferences);
}

// A topmost main window would cover its own modal dialog, so it leaves the
// top while the dialog is open and returns to it after.
void MainWindow::showPreferences()
{
    const bool onTop = alwaysOnTop();
    if (onTop)
        setTopmost(false);
    {
        PreferencesDialog dialog(m_state.options, [this](const QStringList &offered) { rebuildQuantityList(offered); }, this);
        dialog.exec();
    }
    if (onTop)
        setTopmost(true);
    // What activation does, also where the platform does not reactivate.
    Convert();
    decimals();
}

// The quantity list of the preferences: nothing selected, the unit lists,
// the input and the result empty until a quantity is chosen. Choices that
// come to the list it already holds (a box checked and unchecked again, or
// one that merely took the focus) leave the conversion as it is.
void MainWindow::rebuildQuantityList(const QStringList &offeredQuantities)
{
    QStringList listed;
    for (int i = 0; i < m_ui->cboquantity->count(); ++i)
        listed << m_ui->cboquantity->itemText(i);
    if (listed == offeredQuantities)
        return;
    m_ui->cboquantity->clear();
    m_ui->cbounit1->clear();
    m_ui->cbounit2->clear();
    m_ui->txtunit1->clear();
    m_ui->lblconv->clear();
    m_ui->cboquantity->addItems(offeredQuantities);
    m_ui->cboquantity->setCurrentIndex(-1);
}

}

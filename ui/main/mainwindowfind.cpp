// The main window's Find Unit command: the find box over what the window
// offers, and the choice it returns.

#include "mainwindow.h"

#include "findunitdialog.h"

#include "ui_frmMain.h"

namespace quantix {

namespace {

QStringList items(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

}

void MainWindow::connectFind()
{
    for (QAction *find : {ui->mnueditfind, ui->mnuview2find})
        connect(find, &QAction::triggered, this, &MainWindow::findUnit);
}

// A topmost main window would cover the box, so the box is topmost as well.
// The keyboard comes back to the main window however the box closes, also
// where no window manager hands it back.
void MainWindow::findUnit()
{
    const QString chosenQuantity = ui->cboquantity->currentIndex() >= 0 ? ui->cboquantity->currentText() : QString();
    FindUnitDialog box(UnitFinder::offered(items(ui->cboquantity), chosenQuantity, items(ui->cbounit1), m_store), this);
    if (alwaysOnTop())
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const bool chosen = box.exec() == QDialog::Accepted;
    activateWindow();
    if (chosen)
        useFoundUnit(box.chosen(), box.target() == FindUnitDialog::Target::Final);
}

// Choosing the quantity again would empty the other unit and the input, so
// a unit of the chosen quantity only changes that unit.
void MainWindow::useFoundUnit(const FoundUnit &found, bool final)
{
    if (ui->cboquantity->currentIndex() < 0 || ui->cboquantity->currentText() != found.quantity) {
        const int index = ui->cboquantity->findText(found.quantity, Qt::MatchExactly);
        if (index < 0)
            return;
        ui->cboquantity->setCurrentIndex(index);
        quantityChosen();
    }
    QComboBox *list = final ? ui->cbounit2 : ui->cbounit1;
    if (found.position < 0 || found.position >= list->count() || list->itemText(found.position) != found.unit)
        return;
    list->setCurrentIndex(found.position);
    Convert();
    ui->txtunit1->setFocus();
}

}

// The main window's Find Unit command: the find box over what the window
// offers, and the choice it returns.

#include "ui/main/mainwindow.h"

#include "ui/main/findunitdialog.h"

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
    connect(m_ui->mnueditfind, &QAction::triggered, this, &MainWindow::findUnit);
}

// A topmost main window would cover the box, so the box is topmost as well.
// The keyboard comes back to the main window however the box closes, also
// where no window manager hands it back.
void MainWindow::findUnit()
{
    const QString chosenQuantity = m_ui->cboquantity->currentIndex() >= 0 ? m_ui->cboquantity->currentText() : QString();
    FindUnitDialog box(UnitFinder::offered(items(m_ui->cboquantity), chosenQuantity, items(m_ui->cbounit1), m_store), this);
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
    if (m_ui->cboquantity->currentIndex() < 0 || m_ui->cboquantity->currentText() != found.quantity) {
        const int index = m_ui->cboquantity->findText(found.quantity, Qt::MatchExactly);
        if (index < 0)
            return;
        m_ui->cboquantity->setCurrentIndex(index);
        quantityChosen();
    }
    QComboBox *list = final ? m_ui->cbounit2 : m_ui->cbounit1;
    if (found.position < 0 || found.position >= list->count() || list->itemText(found.position) != found.unit)
        return;
    list->setCurrentIndex(found.position);
    Convert();
    m_ui->txtunit1->setFocus();
}

}

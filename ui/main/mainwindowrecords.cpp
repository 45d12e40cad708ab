// The main window's conversion records: RecordConversion, purge, the records
// window and how it is shown, the Records menu's enabling, the status panels
// that count and record, and the question before unsaved records are lost.

#include "mainwindow.h"

#include "clickablelabel.h"
#include "messages.h"
#include "recordswindow.h"
#include "settingsstore.h"
#include "stringtable.h"

#include "ui_frmMain.h"

namespace quantix {

void MainWindow::connectRecords()
{
    connect(ui->mnurecords, &QMenu::aboutToShow, this, &MainWindow::recordsMenuOpening);
    connect(ui->mnurecordsadd, &QAction::triggered, this, &MainWindow::RecordConversion);
    connect(ui->mnurecordspurge, &QAction::triggered, this, &MainWindow::purgeRecords);
    connect(ui->mnuRecordsView, &QAction::triggered, this, [this] { showRecordsWindow(true); });
    connect(ui->mnuview2records, &QAction::triggered, this, [this] { showRecordsWindow(false); });
    connect(statusPanel(2), &ClickableLabel::clicked, this, &MainWindow::RecordConversion);
    connect(statusPanel(1), &ClickableLabel::doubleClicked, this, [this] {
        if (ui->mnuRecordsView->isEnabled())
            showRecordsWindow(true);
    });
}

// An empty result is a conversion that could not be computed: it is not
// recorded.
void MainWindow::RecordConversion()
{
    const ConversionRecord record{ui->cboquantity->currentText(), ui->cbounit1->currentText(), ui->cbounit2->currentText(),
                                  ui->txtunit1->text(), ui->lblconv->text()};
    if (record.quantity.isEmpty() || record.initialUnit.isEmpty() || record.finalUnit.isEmpty() || record.initialValue.isEmpty()
        || record.result.isEmpty()) {
        Messages::show(this, {str(330) + u'\n' + str(331), QMessageBox::Information});
        return;
    }
    ConversionRecords &records = m_state.records;
    if (!records.exist) {
        records.exist = true;
        ui->mnurecordspurge->setEnabled(true);
        ui->mnuRecordsView->setEnabled(true);
        ui->mnuview2records->setEnabled(true);
    }
    records.saved = false;
    const int count = records.append(record);
    statusPanel(1)->setText(str(400) + u' ' + QString::number(count));
    loadRecordsWindow().buildRecordsText();
}

// Rule R: recording is offered while a complete conversion is shown.
void MainWindow::recordsMenuOpening()
{
    ui->mnurecordsadd->setEnabled(!ui->cbounit1->currentText().isEmpty() && !ui->cbounit2->currentText().isEmpty()
                                  && !ui->txtunit1->text().isEmpty() && !ui->lblconv->text().isEmpty());
}

// The saved flag and the save request stay as they are.
void MainWindow::purgeRecords()
{
    if (Messages::show(this, {str(324), QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, str(325)})
        != QMessageBox::Yes)
        return;
    ConversionRecords &records = m_state.records;
    records.clear();
    ui->mnuview2records->setEnabled(false);
    statusPanel(1)->setText(str(400) + QLatin1String(" 0"));
    records.exist = false;
    ui->mnurecordsadd->setEnabled(false);
    ui->mnurecordspurge->setEnabled(false);
    ui->mnuRecordsView->setEnabled(false);
    unloadRecordsWindow();
}

RecordsWindow *MainWindow::recordsWindow() const
{
    return m_recordsWindow;
}

RecordsWindow &MainWindow::loadRecordsWindow()
{
    if (!m_recordsWindow)
        m_recordsWindow = new RecordsWindow(m_state);
    return *m_recordsWindow;
}

void MainWindow::showRecordsWindow(bool restore)
{
    RecordsWindow &window = loadRecordsWindow();
    if (restore && window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

// Shut-down step 1: false refuses the close. The records window is shown
// restored, as its save dialog cannot appear while it is minimised.
bool MainWindow::recordsAllowExit()
{
    const ConversionRecords &records = m_state.records;
    if (records.saved || !records.exist || !m_state.confirmExit)
        return true;
    if (Messages::show(this, {str(333), QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        == QMessageBox::Yes)
        return true;
    if (ReadSetting(section::settings, QStringLiteral("save"), QStringLiteral("1")) == QLatin1String("1")) {
        showRecordsWindow(true);
        m_state.records.openSaveRequest = true;
    } else {
        m_state.records.openSaveRequest = false;
    }
    return false;
}

// Unloading stores the window's geometry and discards it; the records stay.
void MainWindow::unloadRecordsWindow()
{
    if (!m_recordsWindow)
        return;
    m_recordsWindow->close();
    delete m_recordsWindow.data();
}

}

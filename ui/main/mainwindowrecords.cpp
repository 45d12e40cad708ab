// The main window's conversion records: RecordConversion, purge, the records
// window and how it is shown, the Records menu's enabling, the status panels
// that count and record, and the question before unsaved records are lost.

#include "ui/main/mainwindow.h"

#include "engine/stringtable.h"
#include "settings/settingkeys.h"
#include "ui/common/clickablelabel.h"
#include "ui/common/messages.h"
#include "ui/records/recordswindow.h"

#include "ui_frmMain.h"

namespace quantix {

void MainWindow::connectRecords()
{
    connect(&m_state.records, &ConversionRecords::countChanged, this, &MainWindow::recordsCountChanged);
    connect(m_ui->mnurecords, &QMenu::aboutToShow, this, &MainWindow::recordsMenuOpening);
    connect(m_ui->mnurecordsadd, &QAction::triggered, this, &MainWindow::RecordConversion);
    connect(m_ui->mnurecordspurge, &QAction::triggered, this, &MainWindow::purgeRecords);
    // Chosen in the pop-up, View Conversion Records only shows the window.
    connect(m_ui->mnuRecordsView, &QAction::triggered, this, [this] { showRecordsWindow(!m_popupCommand); });
    connect(statusPanel(2), &ClickableLabel::clicked, this, &MainWindow::RecordConversion);
    connect(statusPanel(1), &ClickableLabel::doubleClicked, this, [this] {
        if (m_ui->mnuRecordsView->isEnabled())
            showRecordsWindow(true);
    });
}

// An empty result is a conversion that could not be computed: it is not
// recorded. A records window not yet loaded is loaded hidden.
void MainWindow::RecordConversion()
{
    const ConversionRecord record{m_ui->cboquantity->currentText(), m_ui->cbounit1->currentText(), m_ui->cbounit2->currentText(),
                                  m_ui->txtunit1->text(), m_ui->lblconv->text()};
    if (record.quantity.isEmpty() || record.initialUnit.isEmpty() || record.finalUnit.isEmpty() || record.initialValue.isEmpty()
        || record.result.isEmpty()) {
        Messages::show(this, {str(330) + u'\n' + str(331), QMessageBox::Information});
        return;
    }
    m_state.records.append(record);
    loadRecordsWindow();
}

// The count in the first panel; purging and viewing are offered while there
// are records, and recording is greyed when they are purged (the Records
// menu offers it again as it opens).
void MainWindow::recordsCountChanged(int count)
{
    statusPanel(1)->setText(str(400) + u' ' + QString::number(count));
    const bool exist = count > 0;
    m_ui->mnurecordspurge->setEnabled(exist);
    m_ui->mnuRecordsView->setEnabled(exist);
    if (!exist)
        m_ui->mnurecordsadd->setEnabled(false);
}

// Recording is offered while a complete conversion is shown.
void MainWindow::recordsMenuOpening()
{
    m_ui->mnurecordsadd->setEnabled(!m_ui->cbounit1->currentText().isEmpty() && !m_ui->cbounit2->currentText().isEmpty()
                                  && !m_ui->txtunit1->text().isEmpty() && !m_ui->lblconv->text().isEmpty());
}

void MainWindow::purgeRecords()
{
    if (Messages::show(this, {str(324), QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, str(325)})
        != QMessageBox::Yes)
        return;
    m_state.records.purge();
    unloadRecordsWindow();
}

RecordsWindow *MainWindow::recordsWindow() const
{
    return m_recordsWindow;
}

RecordsWindow &MainWindow::loadRecordsWindow()
{
    if (!m_recordsWindow)
        m_recordsWindow = new RecordsWindow(m_state.records, m_state.options);
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

// The first step of closing: false refuses the close. The records window is shown
// restored, as its save dialog cannot appear while it is minimised.
bool MainWindow::recordsAllowExit()
{
    const ConversionRecords &records = m_state.records;
    if (records.saved() || !records.exist() || !m_state.options.confirmExit())
        return true;
    if (Messages::show(this, {str(333), QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        == QMessageBox::Yes)
        return true;
    if (setting::save.isOn()) {
        showRecordsWindow(true);
        m_state.records.setOpenSaveRequest(true);
    } else {
        m_state.records.setOpenSaveRequest(false);
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

// The main window's selection, input and result: choosing a quantity,
// Convert, ShowResult and the conversion error report.

#include "mainwindow.h"

#include "conversionerror.h"
#include "messages.h"
#include "selectionrules.h"
#include "stringtable.h"
#include "uisupport.h"

#include "ui_frmMain.h"

#include <QFocusEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>

namespace quantix {

void MainWindow::quantityChosen()
{
    ui->cbounit1->clear();
    ui->cbounit2->clear();
    ui->txtunit1->clear();
    ui->lblconv->clear();
    const Quantity *quantity = Catalogue::instance().byName(ui->cboquantity->currentText());
    if (!quantity)
        return;
    FillUnitLists(*quantity);
    // Nothing is selected and the input is empty: this shows nothing. A
    // damaged user-unit store is ignored here as Convert ignores it.
    try {
        runConversion(*quantity);
    } catch (const ConversionError &) {
    }
}

void MainWindow::FillUnitLists(const Quantity &quantity)
{
    const QStringList names = offeredUnitNames(quantity, m_store);
    for (QComboBox *list : {ui->cbounit1, ui->cbounit2}) {
        list->addItems(names);
        list->setCurrentIndex(-1);
    }
}

void MainWindow::Convert()
{
    // The message box of a report re-activates the window when it closes;
    // the report itself finishes the conversion.
    if (m_reportingError)
        return;
    m_state.rememberedName = ui->cboquantity->currentText();
    if (ui->txtunit1->text().isEmpty())
        return;
    const Quantity *quantity = Catalogue::instance().byName(m_state.rememberedName);
    if (!quantity)
        return;
    try {
        runConversion(*quantity);
    } catch (const ConversionError &error) {
        // Also when the failure passes silently (a damaged user unit): the
        // result of another conversion must not stay under this one.
        ui->lblconv->clear();
        reportConversionError(error.number(), *quantity);
    }
}

// A conversion that shows nothing (a unit not chosen) leaves the result empty.
void MainWindow::runConversion(const Quantity &quantity)
{
    const ConversionInputs inputs{ui->cbounit1->currentText(), ui->cbounit2->currentText(), ui->txtunit1->text()};
    const std::optional<QString> text = runQuantityConversion(m_state, m_converter, quantity, inputs, QLocale().decimalPoint());
    setTextFromStart(ui->lblconv, text.value_or(QString()));
}

void MainWindow::ShowResult(double value)
{
    if (const std::optional<QString> text = showResultText(m_state, value, QLocale().decimalPoint()))
        setTextFromStart(ui->lblconv, *text);
}

// Reports the error, empties the input and converts once more from the empty
// input, so that the result shows the converted 0. Should that conversion
// fail as well (a user unit whose factor reads as 0), it ends there: the
// report is never repeated.
void MainWindow::reportConversionError(int number, const Quantity &quantity)
{
    if (number == ConversionError::TypeMismatch || number == 20)
        return;
    const QScopedValueRollback reporting(m_reportingError, true);
    Messages::show(this, {conversionErrorMessage(number), QMessageBox::Critical, QMessageBox::Ok, QMessageBox::NoButton, str(321)});
    ui->txtunit1->clear();
    ui->lblconv->clear();
    try {
        runConversion(quantity);
    } catch (const ConversionError &) {
    }
}

void MainWindow::selectionCheck()
{
    if (m_state.rememberedName.isEmpty()) {
        Messages::show(this, {str(332), QMessageBox::Information});
        ui->cboquantity->setFocus();
        return;
    }
    Convert();
}

void MainWindow::inputChanged(const QString &text)
{
    if (text.isEmpty())
        ui->lblconv->clear();
    Convert();
}

namespace {

// The input selects its text when the user moves into it, so that typing
// replaces the old value; the focus coming back from a menu, a dialog or
// another window keeps the caret where the user left it.
bool isMovedByUser(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason
        || reason == Qt::ShortcutFocusReason;
}

}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (filterWindowShortcut(event))
        return true;
    if (watched == ui->txtunit1 && event->type() == QEvent::FocusIn && isMovedByUser(static_cast<QFocusEvent *>(event)->reason())) {
        // After the click that gave the focus has placed the caret.
        QTimer::singleShot(0, ui->txtunit1, [edit = ui->txtunit1] { edit->setSelection(0, int(edit->text().size())); });
    } else if (watched == ui->lblconv && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !ui->lblconv->hasSelectedText())
            selectionCheck();
    }
    return QMainWindow::eventFilter(watched, event);
}

}

// The main window's selection, input and result: choosing a quantity,
// Convert, ShowResult and the conversion error report.

#include "ui/main/mainwindow.h"

#include "engine/errors.h"
#include "engine/stringtable.h"
#include "rules/selectionrules.h"
#include "rules/userunits.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"

#include "ui_frmMain.h"

#include <QFocusEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolTip>

namespace quantix {

void MainWindow::quantityChosen()
{
    m_ui->cbounit1->clear();
    m_ui->cbounit2->clear();
    m_ui->txtunit1->clear();
    m_ui->lblconv->clear();
    const Quantity *quantity = Catalogue::instance().byName(m_ui->cboquantity->currentText());
    if (!quantity)
        return;
    readUserUnits(*quantity);
    FillUnitLists(*quantity);
    // Nothing is selected and the input is empty: this shows nothing. A
    // damaged user-unit store is ignored here as Convert ignores it.
    try {
        runConversion();
    } catch (const ConversionError &) {
    }
}

void MainWindow::FillUnitLists(const Quantity &quantity)
{
    const QStringList names = offeredUnitNames(quantity, m_store);
    for (QComboBox *list : {m_ui->cbounit1, m_ui->cbounit2}) {
        list->addItems(names);
        list->setCurrentIndex(-1);
    }
}

// Read when a quantity is chosen and when the window is activated, so that
// a conversion itself reads no file.
void MainWindow::readUserUnits(const Quantity &quantity)
{
    m_converter.emplace(quantity, quantix::readUserUnits(quantity, m_store));
}

void MainWindow::Convert()
{
    // The message box of a report re-activates the window when it closes;
    // the report itself finishes the conversion.
    if (m_reportingError)
        return;
    m_state.conversion.rememberedName = m_ui->cboquantity->currentText();
    if (m_ui->txtunit1->text().isEmpty())
        return;
    const Quantity *quantity = Catalogue::instance().byName(m_state.conversion.rememberedName);
    if (!quantity)
        return;
    if (!m_converter || m_converter->quantity().id != quantity->id)
        readUserUnits(*quantity);
    try {
        runConversion();
    } catch (const ConversionError &error) {
        // Also when the failure passes silently (a damaged user unit): the
        // result of another conversion must not stay under this one.
        m_ui->lblconv->clear();
        reportConversionError(error.number());
    }
}

// A conversion that shows nothing (a unit not chosen) leaves the result empty.
void MainWindow::runConversion()
{
    const ConversionInputs inputs{m_ui->cbounit1->currentText(), m_ui->cbounit2->currentText(), m_ui->txtunit1->text()};
    const std::optional<QString> text
        = runQuantityConversion(m_state.conversion, *m_converter, inputs, m_state.options.numberStyle(), QLocale().decimalPoint(),
                                QLocale().groupSeparator());
    setTextFromStart(m_ui->lblconv, text.value_or(QString()));
}

void MainWindow::ShowResult(double value)
{
    if (const std::optional<QString> text = showResultText(m_state.conversion, value, m_state.options.numberStyle(), QLocale().decimalPoint(),
                                                                      QLocale().groupSeparator()))
        setTextFromStart(m_ui->lblconv, *text);
}

// Reports the error, empties the input and converts once more from the empty
// input, so that the result shows the converted 0. Should that conversion
// fail as well (a user unit whose factor reads as 0), it ends there: the
// report is never repeated. A damaged user unit passes silently.
void MainWindow::reportConversionError(ErrorNumber number)
{
    if (number == ErrorNumber::TypeMismatch || number == ErrorNumber::ResumeWithoutError)
        return;
    const QScopedValueRollback reporting(m_reportingError, true);
    Messages::show(this, {conversionErrorMessage(number), QMessageBox::Critical, QMessageBox::Ok, QMessageBox::NoButton, str(321)});
    m_ui->txtunit1->clear();
    m_ui->lblconv->clear();
    try {
        runConversion();
    } catch (const ConversionError &) {
    }
}

// A screen reader reads the result with its caption and its unit, as
// "Converted result: 8.202 foot (ft)"; the caption alone while it is empty.
void MainWindow::nameResult()
{
    const QString value = m_ui->lblconv->text();
    const QString caption = m_ui->Label1->text();
    m_ui->lblconv->setAccessibleName(value.isEmpty() ? caption : caption + u' ' + value + u' ' + m_ui->cbounit2->currentText());
}

void MainWindow::selectionCheck()
{
    if (m_state.conversion.rememberedName.isEmpty()) {
        Messages::show(this, {str(332), QMessageBox::Information});
        m_ui->cboquantity->setFocus();
        return;
    }
    Convert();
}

void MainWindow::inputChanged(const QString &text)
{
    if (text.isEmpty())
        m_ui->lblconv->clear();
    showInputReading(text);
    Convert();
}

// A number that a second decimal point cuts short ("1.234,5" where the
// separator is ",") converts by the leading-number rule, but not silently:
// the input's tool tip, which screen readers read as its description, says
// what was read, and pops up at once while the window is in use, below the
// result so as not to hide it.
void MainWindow::showInputReading(const QString &text)
{
    QLineEdit *input = m_ui->txtunit1;
    const std::optional<QString> note = inputReadingNote(text, QLocale().decimalPoint());
    if (!note && input->toolTip() != m_inputToolTip)
        QToolTip::hideText();
    input->setToolTip(note.value_or(m_inputToolTip));
    if (note && isActiveWindow())
        QToolTip::showText(m_ui->lblconv->mapToGlobal(QPoint(0, m_ui->lblconv->height())), *note, input);
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
    if (watched == m_ui->txtunit1 && event->type() == QEvent::FocusIn && isMovedByUser(static_cast<QFocusEvent *>(event)->reason())) {
        // After the click that gave the focus has placed the caret.
        QTimer::singleShot(0, m_ui->txtunit1, [edit = m_ui->txtunit1] { edit->setSelection(0, int(edit->text().size())); });
    } else if (watched == m_ui->lblconv && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !m_ui->lblconv->hasSelectedText())
            selectionCheck();
    }
    return QMainWindow::eventFilter(watched, event);
}

}

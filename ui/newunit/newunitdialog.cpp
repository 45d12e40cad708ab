#include "ui/newunit/newunitdialog.h"

#include "engine/catalogue.h"
#include "engine/stringtable.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/common/windowgeometry.h"

#include "ui_frmNewUnit.h"

#include <QEvent>
#include <QTimer>

namespace quantix {

NewUnitDialog::NewUnitDialog(int quantity, const UserUnitStore &store, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::frmNewUnit>())
    , m_store(store)
    , m_quantity(quantity >= 0 && quantity < Catalogue::quantityCount ? quantity : 0)
{
    m_ui->setupUi(this);
    setProgramIcon(this);
    const Quantity &q = Catalogue::instance().at(m_quantity);
    setCaptions(q.name, q.baseUnitName);
    // The design's size wherever the texts fit in it: a long base unit's name
    // widens its column and the dialog with it.
    setFixedSize(sizeForContents(this, size()));
    CentreWindow(this);
    for (int row = 0; row < UserUnitStore::maxUnits; ++row) {
        nameBox(row)->setMaxLength(UserUnitStore::maxNameLength);
        for (QLineEdit *box : {nameBox(row), factorBox(row)}) {
            box->installEventFilter(this);
            useProgramEditMenu(box);
        }
    }
    connect(m_ui->cmdOk, &QPushButton::clicked, this, &NewUnitDialog::save);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    load(q.name);
}

NewUnitDialog::~NewUnitDialog() = default;

QLineEdit *NewUnitDialog::nameBox(int row) const
{
    return findChild<QLineEdit *>(arrayName("txtNewUnitName", row));
}

QLineEdit *NewUnitDialog::factorBox(int row) const
{
    return findChild<QLineEdit *>(arrayName("txtConvFactor", row));
}

NewUnitRows NewUnitDialog::rows() const
{
    NewUnitRows rows;
    for (int row = 0; row < UserUnitStore::maxUnits; ++row)
        rows[static_cast<std::size_t>(row)] = {nameBox(row)->text(), factorBox(row)->text()};
    return rows;
}

void NewUnitDialog::setCaptions(const QString &quantityName, const QString &baseUnitName)
{
    m_ui->lblExample->setText(str(63) + str(61) + u' ' + str(64) + u' ' + str(62) + QLatin1String(" 2 ") + baseUnitName);
    setWindowTitle(str(65));
    m_ui->Frame1->setTitle(str(60) + quantityName);
    m_ui->cmdOk->setText(str(154));
    m_ui->cmdCancel->setText(str(155));
    // "One" is Label1 0 to 9, "equals" Label1 11 to 20.
    for (int i = 0; i < UserUnitStore::maxUnits; ++i) {
        findChild<QLabel *>(arrayName("Label1", i))->setText(str(61));
        findChild<QLabel *>(arrayName("Label1", 11 + i))->setText(str(62));
        findChild<QLabel *>(arrayName("lblUnit", i))->setText(baseUnitName);
        // Every row says the same; a screen reader tells the rows apart.
        nameBox(i)->setAccessibleName(str(1262).arg(i + 1));
        factorBox(i)->setAccessibleName(str(1263).arg(i + 1));
    }
}

void NewUnitDialog::load(const QString &quantityName)
{
    const LoadedUnits loaded = loadUserUnits(quantityName, m_store);
    for (int row = 0; row < UserUnitStore::maxUnits; ++row) {
        nameBox(row)->setText(loaded.rows[static_cast<std::size_t>(row)].name);
        factorBox(row)->setText(loaded.rows[static_cast<std::size_t>(row)].factor);
    }
    m_loaded = rows();
    if (!loaded.failure.isEmpty())
        Messages::show(parentWidget(), {loaded.failure});
}

// A refused OK leaves every box as typed. A failed write is reported and
// keeps the dialog open, so that what was typed is not lost.
void NewUnitDialog::save()
{
    const QString &quantityName = Catalogue::instance().at(m_quantity).name;
    const NewUnitVerdict verdict = checkNewUnits(quantityName, rows(), m_loaded);
    switch (verdict.refusal) {
    case NewUnitVerdict::Refusal::FactorNotANumber:
        Messages::show(this, {str(80), QMessageBox::Warning});
        factorBox(verdict.row)->setFocus();
        return;
    case NewUnitVerdict::Refusal::NotConsecutive:
        Messages::show(this, {str(19)});
        nameBox(verdict.row)->setFocus();
        return;
    case NewUnitVerdict::Refusal::NameTaken:
        Messages::show(this, {nameTakenMessage(quantityName, nameBox(verdict.row)->text()), QMessageBox::Warning});
        nameBox(verdict.row)->setFocus();
        return;
    case NewUnitVerdict::Refusal::None:
        break;
    }
    // A changed list is stored whole: one that another copy of the program
    // stored since this dialog loaded would go without a word. The user is
    // told once, and the next OK replaces it.
    if (rows() != m_loaded) {
        if (const NewUnitRows stored = loadUserUnits(quantityName, m_store).rows; stored != m_loaded) {
            m_loaded = stored;
            Messages::show(this, {str(1277).arg(quantityName), QMessageBox::Warning});
            return;
        }
    }
    if (const std::optional<FileFailure> failure = m_store.write(verdict.writes)) {
        Messages::show(this, settingsError(*failure));
        return;
    }
    accept();
}

bool NewUnitDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // After a click has placed the caret.
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

}

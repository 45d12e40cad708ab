// The preferences' Quantities and Units tabs: which quantities and units the
// main window offers, and the way to the new-unit dialog.

#include "ui/preferences/preferencesdialog.h"

#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/newunit/newunitdialog.h"

#include "ui_frmSetOpt.h"

#include <QEvent>
#include <QTimer>

#include <utility>

namespace quantix {

QCheckBox *PreferencesDialog::quantityBox(int position) const
{
    return findChild<QCheckBox *>(arrayName("chkunits", position));
}

void PreferencesDialog::openAvailability()
{
    const Catalogue &catalogue = Catalogue::instance();
    QStringList quantityNames;
    QStringList unitNames;
    for (const Quantity &quantity : catalogue.quantities()) {
        quantityNames << quantity.name;
        for (int j = 1; j <= quantity.builtInCount(); ++j)
            unitNames << Catalogue::unitName(quantity, j);
    }
    m_ui->lstQuantity->addItems(quantityNames);
    // The lists keep their width whichever quantity they show.
    showWholeNames(m_ui->lstQuantity, quantityNames);
    showWholeNames(m_ui->lstUnits, unitNames);
    connect(m_ui->lstQuantity, &QListWidget::currentRowChanged, this, &PreferencesDialog::quantitySelectionStep);
    m_ui->lstQuantity->setCurrentRow(0);
    m_currentQuantityId = catalogue.at(0).id;
    m_ui->lstQuantity->setCurrentRow(storedQuantityListIndex());

    m_shownQuantities = storedQuantityAvailability();
    for (int i = 0; i < Catalogue::quantityCount; ++i) {
        QCheckBox *box = quantityBox(i);
        box->setText(catalogue.at(i).name);
        box->setChecked(m_shownQuantities[static_cast<std::size_t>(i)]);
        box->installEventFilter(this);
    }
    m_quantitiesChanged = false;

    connect(m_ui->cmdselectall, &QToolButton::clicked, this, [this] { setAllQuantities(true); });
    connect(m_ui->cmddeselectall, &QToolButton::clicked, this, [this] { setAllQuantities(false); });
    connect(m_ui->cmdSelectAllUnits, &QToolButton::clicked, m_ui->lstUnits, &QListWidget::selectAll);
    connect(m_ui->cmdDeselectAllUnits, &QToolButton::clicked, m_ui->lstUnits, &QListWidget::clearSelection);
    connect(m_ui->cmdNewUnit, &QPushButton::clicked, this, &PreferencesDialog::addNewUnit);
    connect(m_ui->lstQuantity, &QListWidget::itemDoubleClicked, this, &PreferencesDialog::addNewUnit);
}

// Stores what lstUnits shows (when it holds selections not yet stored) and
// fills it for the quantity selected in lstQuantity. While the dialog opens,
// the selections wait, so that opening is one change of the store.
void PreferencesDialog::quantitySelectionStep()
{
    m_unitWrites += pendingUnitWrites();
    if (m_shown)
        storeUnitWrites();
    fillUnits();
}

void PreferencesDialog::fillUnits()
{
    const QListWidgetItem *item = m_ui->lstQuantity->currentItem();
    const Quantity *quantity = item ? Catalogue::instance().byName(item->text()) : nullptr;
    if (!quantity) {
        m_unitsLoaded = false;
        return;
    }
    m_ui->cmdNewUnit->setEnabled(quantity->id != Catalogue::temperatureId);
    m_currentQuantityId = quantity->id;
    m_ui->lstUnits->clear();
    m_shownUnits = unitListItems(*quantity, m_store);
    for (const UnitListItem &unit : std::as_const(m_shownUnits)) {
        auto *listItem = new QListWidgetItem(unit.name, m_ui->lstUnits);
        listItem->setSelected(unit.selected);
    }
    m_unitsLoaded = true;
}

QList<bool> PreferencesDialog::unitSelection() const
{
    QList<bool> selected;
    for (int i = 0; i < m_ui->lstUnits->count(); ++i)
        selected << m_ui->lstUnits->item(i)->isSelected();
    return selected;
}

// SaveUnitSelection's writes for what lstUnits shows, while it holds
// selections still to be stored.
SettingWrites PreferencesDialog::pendingUnitWrites() const
{
    if (!m_unitsLoaded)
        return {};
    return unitSelectionWrites(m_currentQuantityId, m_shownUnits, unitSelection());
}

// The user did not ask for these writes: once they have failed (a held
// lock, a store that cannot be written), they wait for OK or closing, which
// try again, instead of failing and waiting for the lock on every quantity.
// The failure is told once, after the event that stored them.
void PreferencesDialog::storeUnitWrites()
{
    if (m_unitFailureShown)
        return;
    const std::optional<FileFailure> failure = applySettings(m_unitWrites);
    if (!failure) {
        m_unitWrites.clear();
        return;
    }
    m_unitFailureShown = true;
    QTimer::singleShot(0, this, [this, failure] { Messages::show(this, settingsError(*failure)); });
}

QuantityAvailability PreferencesDialog::quantityChoice() const
{
    QuantityAvailability offered{};
    for (int i = 0; i < Catalogue::quantityCount; ++i)
        offered[static_cast<std::size_t>(i)] = quantityBox(i)->isChecked();
    return offered;
}

void PreferencesDialog::setAllQuantities(bool offered)
{
    for (int i = 0; i < Catalogue::quantityCount; ++i)
        quantityBox(i)->setChecked(offered);
    m_quantitiesChanged = true;
}

// The new-unit dialog changes the user-unit count, so lstUnits is stored
// before it opens and only refilled, not stored, after it.
void PreferencesDialog::addNewUnit()
{
    if (!m_ui->cmdNewUnit->isEnabled() || m_ui->lstQuantity->currentRow() < 0)
        return;
    m_unitWrites += pendingUnitWrites();
    storeUnitWrites();
    {
        NewUnitDialog dialog(m_ui->lstQuantity->currentRow(), m_store, this);
        dialog.exec();
    }
    m_unitsLoaded = false;
    fillUnits();
}

void PreferencesDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        quantitySelectionStep();
    }
}

// A quantity check box that merely takes the focus may have been changed.
bool PreferencesDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        m_quantitiesChanged = true;
    return QDialog::eventFilter(watched, event);
}

}

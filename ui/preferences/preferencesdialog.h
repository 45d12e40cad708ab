#pragma once

#include "rules/options.h"
#include "rules/preferencesrules.h"
#include "settings/userunitstore.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui { class frmSetOpt; }

class QCheckBox;
class QRadioButton;

namespace quantix {

// The preferences dialog: shell program, print font, exit confirmation,
// number style, and which quantities and units the main window offers. It
// shows what the store holds when it opens, and writes the settings and the
// run's options; each of its writes is one change of the store.
class PreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    // Called by OK when the quantity check boxes may have changed: the main
    // window empties its lists and offers these quantities.
    using RebuildQuantityList = std::function<void(const QStringList &offeredQuantities)>;

    PreferencesDialog(Options &options, RebuildQuantityList rebuildQuantityList, QWidget *parent = nullptr);
    ~PreferencesDialog() override;

    bool quantitiesChanged() const { return m_quantitiesChanged; }
    QCheckBox *quantityBox(int position) const;

    // Closing by OK, Cancel, Esc or the close box.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Options and Number Style tabs (preferencesdialog.cpp).
    void setCaptions();
    void showPrintFont();
    void fitToContents();
    void tabSelected(int index);
    void confirmToggled(bool checked);
    void numberStyleTabStop();
    QList<QRadioButton *> numberStyleButtons() const;
    void showNumberStyle(const NumberStyle &style);
    NumberStyle chosenNumberStyle() const;
    void showSliderValue(int value);
    void chooseShellProgram();
    void choosePrintFont();
    void confirm();
    void cancel();

    OptionsChoice choice() const;

    // Quantities and Units tabs (preferencesavailability.cpp).
    void openAvailability();
    void quantitySelectionStep();
    void fillUnits();
    QList<bool> unitSelection() const;
    SettingWrites pendingUnitWrites() const;
    void storeUnitWrites();
    QuantityAvailability quantityChoice() const;
    void setAllQuantities(bool offered);
    void addNewUnit();

    std::unique_ptr<Ui::frmSetOpt> m_ui;
    Options &m_options;
    RebuildQuantityList m_rebuildQuantityList;
    UserUnitStore m_store;

    // What the dialog showed when it opened: a choice left as it was keeps
    // what the store holds when it is written.
    OptionsChoice m_shownOptions;
    PrintFont m_shownFont;
    QuantityAvailability m_shownQuantities{};
    QList<UnitListItem> m_shownUnits;  // what lstUnits was filled with

    bool m_quantitiesChanged = false;
    int m_currentQuantityId = 500;  // the quantity lstUnits shows
    bool m_unitsLoaded = false;     // lstUnits holds selections still to be stored
    SettingWrites m_unitWrites;     // selections taken from lstUnits, not yet stored
    bool m_unitFailureShown = false;  // storing them failed; OK and closing try again
    bool m_shown = false;
    bool m_closed = false;
};

}

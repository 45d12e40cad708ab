#pragma once

#include "rules/options.h"
#include "rules/preferencesrules.h"
#include "settings/userunitstore.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui { class frmSetOpt; }

class QCheckBox;

namespace quantix {

// The preferences dialog: shell program, print font, exit confirmation,
// number style, and which quantities and units the main window offers. It
// writes the settings and the run's options.
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
    void showSliderValue(int value);
    void chooseShellProgram();
    void choosePrintFont();
    void confirm();
    void cancel();

    // Quantities and Units tabs (preferencesavailability.cpp).
    void openAvailability();
    bool quantitySelectionStep();
    QList<bool> unitSelection() const;
    void setAllQuantities(bool offered);
    void addNewUnit();

    std::unique_ptr<Ui::frmSetOpt> m_ui;
    Options &m_options;
    RebuildQuantityList m_rebuildQuantityList;
    UserUnitStore m_store;

    bool m_quantitiesChanged = false;
    int m_currentQuantityId = 500;  // the quantity lstUnits shows
    bool m_unitsLoaded = false;     // lstUnits holds selections still to be stored
    bool m_shown = false;
    bool m_closed = false;
};

}

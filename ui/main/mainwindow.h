#pragma once

#include "engine/converter.h"
#include "engine/errors.h"
#include "settings/userunitstore.h"
#include "ui/common/appstate.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

namespace Ui { class frmMain; }

namespace quantix {

class ClickableLabel;
struct FoundUnit;
class HelpViewer;

class RecordsWindow;

// The main window: choosing a quantity and two units, typing a value and
// reading the result. It owns the run-wide state the other windows share.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    AppState &state() { return m_state; }

    // Shows the decimal places in the third status panel.
    void decimals();
    // Runs the selected quantity's conversion with error reporting.
    void Convert();
    // Writes a result to lblconv, formatted by the number style.
    void ShowResult(double value);

    // The three status panels, numbered from 1.
    ClickableLabel *statusPanel(int number) const;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Start-up.
    void readSettings();
    void setCaptions();
    void createStatusPanels();
    void fitToFont();
    void fitStatusPanels();
    void restorePosition();
    SettingWrites positionWrites() const;

    // Selection and conversion.
    void quantityChosen();
    void FillUnitLists(const Quantity &quantity);
    void readUserUnits(const Quantity &quantity);
    void runConversion();
    void reportConversionError(ErrorNumber number);
    void selectionCheck();
    void inputChanged(const QString &text);
    void showInputReading(const QString &text);
    void nameResult();
    bool m_reportingError = false;
    QString m_inputToolTip;  // the form's, while no note replaces it

    // Commands.
    void connectCommands();
    void editMenuOpening();
    void copyResult();
    void paste();
    void switchUnits();
    void runShellProgram();
    void popupAtFocus();
    void showPopup(const QPoint &globalPos);
    bool filterWindowShortcut(QEvent *event);
    HelpViewer *m_help = nullptr;
    // The pop-up shows the menus' own commands; two of them act a little
    // differently when chosen there. Set while it is open and until the
    // command chosen in it has run.
    bool m_popupCommand = false;

    // Find Unit.
    void connectFind();
    void useFoundUnit(const FoundUnit &found, bool final);

    // Always on Top.
    void offerOnlyWhatTheDesktopAllows();
    bool alwaysOnTop() const;
    void setAlwaysOnTop(bool on);
    void applyTopmost();
    void setTopmost(bool on);

    // Preferences.
public:
    // Shows the preferences dialog modally, above the main window even while
    // it is always on top; on return the main window reconverts.
    void showPreferences();

    // Opens the find box; a unit chosen there becomes the initial or the
    // final unit, its quantity chosen first when needed.
    void findUnit();

private:
    void connectPreferences();
    void rebuildQuantityList(const QStringList &offeredQuantities);

    // Records.
public:
    // Appends the shown conversion to the records and rebuilds the records
    // text, loading the records window hidden when it is not loaded.
    void RecordConversion();
    // The records window while it is loaded, else nullptr.
    RecordsWindow *recordsWindow() const;

private:
    void connectRecords();
    void recordsCountChanged(int count);
    void recordsMenuOpening();
    void purgeRecords();
    void showRecordsWindow(bool restore);
    RecordsWindow &loadRecordsWindow();
    bool recordsAllowExit();
    void unloadRecordsWindow();
    QPointer<RecordsWindow> m_recordsWindow;

    std::unique_ptr<Ui::frmMain> m_ui;
    AppState m_state;
    UserUnitStore m_store;
    // The chosen quantity's converter, with its user units as the store held
    // them when the quantity was chosen or the window last activated.
    std::optional<Converter> m_converter;
    ClickableLabel *m_panels[3] = {};
};

}

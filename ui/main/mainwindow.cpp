#include "mainwindow.h"

#include "aboutbox.h"
#include "clickablelabel.h"
#include "helpviewer.h"
#include "messages.h"
#include "selectionrules.h"
#include "settingsstore.h"
#include "shellcommand.h"
#include "stringtable.h"
#include "uisupport.h"
#include "windowgeometry.h"

#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QStatusBar>
#include <QWindow>

namespace quantix {

namespace {

// Every menu and menu item with the string that captions it.
constexpr MenuCaption menuCaptions[] = {
    {"mnufile", 10},        {"mnufilesetopt", 11},    {"mnufileexit", 12},
    {"mnuedit", 20},        {"mnueditedit_0", 21},    {"mnueditedit_1", 22},       {"mnueditswitch", 23},
    {"mnueditfind", 1100},
    {"mnuview", 30},        {"mnuviewphys", 31},      {"mnuviewmetric", 32},       {"mnuviewcalc", 33},
    {"mnurecords", 35},     {"mnurecordsadd", 36},    {"mnurecordspurge", 37},     {"mnuRecordsView", 38},
    {"mnualwaystop", 40},   {"mnualwaystoponoff_0", 41}, {"mnualwaystoponoff_1", 42},
    {"mnuHelp", 50},        {"mnuhelphelp", 51},      {"mnuhelpshow", 53},         {"mnuhelpabout", 52},
    {"mnuview2phys", 31},   {"mnuview2metric", 32},   {"mnuview2numfor", 11},      {"mnuview2edit_0", 21},
    {"mnuview2edit_1", 22}, {"mnuview2switch", 23},   {"mnuview2find", 1100},      {"mnuview2records", 38},
};

constexpr const char *separators[] = {"mnu", "mnueditsep1", "mnueditsep2", "mnuviewsep", "mnurecordssep1", "mnurecordssep2",
                                      "separ1", "mnuview2sep_0", "mnuview2sepsep", "sep3"};

// The status panels' widths in twips: they share the status bar in these
// proportions.
constexpr int panelWidths[3] = {1700, 2900, 1300};

// The width a label needs to show text whole, frame and indent included.
int widthToShow(QLabel *label, const QString &text)
{
    const QString shown = label->text();
    label->setText(text);
    const int width = label->sizeHint().width();
    label->setText(shown);
    return width;
}

}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::frmMain>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setProgramIcon(this);
    ui->Image1->setPixmap(QPixmap(QStringLiteral(":/icons/image1.png")));
    markSeparators(this, separators);
    ui->mnuview2->setDefaultAction(ui->mnuview2numfor);
    ui->lblconv->setContextMenuPolicy(Qt::NoContextMenu);
    createStatusPanels();

    setDamagedSettingsNotice([this](const QString &copy) {
        Messages::show(this, {str(1255).arg(QDir::toNativeSeparators(settingsLocation()), QDir::toNativeSeparators(copy)),
                              QMessageBox::Information});
    });

    // Load: every step runs even when an earlier one could not.
    readSettings();
    setCaptions();
    fitStatusPanels();
    restorePosition();
    ui->cboquantity->addItems(offeredQuantityNames());
    ui->cboquantity->setCurrentIndex(-1);
    setFixedSize(sizeHint());

    for (QComboBox *list : {ui->cboquantity, ui->cbounit1, ui->cbounit2})
        takeWheelOnlyWithFocus(list);
    connect(ui->cboquantity, &QComboBox::activated, this, &MainWindow::quantityChosen);
    connect(ui->cbounit1, &QComboBox::activated, this, &MainWindow::Convert);
    connect(ui->cbounit2, &QComboBox::activated, this, &MainWindow::Convert);
    connect(ui->txtunit1, &QLineEdit::textChanged, this, &MainWindow::inputChanged);
    connect(ui->txtunit1, &QLineEdit::returnPressed, this, &MainWindow::Convert);
    for (ClickableLabel *caption : {ui->lblquantity, ui->lblunit1, ui->lblunit2, ui->lbltxtunit1, ui->Label1})
        connect(caption, &ClickableLabel::clicked, this, &MainWindow::selectionCheck);
    connect(ui->mnualwaystoponoff_0, &QAction::triggered, this, [this] { setAlwaysOnTop(true); });
    connect(ui->mnualwaystoponoff_1, &QAction::triggered, this, [this] { setAlwaysOnTop(false); });
    connect(ui->mnufileexit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuhelpabout, &QAction::triggered, this, [this] {
        AboutBox about(this);
        about.ShowAbout(0);
    });
    connectPreferences();
    connectRecords();
    connectCommands();
    connectFind();

    setWindowTitle(str(73));
}

MainWindow::~MainWindow()
{
    unloadRecordsWindow();
    setDamagedSettingsNotice({});
}

// The window cannot be resized, so the status bar has no size grip.
void MainWindow::createStatusPanels()
{
    ui->StatusBar->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new ClickableLabel(ui->StatusBar);
        panel->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        ui->StatusBar->addWidget(panel, panelWidths[i]);
        m_panels[i] = panel;
    }
}

// No panel is narrower than the longest text it shows: up to 99,999 records,
// and 8 decimal places. Where the font allows, the panels fill the design's
// client width between them; a larger font widens the window instead.
void MainWindow::fitStatusPanels()
{
    statusPanel(1)->setMinimumWidth(widthToShow(statusPanel(1), str(400) + QLatin1String(" 99999")));
    statusPanel(2)->setMinimumWidth(widthToShow(statusPanel(2), str(401)));
    statusPanel(3)->setMinimumWidth(widthToShow(statusPanel(3), str(402) + QLatin1String(" 8")));
}

ClickableLabel *MainWindow::statusPanel(int number) const
{
    return m_panels[number - 1];
}

void MainWindow::readSettings()
{
    const auto readBoolean = [](const char *key, const char *defaultText, bool &target) {
        if (const std::optional<bool> value = toBoolean(ReadSetting(section::settings, QLatin1String(key), QLatin1String(defaultText))))
            target = *value;
    };
    readBoolean("confirm", "true", m_state.confirmExit);
    readBoolean("scientific", "false", m_state.scientific);
    m_state.printFont = PrintFont::load(m_state.printFont);
    m_state.shellProgram = ReadShellProgram(QStringLiteral("c:\\windows\\calc.exe"));
    m_state.decimalPlaces = LoadDecimalPlaces();
}

void MainWindow::setCaptions()
{
    setMenuCaptions(this, menuCaptions);
    ui->lblquantity->setText(str(100));
    ui->lblunit1->setText(str(101));
    ui->lblunit2->setText(str(102));
    ui->lbltxtunit1->setText(str(103));
    ui->Label1->setText(str(104));
    // The captions size themselves: the blank beside one is the window's, not
    // the caption's.
    for (QLabel *caption : {ui->lblquantity, ui->lblunit1, ui->lblunit2, ui->lbltxtunit1, ui->Label1})
        caption->adjustSize();
    statusPanel(1)->setText(str(400) + QLatin1String(" 0"));
    statusPanel(2)->setText(str(401));
    statusPanel(3)->setText(str(402));
    ui->mnualwaystoponoff_0->setChecked(false);
    ui->mnualwaystoponoff_1->setChecked(true);
}

// Positions are stored in twips; one that is not a number leaves the window
// where the form places it. One off every screen is pulled back onto a screen
// when the window is shown; the stored value changes only when it closes.
void MainWindow::restorePosition()
{
    const std::optional<int> top = toWholeNumber(ReadSetting(section::settings, QStringLiteral("top"), QStringLiteral("200")));
    const std::optional<int> left = toWholeNumber(ReadSetting(section::settings, QStringLiteral("left"), QStringLiteral("200")));
    move(left ? twipsToPixels(*left) : x(), top ? twipsToPixels(*top) : y());
}

void MainWindow::storePosition()
{
    WriteSetting(section::settings, QStringLiteral("left"), QString::number(pixelsToTwips(pos().x())));
    WriteSetting(section::settings, QStringLiteral("top"), QString::number(pixelsToTwips(pos().y())));
}

void MainWindow::decimals()
{
    statusPanel(3)->setText(str(402) + u' ' + QString::number(m_state.decimalPlaces));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Convert();
        decimals();
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    keepOnScreen(this);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyTopmost();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!recordsAllowExit()) {
        event->ignore();
        return;
    }
    m_help->quit();
    storePosition();
    unloadRecordsWindow();
    event->accept();
}

bool MainWindow::alwaysOnTop() const
{
    return ui->mnualwaystoponoff_0->isChecked();
}

void MainWindow::setAlwaysOnTop(bool on)
{
    ui->mnualwaystoponoff_0->setChecked(on);
    ui->mnualwaystoponoff_1->setChecked(!on);
    applyTopmost();
}

void MainWindow::applyTopmost()
{
    setTopmost(alwaysOnTop());
}

// The stacking changes on the existing native window: setting the widget's
// flag would destroy and re-create it, which hides it and loses the focus.
void MainWindow::setTopmost(bool on)
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == windowFlags())
        return;
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle())
        window->setFlags(flags);
}

}

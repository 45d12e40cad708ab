#include "ui/main/mainwindow.h"

#include "engine/stringtable.h"
#include "rules/filefailure.h"
#include "rules/selectionrules.h"
#include "rules/shellcommand.h"
#include "settings/settingkeys.h"
#include "ui/about/aboutbox.h"
#include "ui/common/clickablelabel.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/common/windowgeometry.h"
#include "ui/help/helpviewer.h"
#include "ui/records/recordswindow.h"

#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
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
};

constexpr const char *separators[] = {"mnu", "mnueditsep1", "mnueditsep2", "mnuviewsep", "mnurecordssep1", "mnurecordssep2",
                                      "separ1", "mnuview2sep_0", "mnuview2sepsep", "sep3"};

// The status panels' widths in twips: they share the status bar in these
// proportions.
constexpr int panelWidths[3] = {1700, 2900, 1300};

// The design's heading is 12-point type over controls of 8.25 points.
constexpr qreal headingScale = 12.0 / 8.25;

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
    , m_ui(std::make_unique<Ui::frmMain>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setProgramIcon(this);
    m_ui->Image1->setPixmap(QPixmap(QStringLiteral(":/icons/image1.png")));
    markSeparators(this, separators);
    m_ui->lblconv->setContextMenuPolicy(Qt::NoContextMenu);
    m_inputToolTip = m_ui->txtunit1->toolTip();
    createStatusPanels();

    setDamagedSettingsNotice([this](const QString &copy) {
        Messages::show(this, {str(1255).arg(QDir::toNativeSeparators(settingsLocation()), QDir::toNativeSeparators(copy)),
                              QMessageBox::Information});
    });

    // Load: every step runs even when an earlier one could not. A settings
    // file that cannot be used is told once the window is up; the box takes
    // the activation that shows the decimals, and gives it back.
    readSettings();
    if (const std::optional<FileFailure> problem = settingsFileProblem()) {
        QTimer::singleShot(0, this, [this, problem] {
            Messages::show(this, {unusableSettingsText(*problem), QMessageBox::Warning});
            activateWindow();
        });
    }
    setCaptions();
    restorePosition();
    for (QComboBox *list : {m_ui->cboquantity, m_ui->cbounit1, m_ui->cbounit2}) {
        takeWheelOnlyWithFocus(list);
        searchNamesWithBlanks(list);
    }
    offerOnlyWhatTheDesktopAllows();
    m_ui->cboquantity->addItems(offeredQuantityNames());
    m_ui->cboquantity->setCurrentIndex(-1);
    fitToFont();

    connect(m_ui->cboquantity, &QComboBox::activated, this, &MainWindow::quantityChosen);
    connect(m_ui->cbounit1, &QComboBox::activated, this, &MainWindow::Convert);
    connect(m_ui->cbounit2, &QComboBox::activated, this, &MainWindow::Convert);
    connect(m_ui->txtunit1, &QLineEdit::textChanged, this, &MainWindow::inputChanged);
    connect(m_ui->txtunit1, &QLineEdit::returnPressed, this, &MainWindow::Convert);
    connect(m_ui->lblconv, &QLineEdit::textChanged, this, &MainWindow::nameResult);
    connect(m_ui->cbounit2, &QComboBox::currentTextChanged, this, &MainWindow::nameResult);
    for (ClickableLabel *caption : {m_ui->lblquantity, m_ui->lblunit1, m_ui->lblunit2, m_ui->lbltxtunit1, m_ui->Label1})
        connect(caption, &ClickableLabel::clicked, this, &MainWindow::selectionCheck);
    connect(m_ui->mnualwaystoponoff_0, &QAction::triggered, this, [this] { setAlwaysOnTop(true); });
    connect(m_ui->mnualwaystoponoff_1, &QAction::triggered, this, [this] { setAlwaysOnTop(false); });
    connect(m_ui->mnufileexit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->mnuhelpabout, &QAction::triggered, this, [this] {
        AboutBox about(this);
        about.ShowAbout(0);
    });
    connect(&m_state.options, &Options::numberStyleChanged, this, &MainWindow::decimals);
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

// The window's height follows its controls, so the status bar has no size
// grip; its width can be changed at the window's edges.
void MainWindow::createStatusPanels()
{
    m_ui->StatusBar->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new ClickableLabel(m_ui->StatusBar);
        panel->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        m_ui->StatusBar->addWidget(panel, panelWidths[i]);
        m_panels[i] = panel;
    }
}

// The window takes the desktop's font: the heading stands out from it as the
// design's heading does from its controls, and the window keeps the design's
// width while its controls and every menu title fit in it, else widens to
// what they need. It can be made wider, never narrower than that; its height
// is always theirs.
void MainWindow::fitToFont()
{
    QFont heading = font();
    heading.setBold(true);
    if (heading.pointSizeF() > 0)
        heading.setPointSizeF(heading.pointSizeF() * headingScale);
    else
        heading.setPixelSize(qRound(heading.pixelSize() * headingScale));
    m_ui->lblquantity->setFont(heading);
    fitStatusPanels();
    settleLayouts(this);
    setMinimumWidth(std::max(minimumSizeHint().width(), menuBar()->sizeHint().width()));
    setMaximumWidth(QWIDGETSIZE_MAX);
    setFixedHeight(sizeHint().height());
    resize(std::max(width(), minimumWidth()), height());
}

// No panel is narrower than the longest text it shows: up to 99,999 records,
// and 8 decimal places or 15 significant digits. Where the font allows, the panels fill the design's
// client width between them; a larger font widens the window instead.
void MainWindow::fitStatusPanels()
{
    statusPanel(1)->setMinimumWidth(widthToShow(statusPanel(1), str(400) + QLatin1String(" 99999")));
    statusPanel(2)->setMinimumWidth(widthToShow(statusPanel(2), str(401)));
    statusPanel(3)->setMinimumWidth(std::max(widthToShow(statusPanel(3), str(402) + QLatin1String(" 8")),
                                             widthToShow(statusPanel(3), str(403) + QLatin1String(" 15"))));
}

ClickableLabel *MainWindow::statusPanel(int number) const
{
    return m_panels[number - 1];
}

void MainWindow::readSettings()
{
    const SettingsSnapshot snapshot;
    Options &options = m_state.options;
    options.setConfirmExit(setting::confirm.readBoolean().value_or(options.confirmExit()));
    options.setNumberStyle(storedNumberStyle(options.numberStyle()));
    options.setPrintFont(PrintFont::load(options.printFont()));
    options.setShellProgram(ReadShellProgram());
}

void MainWindow::setCaptions()
{
    setMenuCaptions(this, menuCaptions);
    m_ui->lblquantity->setText(str(100));
    m_ui->lblunit1->setText(str(101));
    m_ui->lblunit2->setText(str(102));
    m_ui->lbltxtunit1->setText(str(103));
    m_ui->Label1->setText(str(104));
    nameResult();
    statusPanel(1)->setText(str(400) + QLatin1String(" 0"));
    statusPanel(2)->setText(str(401));
    statusPanel(3)->setText(str(402));
    m_ui->mnualwaystoponoff_0->setChecked(false);
    m_ui->mnualwaystoponoff_1->setChecked(true);
}

// Positions are stored in twips; one that is not a number leaves the window
// where the form places it. One off every screen is pulled back onto a screen
// when the window is shown; the stored value changes only when it closes.
void MainWindow::restorePosition()
{
    if (!programPlacesWindows())
        return;
    const SettingsSnapshot snapshot;
    const std::optional<int> top = setting::top.readWholeNumber();
    const std::optional<int> left = setting::left.readWholeNumber();
    move(left ? twipsToPixels(*left) : x(), top ? twipsToPixels(*top) : y());
}

// Where the desktop does not tell the position, the one stored stays.
SettingWrites MainWindow::positionWrites() const
{
    if (!programPlacesWindows())
        return {};
    return {setting::left.write(pixelsToTwips(pos().x())), setting::top.write(pixelsToTwips(pos().y()))};
}

void MainWindow::decimals()
{
    // What the number says depends on the style: significant digits count
    // every digit, the other styles the decimals.
    const NumberStyle &style = m_state.options.numberStyle();
    const bool digits = style.significant && !style.scientific;
    statusPanel(3)->setText(str(digits ? 403 : 402) + u' ' + QString::number(digits ? style.significantDigits : style.decimals));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToFont();
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // The user units may have changed meanwhile, in the preferences or
        // in another copy of the program.
        if (m_converter)
            readUserUnits(m_converter->quantity());
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
    // One change of the store with the records window's geometry: one wait
    // at most for another program's lock, and one message when it fails.
    SettingWrites writes = positionWrites();
    if (m_recordsWindow)
        writes += m_recordsWindow->takeGeometryWrites();
    if (const std::optional<FileFailure> failure = applySettings(writes))
        Messages::show(this, settingsError(*failure));
    unloadRecordsWindow();
    event->accept();
}

// Where the desktop places windows itself, Always on Top could only do
// nothing: its items are greyed and say why.
void MainWindow::offerOnlyWhatTheDesktopAllows()
{
    if (programPlacesWindows())
        return;
    for (QAction *item : {m_ui->mnualwaystoponoff_0, m_ui->mnualwaystoponoff_1}) {
        item->setEnabled(false);
        item->setToolTip(str(1301));
        item->setWhatsThis(str(1301));
    }
    m_ui->mnualwaystop->setToolTipsVisible(true);
}

bool MainWindow::alwaysOnTop() const
{
    return m_ui->mnualwaystoponoff_0->isChecked();
}

void MainWindow::setAlwaysOnTop(bool on)
{
    m_ui->mnualwaystoponoff_0->setChecked(on);
    m_ui->mnualwaystoponoff_1->setChecked(!on);
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

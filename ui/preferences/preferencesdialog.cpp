// The preferences dialog's frame: opening, tabs, the Options and Number
// Style tabs, OK, Cancel and closing.

#include "ui/preferences/preferencesdialog.h"

#include "engine/errors.h"
#include "engine/stringtable.h"
#include "ui/common/commondialogs.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/common/windowgeometry.h"

#include "ui_frmSetOpt.h"

#include <QLocale>
#include <QTimer>

#include <utility>

namespace quantix {

namespace {

constexpr int unitsTab = 2;

// The Units tab's tall buttons show their captions a word to a line, as the
// design has them.
void wrapCaption(QAbstractButton *button)
{
    button->setText(button->text().split(u' ', Qt::SkipEmptyParts).join(u'\n'));
}

// A control shown and hidden by the dialog keeps its room, so that nothing
// moves when it comes and goes.
void keepRoomWhenHidden(QWidget *control)
{
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control->setSizePolicy(policy);
}

}

PreferencesDialog::PreferencesDialog(Options &options, RebuildQuantityList rebuildQuantityList, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::frmSetOpt>())
    , m_options(options)
    , m_rebuildQuantityList(std::move(rebuildQuantityList))
{
    m_ui->setupUi(this);
    setProgramIcon(this);
    keepRoomWhenHidden(m_ui->chkSave);
    keepRoomWhenHidden(m_ui->cmdNewUnit);
    connect(m_ui->tabstrip, &QTabWidget::currentChanged, this, &PreferencesDialog::tabSelected);
    connect(m_ui->chkConfirm, &QCheckBox::toggled, this, &PreferencesDialog::confirmToggled);
    connect(m_ui->Slider1, &QSlider::valueChanged, this, &PreferencesDialog::showSliderValue);
    connect(m_ui->Slider1, &QSlider::sliderMoved, this, &PreferencesDialog::showSliderValue);
    for (QRadioButton *style : numberStyleButtons())
        connect(style, &QRadioButton::toggled, this, &PreferencesDialog::numberStyleTabStop);
    connect(m_ui->cmdDialog, &QToolButton::clicked, this, &PreferencesDialog::chooseShellProgram);
    connect(m_ui->cmdFont, &QToolButton::clicked, this, &PreferencesDialog::choosePrintFont);
    connect(m_ui->cmdOk, &QPushButton::clicked, this, &PreferencesDialog::confirm);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &PreferencesDialog::cancel);

    // Opening: each step stands on its own. The choices are the store's,
    // which another copy of the program may have changed since this one
    // started.
    m_shownOptions = storedOptionsChoice(m_options);
    m_shownFont = PrintFont::load(m_options.printFont());
    m_ui->tabstrip->setCurrentIndex(0);
    showPrintFont();
    setCaptions();
    showNumberStyle(m_shownOptions.numberStyle);
    if (m_shownOptions.confirmExit) {
        m_ui->chkConfirm->setChecked(true);
        m_ui->chkSave->setChecked(m_shownOptions.saveDialog);
    } else {
        m_ui->chkConfirm->setChecked(false);
        m_ui->chkSave->hide();
    }
    openAvailability();
    // The calculator that will run: the stored one, else one found here.
    m_options.setShellProgram(m_shownOptions.shellProgram);
    m_ui->label3->setText(u' ' + m_options.shellProgram());
    m_options.setDecimalPlaces(m_shownOptions.numberStyle.decimals);
    m_ui->Slider1->setValue(m_options.decimalPlaces());
    showSliderValue(m_ui->Slider1->value());
    // Centred at the size its texts need.
    fitToContents();
    CentreWindow(this);
    // The stored tab, once the dialog is up.
    QTimer::singleShot(1, this, [this] { m_ui->tabstrip->setCurrentIndex(storedTab() - 1); });
}

PreferencesDialog::~PreferencesDialog() = default;

void PreferencesDialog::setCaptions()
{
    setWindowTitle(str(149));
    constexpr int tabCaptions[4] = {150, 151, 161, 170};
    constexpr int tabTips[4] = {156, 162, 157, 171};
    for (int i = 0; i < 4; ++i) {
        m_ui->tabstrip->setTabText(i, str(tabCaptions[i]));
        m_ui->tabstrip->setTabToolTip(i, str(tabTips[i]));
    }
    m_ui->cmdOk->setText(str(154));
    m_ui->cmdCancel->setText(str(155));
    m_ui->cmdNewUnit->setText(str(163));
    m_ui->Label1->setText(str(152));
    m_ui->Label4->setText(str(158));
    m_ui->chkConfirm->setText(str(159));
    m_ui->chkSave->setText(str(160));
    m_ui->lblScientific->setText(str(172));
    m_ui->Option1_0->setText(str(168));
    m_ui->Option1_1->setText(str(169));
    m_ui->Option1_2->setText(str(173));
    m_ui->Option1_3->setText(str(174));
    m_ui->lblSignificant->setText(str(175));
    m_ui->chkGrouping->setText(str(176));
    m_ui->chkLeadingZero->setText(str(177));
    m_ui->lblInchFraction->setText(str(178));
    m_ui->cboInchFraction->addItem(str(179), 0);
    for (int fraction = 2; fraction <= 64; fraction *= 2)
        m_ui->cboInchFraction->addItem(QStringLiteral("1/%1").arg(fraction), fraction);
    m_ui->Label2->setText(str(153));
    m_ui->cmdselectall->setText(str(192));
    m_ui->cmddeselectall->setText(str(193));
    m_ui->Frame1_0->setTitle(str(164));
    m_ui->Frame1_1->setTitle(str(165));
    m_ui->cmdSelectAllUnits->setText(str(166));
    m_ui->cmdDeselectAllUnits->setText(str(167));
    wrapCaption(m_ui->cmdSelectAllUnits);
    wrapCaption(m_ui->cmdDeselectAllUnits);
    // Names for a screen reader where the caption does not say what it is.
    for (const auto &[button, id] : {std::pair{m_ui->cmdDialog, 1260}, std::pair{m_ui->cmdFont, 1261}}) {
        button->setAccessibleName(str(id));
        button->setToolTip(str(id));
    }
    m_ui->lstQuantity->setAccessibleName(str(164));
    m_ui->lstUnits->setAccessibleName(str(165));
}

// The design's size wherever the texts fit in it; a font or a print font
// that needs more room makes the dialog larger, never smaller.
void PreferencesDialog::fitToContents()
{
    setFixedSize(sizeForContents(this, size()));
}

// lblFont shows the print font in itself: "Arial 12 pt" in Arial 12 pt, in
// its colour on the page it will be printed on.
void PreferencesDialog::showPrintFont()
{
    const PrintFont &font = m_shownFont;
    m_ui->lblFont->setFont(toQFont(font));
    showOnPage(m_ui->lblFont, toQColor(font.colour));
    m_ui->lblFont->setText(font.name + u' ' + QLocale().toString(font.pointSize()) + QLatin1String(" pt"));
}

void PreferencesDialog::tabSelected(int index)
{
    m_ui->cmdNewUnit->setVisible(index == unitsTab);
}

// Exit confirmation on offers the save dialog, checked; off hides the offer
// and keeps its mark.
void PreferencesDialog::confirmToggled(bool checked)
{
    m_ui->chkSave->setVisible(checked);
    if (checked)
        m_ui->chkSave->setChecked(true);
}

QList<QRadioButton *> PreferencesDialog::numberStyleButtons() const
{
    return {m_ui->Option1_0, m_ui->Option1_1, m_ui->Option1_2, m_ui->Option1_3};
}

// As in a group of option buttons elsewhere, Tab reaches the chosen number
// style only, and the arrow keys move between them. The count that the
// style does not use is greyed: the digits serve the significant style
// alone, the decimal places every other.
void PreferencesDialog::numberStyleTabStop()
{
    for (QRadioButton *style : numberStyleButtons())
        style->setFocusPolicy(style->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    const bool significant = m_ui->Option1_2->isChecked();
    m_ui->spnSignificant->setEnabled(significant);
    m_ui->lblSignificant->setEnabled(significant);
    m_ui->Slider1->setEnabled(!significant);
    m_ui->Label2->setEnabled(!significant);
}

void PreferencesDialog::showNumberStyle(const NumberStyle &style)
{
    QRadioButton *chosen = style.scientific ? (style.engineering ? m_ui->Option1_3 : m_ui->Option1_0)
                                            : (style.significant ? m_ui->Option1_2 : m_ui->Option1_1);
    chosen->setChecked(true);
    m_ui->spnSignificant->setValue(style.significantDigits);
    m_ui->chkGrouping->setChecked(style.grouping);
    m_ui->chkLeadingZero->setChecked(style.leadingZero);
    m_ui->cboInchFraction->setCurrentIndex(std::max(0, m_ui->cboInchFraction->findData(style.inchFraction)));
    numberStyleTabStop();
}

// Each style is stored as the style other versions know (scientific or
// not) with the refinement beside it.
NumberStyle PreferencesDialog::chosenNumberStyle() const
{
    NumberStyle style;
    style.decimals = m_ui->Slider1->value();
    style.scientific = m_ui->Option1_0->isChecked() || m_ui->Option1_3->isChecked();
    style.engineering = m_ui->Option1_3->isChecked();
    style.significant = m_ui->Option1_2->isChecked();
    style.significantDigits = m_ui->spnSignificant->value();
    style.grouping = m_ui->chkGrouping->isChecked();
    style.leadingZero = m_ui->chkLeadingZero->isChecked();
    style.inchFraction = m_ui->cboInchFraction->currentData().toInt();
    return style;
}

void PreferencesDialog::showSliderValue(int value)
{
    m_ui->lblslider->setText(u' ' + QString::number(value));
}

// The chosen program is run-wide at once; the setting waits for OK.
void PreferencesDialog::chooseShellProgram()
{
    const std::optional<QString> path = CommonDialogs::instance().openProgramFile(this, str(1001), m_options.shellProgram());
    if (!path)
        return;
    m_options.setShellProgram(*path);
    m_ui->label3->setText(u' ' + *path);
}

// The chosen font is stored at once: cancelling the preferences keeps it.
// What the user left as it was keeps what the store holds by then, and the
// run takes the font as stored.
void PreferencesDialog::choosePrintFont()
{
    const std::optional<ChosenFont> chosen
        = CommonDialogs::instance().font(this, {toQFont(m_shownFont), toQColor(m_shownFont.colour)});
    if (!chosen)
        return;
    PrintFont font = m_shownFont;
    font.name = chosen->font.family();
    if (chosen->font.pointSizeF() > 0)
        font.size = QLocale().toString(chosen->font.pointSizeF());
    font.underline = chosen->font.underline();
    font.bold = chosen->font.bold();
    font.italic = chosen->font.italic();
    font.colour = toRgbValue(chosen->colour);
    if (const std::optional<FileFailure> failure = applySettings(font.writes(m_shownFont))) {
        Messages::show(this, settingsError(*failure));
        return;
    }
    m_shownFont = PrintFont::load(font);
    m_options.setPrintFont(m_shownFont);
    showPrintFont();
    fitToContents();
}

OptionsChoice PreferencesDialog::choice() const
{
    OptionsChoice choice;
    choice.tab = m_ui->tabstrip->currentIndex() + 1;
    choice.numberStyle = chosenNumberStyle();
    choice.shellProgram = m_options.shellProgram();
    choice.confirmExit = m_ui->chkConfirm->isChecked();
    choice.saveDialog = m_ui->chkSave->isChecked();
    return choice;
}

// OK: one change of the store with the units shown, the options, the
// quantities when a box may have changed, and what closing writes. A store
// that could not be written is reported once, and the choices still take
// effect for this run.
void PreferencesDialog::confirm()
{
    const OptionsChoice chosen = choice();
    const QuantityAvailability offered = quantityChoice();
    SettingWrites writes = m_unitWrites + pendingUnitWrites() + optionsWrites(chosen, m_shownOptions);
    if (m_quantitiesChanged)
        writes += quantityAvailabilityWrites(offered, m_shownQuantities);
    writes += closingWrites(m_ui->lstQuantity->currentRow() < 0 ? 0 : m_ui->lstQuantity->currentRow(), chosen.tab);
    m_closed = true;
    m_unitsLoaded = false;
    m_unitWrites.clear();
    const std::optional<FileFailure> failure = applySettings(writes);
    applyOptions(chosen, m_options);
    if (m_quantitiesChanged && m_rebuildQuantityList)
        m_rebuildQuantityList(quantityNames(offered));
    m_quantitiesChanged = false;
    if (failure)
        Messages::show(this, settingsError(*failure));
    accept();
}

void PreferencesDialog::cancel()
{
    m_quantitiesChanged = false;
    reject();
}

// Closing without OK stores the selections taken from lstUnits before and
// what closing writes; the units lstUnits shows now are dropped.
void PreferencesDialog::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        m_unitsLoaded = false;
        const SettingWrites writes = std::exchange(m_unitWrites, {})
            + closingWrites(m_ui->lstQuantity->currentRow() < 0 ? 0 : m_ui->lstQuantity->currentRow(),
                            m_ui->tabstrip->currentIndex() + 1);
        if (const std::optional<FileFailure> failure = applySettings(writes))
            Messages::show(this, settingsError(*failure));
    }
    QDialog::done(result);
}

}

// The preferences dialog's frame: opening, tabs, the Options and Number
// Style tabs, OK, Cancel and closing.

#include "ui/preferences/preferencesdialog.h"

#include "engine/errors.h"
#include "engine/stringtable.h"
#include "rules/shellcommand.h"
#include "settings/settingsstore.h"
#include "ui/common/commondialogs.h"
#include "ui/common/messages.h"
#include "ui/common/uisupport.h"
#include "ui/common/windowgeometry.h"

#include "ui_frmSetOpt.h"

#include <QLocale>
#include <QStyleOptionButton>
#include <QTimer>

namespace quantix {

namespace {

constexpr int unitsTab = 2;

// Where the design puts each tab's page in the dialog, in twips.
constexpr QPoint pageOrigins[4] = {{360, 600}, {240, 480}, {360, 480}, {360, 600}};

// The room a button leaves its caption.
QRect captionRoom(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
}

// A caption too wide for its button breaks at its blanks onto more lines,
// as the tall buttons of the design expect.
void wrapCaption(QPushButton *button)
{
    const int room = captionRoom(button).width();
    const QFontMetrics metrics = button->fontMetrics();
    QStringList lines;
    for (const QString &word : button->text().split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + u' ' + word) <= room)
            lines.last() += u' ' + word;
        else
            lines.append(word);
    }
    button->setText(lines.join(u'\n'));
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
    connect(m_ui->tabstrip, &QTabWidget::currentChanged, this, &PreferencesDialog::tabSelected);
    connect(m_ui->chkConfirm, &QCheckBox::toggled, this, &PreferencesDialog::confirmToggled);
    connect(m_ui->Slider1, &QSlider::valueChanged, this, &PreferencesDialog::showSliderValue);
    connect(m_ui->Slider1, &QSlider::sliderMoved, this, &PreferencesDialog::showSliderValue);
    for (QRadioButton *style : {m_ui->Option1_0, m_ui->Option1_1})
        connect(style, &QRadioButton::toggled, this, &PreferencesDialog::numberStyleTabStop);
    connect(m_ui->cmdDialog, &QPushButton::clicked, this, &PreferencesDialog::chooseShellProgram);
    connect(m_ui->cmdFont, &QPushButton::clicked, this, &PreferencesDialog::choosePrintFont);
    connect(m_ui->cmdOk, &QPushButton::clicked, this, &PreferencesDialog::confirm);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &PreferencesDialog::cancel);

    // Opening: each step stands on its own.
    m_ui->tabstrip->setCurrentIndex(0);
    CentreWindow(this);
    showPrintFont();
    setCaptions();
    (m_options.scientific() ? m_ui->Option1_0 : m_ui->Option1_1)->setChecked(true);
    numberStyleTabStop();
    if (m_options.confirmExit()) {
        m_ui->chkConfirm->setChecked(true);
        m_ui->chkSave->setChecked(ReadSetting(section::settings, QStringLiteral("save"), QStringLiteral("1")) == QLatin1String("1"));
    } else {
        m_ui->chkConfirm->setChecked(false);
        m_ui->chkSave->hide();
    }
    openAvailability();
    // The calculator that will run: the stored one, else one found here.
    m_options.setShellProgram(ReadShellProgram(QStringLiteral("calc.exe")));
    m_ui->label3->setText(u' ' + m_options.shellProgram());
    m_options.setDecimalPlaces(LoadDecimalPlaces());
    m_ui->Slider1->setValue(m_options.decimalPlaces());
    showSliderValue(m_ui->Slider1->value());
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
    m_ui->Label2->setText(str(153));
    m_ui->cmdselectall->setText(str(192));
    m_ui->cmddeselectall->setText(str(193));
    m_ui->Frame1_0->setTitle(str(164));
    m_ui->Frame1_1->setTitle(str(165));
    m_ui->cmdSelectAllUnits->setText(str(166));
    m_ui->cmdDeselectAllUnits->setText(str(167));
    wrapCaption(m_ui->cmdSelectAllUnits);
    wrapCaption(m_ui->cmdDeselectAllUnits);
}

// lblFont shows the print font in itself: "Arial 12 pt" in Arial 12 pt.
void PreferencesDialog::showPrintFont()
{
    const PrintFont &font = m_options.printFont();
    m_ui->lblFont->setFont(toQFont(font));
    QPalette palette = m_ui->lblFont->palette();
    palette.setColor(QPalette::WindowText, toQColor(font.colour));
    m_ui->lblFont->setPalette(palette);
    m_ui->lblFont->setText(font.name + u' ' + QLocale().toString(font.pointSize()) + QLatin1String(" pt"));
}

// The tab strip shows every page at its frame's corner; the controls move to
// the place the design gives their page. Only the shown page has been laid
// out, and all pages share its place.
void PreferencesDialog::placePages()
{
    const QPoint corner = m_ui->tabstrip->currentWidget()->mapTo(this, QPoint(0, 0));
    for (int i = 0; i < m_ui->tabstrip->count(); ++i) {
        const QPoint origin(twipsToPixels(pageOrigins[i].x()), twipsToPixels(pageOrigins[i].y()));
        for (QWidget *control : m_ui->tabstrip->widget(i)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            control->move(control->pos() + origin - corner);
    }
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

// As in a group of option buttons elsewhere, Tab reaches the chosen number
// style only, and the arrow keys move between the two.
void PreferencesDialog::numberStyleTabStop()
{
    for (QRadioButton *style : {m_ui->Option1_0, m_ui->Option1_1})
        style->setFocusPolicy(style->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
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
void PreferencesDialog::choosePrintFont()
{
    const PrintFont &current = m_options.printFont();
    const std::optional<ChosenFont> chosen = CommonDialogs::instance().font(this, {toQFont(current), toQColor(current.colour)});
    if (!chosen)
        return;
    PrintFont font = current;
    font.name = chosen->font.family();
    if (chosen->font.pointSizeF() > 0)
        font.size = QLocale().toString(chosen->font.pointSizeF());
    font.underline = chosen->font.underline();
    font.bold = chosen->font.bold();
    font.italic = chosen->font.italic();
    font.colour = toRgbValue(chosen->colour);
    if (!font.save()) {
        Messages::show(this, {describe(ErrorNumber::PathFileAccess)});
        return;
    }
    m_options.setPrintFont(font);
    showPrintFont();
}

// OK: every step runs; a store that could not be written is reported once,
// and the choices still take effect for this run.
void PreferencesDialog::confirm()
{
    bool written = quantitySelectionStep();
    OptionsChoice choice;
    choice.tab = m_ui->tabstrip->currentIndex() + 1;
    choice.decimalPlaces = m_ui->Slider1->value();
    choice.scientific = m_ui->Option1_0->isChecked();
    choice.shellProgram = m_options.shellProgram();
    choice.confirmExit = m_ui->chkConfirm->isChecked();
    choice.saveDialog = m_ui->chkSave->isChecked();
    written &= applySettingWrites(optionsWrites(choice));
    applyOptions(choice, m_options);
    if (m_quantitiesChanged) {
        std::array<bool, Catalogue::quantityCount> offered{};
        for (int i = 0; i < Catalogue::quantityCount; ++i)
            offered[static_cast<std::size_t>(i)] = quantityBox(i)->isChecked();
        const QStringList names = storeQuantityAvailability(offered, written);
        if (m_rebuildQuantityList)
            m_rebuildQuantityList(names);
    }
    m_quantitiesChanged = false;
    if (!written)
        Messages::show(this, dialogError(ErrorNumber::PathFileAccess));
    accept();
}

void PreferencesDialog::cancel()
{
    m_quantitiesChanged = false;
    reject();
}

void PreferencesDialog::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        m_unitsLoaded = false;
        applySettingWrites(closingWrites(m_ui->lstQuantity->currentRow() < 0 ? 0 : m_ui->lstQuantity->currentRow(),
                                         m_ui->tabstrip->currentIndex() + 1));
    }
    QDialog::done(result);
}

}

#include "ui/main/findunitdialog.h"

#include "engine/stringtable.h"
#include "ui/common/uisupport.h"

#include "ui_frmFindUnit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace quantix {

FindUnitDialog::FindUnitDialog(UnitFinder finder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint)
    , m_ui(std::make_unique<Ui::frmFindUnit>())
    , m_finder(std::move(finder))
{
    m_ui->setupUi(this);
    setProgramIcon(this);
    setCaptions();
    m_ui->txtFind->installEventFilter(this);
    useProgramEditMenu(m_ui->txtFind);
    connect(m_ui->txtFind, &QLineEdit::textChanged, this, &FindUnitDialog::search);
    connect(m_ui->lstFound, &QListWidget::itemDoubleClicked, this, [this] { choose(Target::Initial); });
    connect(m_ui->cmdInitial, &QPushButton::clicked, this, [this] { choose(Target::Initial); });
    connect(m_ui->cmdFinal, &QPushButton::clicked, this, [this] { choose(Target::Final); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    search(QString());
    m_ui->txtFind->setFocus();
}

FindUnitDialog::~FindUnitDialog() = default;

void FindUnitDialog::setCaptions()
{
    setWindowTitle(str(1101));
    m_ui->lblFind->setText(str(1102));
    m_ui->cmdInitial->setText(str(1103));
    m_ui->cmdFinal->setText(str(1104));
    m_ui->cmdCancel->setText(str(155));
    const std::pair<QWidget *, int> help[] = {
        {m_ui->txtFind, 1110}, {m_ui->lstFound, 1111}, {m_ui->cmdInitial, 1112}, {m_ui->cmdFinal, 1113}, {m_ui->cmdCancel, 1114}};
    for (const auto &[widget, id] : help) {
        widget->setToolTip(str(id));
        widget->setWhatsThis(str(id + 5));
    }
    m_ui->lblFind->setWhatsThis(m_ui->txtFind->whatsThis());
    m_ui->lstFound->setAccessibleName(str(1264));
}

void FindUnitDialog::search(const QString &text)
{
    const UnitFinder::Result found = m_finder.find(text);
    m_shown = found.units;
    QStringList lines;
    lines.reserve(m_shown.size());
    for (const qsizetype index : std::as_const(m_shown)) {
        const FoundUnit &unit = m_finder.units()[index];
        lines << str(1105).arg(unit.unit, unit.quantity);
    }
    m_ui->lstFound->clear();
    m_ui->lstFound->addItems(lines);
    if (!lines.isEmpty())
        m_ui->lstFound->setCurrentRow(0);
    if (text.trimmed().isEmpty())
        m_ui->lblFound->setText(str(1106));
    else if (m_shown.isEmpty())
        m_ui->lblFound->setText(str(1108));
    else if (found.similarOnly)
        m_ui->lblFound->setText(str(1109));
    else
        m_ui->lblFound->setText(str(1107).arg(m_shown.size()));
    m_ui->cmdInitial->setEnabled(!lines.isEmpty());
    m_ui->cmdFinal->setEnabled(!lines.isEmpty());
    showLinesWhole();
}

// The box widens, and never narrows while it is open, until the longest line
// found shows whole, as far as the screen allows.
void FindUnitDialog::showLinesWhole()
{
    QListWidget *list = m_ui->lstFound;
    if (list->count() == 0)
        return;
    const int needed = list->sizeHintForColumn(0) + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
    const int extra = needed - list->width();
    if (extra <= 0)
        return;
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - frameGeometry().width() + width() : width() + extra;
    resize(std::min(width() + extra, std::max(room, width())), height());
}

void FindUnitDialog::choose(Target target)
{
    const int row = m_ui->lstFound->currentRow();
    if (row < 0 || row >= m_shown.size())
        return;
    m_chosen = m_shown[row];
    m_target = target;
    accept();
}

// The text field keeps the keyboard: the keys that move in a list move in
// the list, Enter chooses.
bool FindUnitDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->txtFind && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_ui->lstFound, key);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            choose(key->modifiers().testFlag(Qt::ShiftModifier) ? Target::Final : Target::Initial);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}

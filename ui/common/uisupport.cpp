#include "ui/common/uisupport.h"

#include "engine/stringtable.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QImageReader>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <cmath>

static void initCommonResources() { Q_INIT_RESOURCE(common); }

namespace quantix {

namespace {

class WheelOnlyWithFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget *>(watched)->hasFocus()) {
            // Ignored, the turn goes on to the window as if the control were
            // not there.
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A blank typed into a closed list goes on with the name typed so far, as a
// letter does: the list itself would open instead.
class BlankInName : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *list = static_cast<QComboBox *>(watched);
        if (event->type() == QEvent::KeyPress && !list->view()->isVisible()) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Space && !(key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
                // A key without a code is searched for by its text.
                QKeyEvent blank(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key->text());
                QCoreApplication::sendEvent(list, &blank);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Relative luminance of a colour as the eye weighs its channels.
double luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// The contrast that ordinary text needs to be read by most people.
constexpr double readableContrast = 4.5;

}

void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
}

QFont toQFont(const PrintFont &font)
{
    QFont qfont(font.name);
    qfont.setPointSizeF(font.pointSize());
    qfont.setUnderline(font.underline);
    qfont.setItalic(font.italic);
    qfont.setBold(font.bold);
    return qfont;
}

QColor toQColor(quint32 rgb)
{
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

quint32 toRgbValue(const QColor &colour)
{
    return quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16;
}

double contrastRatio(const QColor &first, const QColor &second)
{
    const auto [darker, lighter] = std::minmax({luminance(first), luminance(second)});
    return (lighter + 0.05) / (darker + 0.05);
}

// White where the ink can be read on it, else the page that shows it best:
// every colour stands out from white or from black by at least 4.58 to 1.
QColor pageFor(const QColor &ink)
{
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    return contrastRatio(ink, white) >= std::min(readableContrast, contrastRatio(ink, black)) ? white : black;
}

void showOnPage(QWidget *control, const QColor &ink)
{
    const QColor page = pageFor(ink);
    QPalette palette = control->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, page);
        palette.setColor(group, QPalette::Base, page);
        palette.setColor(group, QPalette::WindowText, ink);
        palette.setColor(group, QPalette::Text, ink);
    }
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void keepLinksReadable(QWidget *view)
{
    QPalette palette = view->palette();
    const QColor background = palette.color(QPalette::Base);
    const QColor away = contrastRatio(background, Qt::white) > contrastRatio(background, Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
    for (const QPalette::ColorRole role : {QPalette::Link, QPalette::LinkVisited}) {
        QColor link = palette.color(role);
        // A tenth of the way to white or black at a time; all the way reads.
        for (int step = 0; step < 10 && contrastRatio(link, background) < readableContrast; ++step)
            link = QColor::fromRgbF(link.redF() + (away.redF() - link.redF()) / (10 - step),
                                    link.greenF() + (away.greenF() - link.greenF()) / (10 - step),
                                    link.blueF() + (away.blueF() - link.blueF()) / (10 - step));
        palette.setColor(role, link);
    }
    view->setPalette(palette);
}

void setProgramIcon(QWidget *window)
{
    initCommonResources();
    // Read as the PNG it is: a reader left to find the format loads every
    // image plugin to ask it, even when told the format.
    QImageReader reader(QStringLiteral(":/icons/quantix96.png"), "PNG");
    reader.setAutoDetectImageFormat(false);
    window->setWindowIcon(QIcon(QPixmap::fromImage(reader.read())));
}

QString arrayName(const char *name, int index)
{
    return QLatin1String(name) + u'_' + QString::number(index);
}

void setMenuCaptions(QWidget *window, std::span<const MenuCaption> captions)
{
    for (const MenuCaption &caption : captions) {
        if (auto *menu = window->findChild<QMenu *>(QLatin1String(caption.name)))
            menu->setTitle(str(caption.id));
        else if (auto *action = window->findChild<QAction *>(QLatin1String(caption.name)))
            action->setText(str(caption.id));
    }
}

void markSeparators(QWidget *window, std::span<const char *const> names)
{
    for (const char *name : names) {
        if (auto *action = window->findChild<QAction *>(QLatin1String(name)))
            action->setSeparator(true);
    }
}

void takeWheelOnlyWithFocus(QWidget *control)
{
    if (control->focusPolicy() == Qt::WheelFocus)
        control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelOnlyWithFocus(control));
}

void searchNamesWithBlanks(QComboBox *list)
{
    list->installEventFilter(new BlankInName(list));
}

void showWholeNames(QAbstractItemView *view, const QStringList &names)
{
    // An entry as the list draws it, margins included.
    QStyleOptionViewItem entry;
    entry.initFrom(view);
    entry.font = view->font();
    entry.features = QStyleOptionViewItem::HasDisplay;
    int widest = 0;
    for (const QString &name : names) {
        entry.text = name;
        widest = std::max(widest, view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &entry, QSize(), view).width());
    }
    view->setMinimumWidth(widest + 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width());
}

void setTextFromStart(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

void useProgramEditMenu(QLineEdit *box)
{
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(box, &QWidget::customContextMenuRequested, box, [box](const QPoint &pos) {
        showEditMenu(box, box->mapToGlobal(pos));
    });
}

void showEditMenu(QLineEdit *box, const QPoint &globalPos)
{
    const bool selected = box->hasSelectedText();
    const bool editable = !box->isReadOnly();
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    QMenu menu(box);
    menu.setObjectName(QStringLiteral("editmenu"));
    menu.addAction(str(1250), box, &QLineEdit::undo)->setEnabled(editable && box->isUndoAvailable());
    menu.addAction(str(1251), box, &QLineEdit::redo)->setEnabled(editable && box->isRedoAvailable());
    menu.addSeparator();
    menu.addAction(str(1252), box, &QLineEdit::cut)->setEnabled(editable && selected);
    menu.addAction(str(25), box, &QLineEdit::copy)->setEnabled(selected);
    menu.addAction(str(22), box, &QLineEdit::paste)->setEnabled(editable && clipboard && clipboard->hasText());
    menu.addAction(str(1253), box, [box] { box->del(); })->setEnabled(editable && selected);
    menu.addSeparator();
    menu.addAction(str(1254), box, &QLineEdit::selectAll)->setEnabled(box->selectedText().size() < box->text().size());
    menu.exec(globalPos);
}

namespace {

// QTextEdit and QPlainTextEdit share these members but no class that has them.
template<typename TextBox>
void useReadOnlyEditMenu(TextBox *box)
{
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area's menu position is the viewport's.
    QObject::connect(box, &QWidget::customContextMenuRequested, box, [box](const QPoint &pos) {
        const QString selected = box->textCursor().selectedText();
        QMenu menu(box);
        menu.setObjectName(QStringLiteral("editmenu"));
        menu.addAction(str(25), box, &TextBox::copy)->setEnabled(!selected.isEmpty());
        menu.addAction(str(1254), box, &TextBox::selectAll)->setEnabled(selected.size() < box->toPlainText().size());
        menu.exec(box->viewport()->mapToGlobal(pos));
    });
}

}

void useProgramEditMenu(QTextEdit *box)
{
    useReadOnlyEditMenu(box);
}

void useProgramEditMenu(QPlainTextEdit *box)
{
    useReadOnlyEditMenu(box);
}

}

#include "ui/common/uisupport.h"

#include "engine/stringtable.h"

#include <QClipboard>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>
#include <QWidget>

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

void setProgramIcon(QWidget *window)
{
    initCommonResources();
    window->setWindowIcon(QIcon(QStringLiteral(":/icons/quantix96.png")));
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

void useProgramEditMenu(QTextEdit *box)
{
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area's menu position is the viewport's.
    QObject::connect(box, &QWidget::customContextMenuRequested, box, [box](const QPoint &pos) {
        const QString selected = box->textCursor().selectedText();
        QMenu menu(box);
        menu.setObjectName(QStringLiteral("editmenu"));
        menu.addAction(str(25), box, &QTextEdit::copy)->setEnabled(!selected.isEmpty());
        menu.addAction(str(1254), box, &QTextEdit::selectAll)->setEnabled(selected.size() < box->toPlainText().size());
        menu.exec(box->viewport()->mapToGlobal(pos));
    });
}

}

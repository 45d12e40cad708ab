#include "ui/help/helpviewer.h"

#include "engine/stringtable.h"

#include "ui/common/messages.h"
#include "ui/help/helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QUrl>
#include <QWhatsThis>
#include <QWhatsThisClickedEvent>
#include <QWidget>

namespace quantix {

namespace {

// Marked as rich text whatever the topic's first characters are.
QString popupText(const HelpTopic &topic)
{
    return QLatin1String("<qt>") + topic.body + QLatin1String("</qt>");
}

// The controls of window (itself included) called name; not those of other
// windows that happen to be its children, such as dialogs.
QList<QWidget *> controlsNamed(QWidget *window, const QString &name)
{
    QList<QWidget *> controls;
    if (window->objectName() == name)
        controls.append(window);
    const QList<QWidget *> children = window->findChildren<QWidget *>(name);
    for (QWidget *child : children) {
        if (child->window() == window->window())
            controls.append(child);
    }
    return controls;
}

}

HelpViewer::HelpViewer(QWidget *owner, const QString &path)
    : QObject(owner)
    , m_owner(owner)
    , m_path(path)
{
}

HelpViewer::~HelpViewer()
{
    delete m_window;
}

void HelpViewer::showTopic(int context)
{
    const HelpFile *file = fileOrReport();
    if (!file)
        return;
    const HelpTopic *topic = file->topic(context);
    if (!topic) {
        report(str(1028).arg(QDir::toNativeSeparators(m_path)).arg(context));
        return;
    }
    presentWindow()->showTopic(*topic);
}

void HelpViewer::showContents()
{
    if (fileOrReport())
        presentWindow()->showContents();
}

void HelpViewer::quit()
{
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
        m_window.clear();
    }
    m_file.reset();
}

bool HelpViewer::showPopupFor(QWidget *control, const QPoint &globalPos)
{
    const HelpFile *file = control ? fileOrReport() : nullptr;
    if (!file)
        return false;
    for (QWidget *widget = control; widget; widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        if (const HelpTopic *topic = file->popupFor(widget->objectName())) {
            QWhatsThis::showText(globalPos, popupText(*topic), widget);
            emit popupShown(topic->context);
            return true;
        }
    }
    return false;
}

bool HelpViewer::installWhatsThis(QWidget *window)
{
    if (!window || !loadFile())
        return false;
    for (const HelpTopic &topic : m_file->topics()) {
        if (topic.kind != TopicKind::Popup)
            continue;
        for (QWidget *control : controlsNamed(window, topic.controlName)) {
            control->setWhatsThis(popupText(topic));
            control->installEventFilter(this);
        }
    }
    return true;
}

void HelpViewer::enterWhatsThisMode()
{
    if (!fileOrReport())
        return;
    installWhatsThis(m_owner);
    QWhatsThis::enterWhatsThisMode();
    // Ahead of the mode's own filter, which would end the mode on any key.
    qApp->installEventFilter(this);
}

QWidget *HelpViewer::helpWindow() const
{
    return m_window;
}

// The controls' What's This requests come here, so that the shown topic is
// always the file's and a link in a pop-up opens its topic in the window.
bool HelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LeaveWhatsThisMode)
        qApp->removeEventFilter(this);
    if (whatsThisKey(event))
        return true;
    if (event->type() == QEvent::WhatsThis && watched->isWidgetType())
        return showPopupFor(static_cast<QWidget *>(watched), static_cast<QHelpEvent *>(event)->globalPos());
    if (event->type() == QEvent::WhatsThisClicked) {
        const QUrl link(static_cast<QWhatsThisClickedEvent *>(event)->href());
        bool ok = false;
        const int context = link.scheme() == u"topic" ? link.path().toInt(&ok) : -1;
        if (ok)
            showTopic(context);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// Enter or Space in What's This mode: the topic of the control with the
// keyboard focus, shown under it, and the mode ends as after a click.
bool HelpViewer::whatsThisKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !QWhatsThis::inWhatsThisMode())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
        return false;
    QWidget *control = QApplication::focusWidget();
    if (!control || control->window() != m_owner->window())
        return false;
    QWhatsThis::leaveWhatsThisMode();
    showPopupFor(control, control->mapToGlobal(QPoint(control->width() / 2, control->height())));
    return true;
}

bool HelpViewer::loadFile()
{
    if (m_file)
        return true;
    HelpFile file = HelpFile::load(m_path);
    if (!file.isValid()) {
        m_loadError = file.errorText();
        return false;
    }
    m_file = std::make_shared<const HelpFile>(std::move(file));
    return true;
}

const HelpFile *HelpViewer::fileOrReport()
{
    if (loadFile())
        return m_file.get();
    report(m_loadError);
    return nullptr;
}

void HelpViewer::report(const QString &text)
{
    MessageSpec message;
    message.text = text;
    message.icon = QMessageBox::Information;
    Messages::show(m_owner, message);
}

HelpWindow *HelpViewer::presentWindow()
{
    if (!m_window)
        m_window = new HelpWindow(m_file, m_owner);
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}

}

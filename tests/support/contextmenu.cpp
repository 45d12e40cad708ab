#include "support/contextmenu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

namespace quantix::testing {

QStringList rightClickMenu(QWidget *target, bool chooseLast)
{
    QStringList texts;
    // The menu runs its own event loop: it is read from inside that loop.
    QTimer::singleShot(0, target, [&texts, chooseLast] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *item : menu->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text() + (item->isEnabled() ? "" : " (greyed)"));
        if (chooseLast)
            menu->actions().constLast()->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), target->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(target, &event);
    return texts;
}

}

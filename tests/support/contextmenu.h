#pragma once

#include <QStringList>

class QWidget;

namespace quantix::testing {

// What a right click at (3, 3) on target opens, item by item: "-" for a
// separator, " (greyed)" after the text of a disabled item; empty when no
// menu opens. The menu is closed again, after its last item was chosen when
// chooseLast is set. A text box's target is its viewport.
QStringList rightClickMenu(QWidget *target, bool chooseLast = false);

}

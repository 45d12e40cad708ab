#pragma once

#include "printfont.h"

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace quantix {

// Makes the form fonts available under their design names: "Times New Roman"
// and "MS Sans Serif" fall back to metric-compatible fonts of the system.
void installFontSubstitutes();

// The print font as a QFont and its colour, and back.
QFont toQFont(const PrintFont &font);
QColor toQColor(quint32 rgb);       // red + green × 256 + blue × 65536
quint32 toRgbValue(const QColor &colour);

// The program icon, for every window.
void setProgramIcon(QWidget *window);

// Control arrays are named "name_index".
QString arrayName(const char *name, int index);

}

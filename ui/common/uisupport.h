#pragma once

#include "settings/printfont.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <span>

class QLineEdit;
class QTextEdit;
class QPoint;
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

// A menu or menu item of a form and the string that captions it.
struct MenuCaption
{
    const char *name;
    int id;
};

// Gives the named menus their titles and the named items their texts.
void setMenuCaptions(QWidget *window, std::span<const MenuCaption> captions);

// Makes the named actions separators, which a form cannot declare.
void markSeparators(QWidget *window, std::span<const char *const> names);

// A wheel turn over the control changes it only while it has the keyboard
// focus, and never gives it the focus: a turn meant to scroll past a list is
// not a choice from it.
void takeWheelOnlyWithFocus(QWidget *control);

// Sets a box's text from the program and shows its beginning: a text longer
// than the box would otherwise show its end and hide its leading digits.
void setTextFromStart(QLineEdit *box, const QString &text);

// Gives a text box the edit menu of the program's own texts on a right click
// instead of the toolkit's. The menu names no shortcut keys: in the main
// window Ctrl+C, Ctrl+V and Ctrl+A belong to the window's commands.
void useProgramEditMenu(QLineEdit *box);
// That menu, opened at a global position.
void showEditMenu(QLineEdit *box, const QPoint &globalPos);
// The same for a read-only text box: Copy and Select All.
void useProgramEditMenu(QTextEdit *box);

}

#pragma once

#include "settings/printfont.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <span>

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QPoint;
class QWidget;

namespace quantix {

// Makes the fonts of the design available under their names: "Times New
// Roman", "MS Sans Serif" and "Arial" (the print font's default) fall back to
// metric-compatible fonts of the system.
void installFontSubstitutes();

// The print font as a QFont and its colour, and back.
QFont toQFont(const PrintFont &font);
QColor toQColor(quint32 rgb);       // red + green × 256 + blue × 65536
quint32 toRgbValue(const QColor &colour);

// How far two colours stand apart for the eye: 1 (the same) to 21 (black on
// white), by their relative luminance.
double contrastRatio(const QColor &first, const QColor &second);
// The page a text in this colour is shown on as it would be printed: white,
// unless the colour is too light to be read there.
QColor pageFor(const QColor &ink);
// Shows a control's text in ink on its page, whatever the colour scheme: a
// preview of the printout that stays readable in a dark scheme too.
void showOnPage(QWidget *control, const QColor &ink);
// Lightens or darkens the colour scheme's link colour in a text view as far
// as it takes to be read on the view's background.
void keepLinksReadable(QWidget *view);

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

// A closed list reads a typed blank as part of the name being typed ("inch
// of"), as it does letters, instead of opening.
void searchNamesWithBlanks(QComboBox *list);

// A list is never narrower than the longest of these names with its scroll
// bar beside it, at the font it has now.
void showWholeNames(QAbstractItemView *view, const QStringList &names);

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
void useProgramEditMenu(QPlainTextEdit *box);

}

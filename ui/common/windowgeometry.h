#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace quantix {

// Window positions and sizes are stored in twips; the screen works in
// pixels at 15 twips per pixel (96 dots per inch).
constexpr int twipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return twips / twipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * twipsPerPixel; }

// Whether the desktop lets a program know and choose where its windows are
// and keep one above the others. Wayland allows none of it: there nothing
// is stored or restored of a window's position (what is stored stays for
// the next start elsewhere), and Always on Top is not offered.
bool programPlacesWindows();

// Brings every layout of a window up to date with the texts and fonts its
// controls have now, so that its size hints hold before it is shown.
void settleLayouts(QWidget *window);

// The size a window designed at this size takes at the font it has now: the
// design size wherever its controls fit in it, else as much more as they
// need, a wrapping text as tall as it is at that width.
QSize sizeForContents(QWidget *window, QSize designSize);

// Centres a window on its screen unless it is minimised or maximised.
void CentreWindow(QWidget *window);

// Where a window of this size placed at topLeft can be reached: where it is
// while a good part of it lies in some screen's available area, else moved
// just far enough to lie in the available area of the screen nearest to it
// (a position stored for a screen that has since gone).
QPoint placeOnScreen(QPoint topLeft, QSize size);

// Moves a window, frame included, where placeOnScreen puts it. Called as it is
// shown, when the frame is known.
void keepOnScreen(QWidget *window);

}

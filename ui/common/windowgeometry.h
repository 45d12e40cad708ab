#pragma once

#include <QtGlobal>

class QWidget;

namespace quantix {

// Window positions and sizes are stored in twips; the screen works in
// pixels at 15 twips per pixel (96 dots per inch).
constexpr int twipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return twips / twipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * twipsPerPixel; }

// Centres a window on its screen unless it is minimised or maximised.
void CentreWindow(QWidget *window);

}

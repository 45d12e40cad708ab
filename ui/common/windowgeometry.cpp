#include "ui/common/windowgeometry.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace quantix {

namespace {

// How much of a window must lie on a screen, in pixels each way, to be seen
// and dragged back.
constexpr int reachable = 48;

int distance(const QRect &area, const QRect &window)
{
    const int dx = std::max({area.left() - window.right(), window.left() - area.right(), 0});
    const int dy = std::max({area.top() - window.bottom(), window.top() - area.bottom(), 0});
    return dx + dy;
}

}

bool programPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A layout caches what its controls need; one inside another control hears
// of a change only when its own control is laid out, which before the window
// is shown happens when it is activated: the innermost first.
void settleLayouts(QWidget *window)
{
    window->ensurePolished();
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (auto widget = widgets.crbegin(); widget != widgets.crend(); ++widget) {
        if (QLayout *layout = (*widget)->layout()) {
            layout->invalidate();
            layout->activate();
        }
    }
}

QSize sizeForContents(QWidget *window, QSize designSize)
{
    settleLayouts(window);
    const QSize minimum = window->minimumSizeHint();
    const int width = std::max(designSize.width(), minimum.width());
    // A wrapping text's smallest size is its narrowest, and tallest, one.
    const QLayout *layout = window->layout();
    const int height = layout && layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : minimum.height();
    return {width, std::max(designSize.height(), height)};
}

void CentreWindow(QWidget *window)
{
    if (window->isMinimized() || window->isMaximized())
        return;
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

QPoint placeOnScreen(QPoint topLeft, QSize size)
{
    const QRect window(topLeft, size);
    QRect nearest;
    int nearestDistance = INT_MAX;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const QRect seen = area.intersected(window);
        if (seen.width() >= std::min(reachable, size.width()) && seen.height() >= std::min(reachable, size.height()))
            return topLeft;
        if (const int d = distance(area, window); d < nearestDistance) {
            nearestDistance = d;
            nearest = area;
        }
    }
    if (nearest.isNull())
        return topLeft;
    // A window larger than the area keeps its top-left corner on the screen.
    return {std::max(nearest.left(), std::min(topLeft.x(), nearest.right() + 1 - size.width())),
            std::max(nearest.top(), std::min(topLeft.y(), nearest.bottom() + 1 - size.height()))};
}

void keepOnScreen(QWidget *window)
{
    if (!programPlacesWindows())
        return;
    const QRect frame = window->frameGeometry();
    const QPoint placed = placeOnScreen(frame.topLeft(), frame.size());
    if (placed != frame.topLeft())
        window->move(placed);
}

}

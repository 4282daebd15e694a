#include "framework/window/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>

namespace ryn::screenfit {

namespace {

// Keeps a top-level window inside its screen's available area each time it
// is shown: its frame as the desktop drew it once known, else as estimated.
// A window maximised or full screen is the desktop's to place.
class KeepOnScreen : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !window->isWindow() || window->isMaximized() ||
            window->isFullScreen())
            return false;
        const QRect area = availableArea(window);
        if (area.isEmpty())
            return false;
        const QRect inner = window->geometry();
        const QRect outer = window->frameGeometry();
        QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                       outer.right() - inner.right(), outer.bottom() - inner.bottom());
        if (frame.isNull())
            frame = estimatedFrame();
        const QSize size = fittedSize(window->size(), window->minimumSizeHint(), area, frame);
        if (size != window->size())
            window->resize(size);
        const QPoint corner = insideArea(outer.topLeft(), size.grownBy(frame), area);
        if (corner != outer.topLeft())
            window->move(corner);
        return false;
    }
};

} // namespace

QMargins estimatedFrame()
{
    return QMargins(8, 36, 8, 8);
}

QRect availableArea(const QWidget* window)
{
    const QWidget* parent = window->parentWidget();
    QScreen* screen = parent ? parent->window()->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize fittedSize(QSize wanted, QSize minimum, const QRect& area, const QMargins& frame)
{
    if (area.isEmpty())
        return wanted.expandedTo(minimum);
    const QSize room = area.size().shrunkBy(frame);
    return wanted.expandedTo(minimum).boundedTo(room);
}

QPoint insideArea(QPoint topLeft, QSize size, const QRect& area)
{
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()));
    return QPoint(x, y);
}

void fitToScreen(QWidget* window, QSize wanted)
{
    window->resize(fittedSize(wanted, window->minimumSizeHint(), availableArea(window)));
    window->installEventFilter(new KeepOnScreen(window));
}

QScrollArea* scrolling(QWidget* content)
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

} // namespace ryn::screenfit

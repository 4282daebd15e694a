#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

namespace ryn {

// Windows that fit the screen they open on, a laptop's as well as a large
// one. A dialog asks for the size it would like; it gets that size bounded
// to the screen's available area (QScreen::availableGeometry, without panels
// and task bars) less the frame the desktop draws around it, and never less
// than its minimum where the area allows. Whatever a dialog holds that may
// be taller than the screen sits in a scrolling area, so that its buttons
// stay in view.
namespace screenfit {

// What a desktop's frame is taken to add around a window not yet shown: a
// title bar above and a border on each side.
QMargins estimatedFrame();

// The available area of the screen the window opens on: its parent's
// screen, else its own, else the primary screen's.
QRect availableArea(const QWidget* window);

// wanted bounded to area less frame, grown to minimum where the area allows.
QSize fittedSize(QSize wanted, QSize minimum, const QRect& area,
                 const QMargins& frame = estimatedFrame());

// The top left corner that puts a window of size (frame included) inside
// area, moved as little as possible from topLeft.
QPoint insideArea(QPoint topLeft, QSize size, const QRect& area);

// Resizes a top-level window to wanted fitted to its screen (fittedSize) and,
// when it is shown, keeps it, frame included, inside the available area.
// Called by a window from its own constructor in place of resize().
void fitToScreen(QWidget* window, QSize wanted);

// A scrolling area without a frame for content, which takes content's size
// where there is room and scrolls where there is not.
QScrollArea* scrolling(QWidget* content);

} // namespace screenfit
} // namespace ryn

#include "app/EmptyAreaHint.h"

#include <QEvent>
#include <QMdiArea>

EmptyAreaHint::EmptyAreaHint(QMdiArea* area)
    : QLabel(tr("Double-click a design on the left to begin; F5 runs it"), area->viewport())
{
    setObjectName(QStringLiteral("EmptyAreaHint"));
    setAlignment(Qt::AlignCenter);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.3);
    setFont(larger);
    setStyleSheet(QStringLiteral("color: #404a5a; background: transparent;"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    parentWidget()->installEventFilter(this);
    centre();
}

bool EmptyAreaHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        centre();
    return QLabel::eventFilter(watched, event);
}

void EmptyAreaHint::centre()
{
    const QSize room = parentWidget()->size();
    const QSize size = sizeHint();
    setGeometry((room.width() - size.width()) / 2, (room.height() - size.height()) / 3,
                size.width(), size.height());
}

#include "framework/window/MessageLine.h"

#include <QLabel>

namespace ryn {

void showMessage(QLabel* line, const QString& text, bool refusal)
{
    line->setStyleSheet(refusal ? QStringLiteral("color: #b00000") : QString());
    line->setText(text);
}

} // namespace ryn

#pragma once

#include <QString>

class QLabel;

namespace ryn {

// Shows text on a dialog's message line: what the dialog is doing or has
// found, or in red why it refused or failed.
void showMessage(QLabel* line, const QString& text, bool refusal = false);

} // namespace ryn

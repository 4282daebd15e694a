#pragma once

#include "ui_QuorvelInfo.h"

#include <QDialog>

namespace ryn {
class RynSettings;
}

// The about box of Help > "About": the program's name, its version as the
// store names it, and who made and funded it, closed with OK.
class QuorvelInfo : public QDialog, public Ui_QuorvelInfo
{
    Q_OBJECT

public:
    // Shows the version stored under program_version in settings.
    explicit QuorvelInfo(ryn::RynSettings* settings, QWidget* parent = nullptr);
};

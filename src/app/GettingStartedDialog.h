#pragma once

#include <QDialog>

// Help > Getting started: a short page, kept in the program's resources, on
// how to enter and run a first design.
class GettingStartedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GettingStartedDialog(QWidget* parent = nullptr);
};

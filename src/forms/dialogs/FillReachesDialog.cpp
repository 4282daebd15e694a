#include "forms/dialogs/FillReachesDialog.h"

#include <QPushButton>

FillReachesDialog::FillReachesDialog(int firstReach, int lastReach, QWidget* parent)
    : QDialog(parent)
{
    setupUi(this);
    for (QSpinBox* spin : {fromSpin, toSpin})
        spin->setRange(firstReach, lastReach);
    fromSpin->setValue(firstReach);
    toSpin->setValue(lastReach);
    for (RangeLineEdit* edit : {survivalEdit, detectionEdit, removalEdit})
        edit->setRangeAllowed(false);
    connect(fromSpin, qOverload<int>(&QSpinBox::valueChanged), this,
            &FillReachesDialog::keepSpanInOrder);
    buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Fill"));
}

ReachFill FillReachesDialog::fill() const
{
    return {fromSpin->value(), toSpin->value(), survivalEdit->text().trimmed(),
            detectionEdit->text().trimmed(), removalEdit->text().trimmed()};
}

// The span never runs backwards: "to" starts at "from" at the least.
void FillReachesDialog::keepSpanInOrder()
{
    toSpin->setMinimum(fromSpin->value());
}

#pragma once

#include "forms/StudyWidget.h"
#include "ui_BTPSWidget.h"

// The input form of the balloon-tag passage survival design: the schematic,
// the two release sizes with their link, Sc with St or T, and the recapture
// probabilities of alive and dead fish. Fields, names, settings entries and
// checks come from BTPSInputs.
class BTPSWidgetImpl : public StudyWidget, public Ui_BTPSWidget
{
    Q_OBJECT

public:
    explicit BTPSWidgetImpl(ryn::RynSettings* settings, QWidget* parent = nullptr);

    bool validate() override;
    // The fields, with the link and the choice of St or T as switches.
    // The link box and the radio button of St or T, then the fields.

public slots:
    // Rt follows Rc while linked: Rt is disabled and shows Rc's value, and Rc
    // is named "Rc-Rt" so that messages and reports name both.
    virtual void linkCheckBoxToggled(bool linked);

private:
    void connectSwitches();
    void registerFields();
    void bindSwitches();
    void connectFollowers();

    RangeLineEdit* editFor(const QString& key) const;
};

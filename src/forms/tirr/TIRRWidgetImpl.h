#pragma once

#include "forms/StudyWidget.h"
#include "ui_TIRRWidget.h"

// The input form of the transport in-river ratio design: the schematic, the
// two release sizes with their link, the return probability of control fish
// as Sc and P or directly as Sc*P, and the treatment effect T. Fields, names,
// settings entries and checks come from TIRRInputs. The form always opens
// with Sc and P chosen.
class TIRRWidgetImpl : public StudyWidget, public Ui_TIRRWidget
{
    Q_OBJECT

public:
    explicit TIRRWidgetImpl(ryn::RynSettings* settings, QWidget* parent = nullptr);

    bool validate() override;
    // The fields, with the link and the choice of Sc*P as switches.
    // The link box and the mode's radio button (which is not stored), then
    // the fields: Sc*P takes its own text after Sc and P have set it.

public slots:
    // While linked, Rt shows every edit of Rc.
    virtual void r1TextChanged(const QString& text);
    virtual void tTextChanged(const QString& text);
    // Sc*P shows the product of Sc and P with four decimals while no range is
    // set; it keeps its text when a value cannot be read.
    virtual void pTextChanged(const QString& text);
    virtual void s1TextChanged(const QString& text);
    // Rt follows Rc while linked: Rt is disabled and shows Rc's value, and Rc
    // is named "Rc-Rt" so that messages and reports name both.
    virtual void linkCheckBoxToggled(bool linked);

private:
    void connectSwitches();
    void registerFields();
    void connectFollowers();

    RangeLineEdit* editFor(const QString& key) const;
};

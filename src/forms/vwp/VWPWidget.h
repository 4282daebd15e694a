#pragma once

#include "forms/StudyWidget.h"
#include "ui_VWPWidget.h"

// The input form of the virtual-with-a-paired-release design: its nine fields
// sit on the schematic where each input belongs, with two links of the release
// sizes below it. Fields, names, settings entries and checks come from
// VWPInputs.
class VWPWidget : public StudyWidget, public Ui_VWPWidget
{
    Q_OBJECT

public:
    explicit VWPWidget(ryn::RynSettings* settings, QWidget* parent = nullptr);

    bool validate() override;
    // The fields, with the two links as switches.
    // The two link boxes, then the fields.
    bool loadInputs(const StudyInputs& inputs) override;

public slots:
    // R3 follows R2 while linked; R2 is named "R2-R3".
    void linkReleases(bool linked);
    // R2 and R3 follow V1 while linked, which turns the link of R2 and R3 off
    // (its stored state stays); V1 is named "V1-R2-R3".
    void linkAllReleases(bool linked);
    // The followers show every edit of the release they follow.
    void v1Changed(const QString& text);
    void r2Changed(const QString& text);

private:
    void bindLinks();
    void registerFields();
    void applyStoredLinks();
    void connectLinks();

    RangeLineEdit* editFor(const QString& key) const;
};

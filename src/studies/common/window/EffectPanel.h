#pragma once

#include "ui_EffectPanel.h"

#include <QWidget>

namespace ryn {
class RynSettings;
}

// The test whose power the reports and the plot show, for the active design:
// the null values ("St=1.05, S1=0.8"; empty keeps the defaults, St, T and
// Sdam against 1), the level alpha and the sidedness. Each design keeps its
// own in the settings, and design files carry it. The main window keeps the
// panel in a dock and points it at the active design; a run takes the test
// as it stands when the run starts. The line below the inputs says which
// quantities are tested, or in red why the test cannot be made.
class EffectPanel : public QWidget, public Ui_EffectPanel
{
    Q_OBJECT

public:
    // settings must outlive the panel.
    explicit EffectPanel(ryn::RynSettings* settings, QWidget* parent = nullptr);

    // Shows and stores the test of the design of studyType (StudySubWindow's
    // Type); 0 unbinds the inputs and disables the panel.
    void setStudyType(int studyType);
    int studyType() const { return studyType_; }

private:
    void showTest();

    ryn::RynSettings* settings;
    int studyType_ = 0;
};

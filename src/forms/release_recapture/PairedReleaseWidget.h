#pragma once

#include "forms/release_recapture/ReleaseRecaptureWidget.h"

#include <QString>

class TCFinalReachWidgetImpl;
class TCReleaseWidgetImpl;

// The input form of the paired-release design: the treatment and control
// releases with their first-reach survivals and the first station, a reach
// panel per downstream reach (survival, detection probability and proportion
// removed) and the final reach's Lambda. The control release size can follow
// the treatment's. Its field table and checks are PairedReleaseInputs'.
class PairedReleaseWidget : public ReleaseRecaptureWidget
{
    Q_OBJECT

public:
    explicit PairedReleaseWidget(ryn::RynSettings* settings, QWidget* parent = nullptr);

    bool validate() override;
    int preferredWidth() const override;
    int preferredHeight() const override;
    int firstPanelReach() const override { return 2; }

    TCReleaseWidgetImpl* releaseWidget() const { return release; }
    TCFinalReachWidgetImpl* finalReachWidget() const { return finalReach; }

public slots:
    // Links RC to RT (the link box's slot) or unlinks it.
    void linkReleaseSizes(bool rhs);
    // While the releases are linked, RT's text is stored as RC's too.
    void onTreatmentReleaseEditChanged(QString rt);

protected:
    int minimumReaches() const override;
    ReachPanel createReachPanel(int k) override;
    QList<FieldSpec> reachFields(int k) const override;
    int survivalChoiceId() const override;
    int captureChoiceId() const override;
    QList<QWidget*> releaseTabOrder() const override;
    QWidget* finalField() const override;
    QList<FieldSpec> fieldTable(int reaches) const override;
    int numReachesId() const override;
    // The link of the release sizes.

private:
    TCReleaseWidgetImpl* release;
    TCFinalReachWidgetImpl* finalReach;
};

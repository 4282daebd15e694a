#pragma once

#include "forms/release_recapture/ReleaseRecaptureWidget.h"

class FinalReachWidgetImpl;
class ReleaseWidgetImpl;

// The input form of the single-release design: R0 fish released at the top,
// a reach panel per intermediate reach (survival, detection probability,
// proportion removed and a release at the station ending it) and the final
// reach's Lambda. Its field table and checks are SingleReleaseInputs'.
class SingleReleaseWidget : public ReleaseRecaptureWidget
{
    Q_OBJECT

public:
    explicit SingleReleaseWidget(ryn::RynSettings* settings, QWidget* parent = nullptr);

    bool validate() override;
    int preferredWidth() const override;
    int preferredHeight() const override;
    int firstPanelReach() const override { return 1; }

    ReleaseWidgetImpl* releaseWidget() const { return release; }
    FinalReachWidgetImpl* finalReachWidget() const { return finalReach; }

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

private:
    ReleaseWidgetImpl* release;
    FinalReachWidgetImpl* finalReach;
};

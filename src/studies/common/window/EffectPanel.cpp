#include "studies/common/window/EffectPanel.h"

#include "forms/StudyWidget.h"
#include "forms/core/FieldHelp.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "framework/window/MessageLine.h"
#include "studies/design/Design.h"
#include "studies/design/DesignSettings.h"

#include <QList>
#include <QPair>

EffectPanel::EffectPanel(ryn::RynSettings* settings, QWidget* parent)
    : QWidget(parent)
    , settings(settings)
{
    setupUi(this);
    const QList<QPair<QWidget*, const char*>> helped = {
        {nullValuesEdit, "nullValues"}, {alphaEdit, "alpha"}, {sidedCombo, "sided"}};
    for (const auto& [widget, key] : helped)
        StudyWidget::applyFieldHelp(widget, fieldhelp::effectTopic, QLatin1String(key));
    // The binding stores what is typed; the line below reads it back.
    connect(nullValuesEdit, &QLineEdit::textChanged, this, &EffectPanel::showTest);
    connect(alphaEdit, &QLineEdit::textChanged, this, &EffectPanel::showTest);
    connect(sidedCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &EffectPanel::showTest);
    setStudyType(0);
}

void EffectPanel::setStudyType(int studyType)
{
    const DesignInfo* info = designs::ofStudyType(studyType);
    studyType_ = info ? studyType : 0;
    for (QWidget* w : {static_cast<QWidget*>(nullValuesEdit), static_cast<QWidget*>(alphaEdit),
                       static_cast<QWidget*>(sidedCombo)})
        settings->unbindWidget(w);
    setEnabled(info != nullptr);
    if (info) {
        settings->bindArrayWidget(nullValuesEdit, QVSettingsKeys::EffectNullValues, studyType,
                                  false);
        settings->bindArrayWidget(alphaEdit, QVSettingsKeys::EffectAlpha, studyType, false);
        settings->bindArrayWidget(sidedCombo, QVSettingsKeys::EffectSided, studyType, false);
    }
    showTest();
}

namespace {

// The ratio each design is built to estimate, tested against 1 unless told
// otherwise; the single release has none.
QStringList ratioOf(Design::Kind kind)
{
    switch (kind) {
    case Design::PairedRelease:
        return {QStringLiteral("St")};
    case Design::TIRR:
    case Design::BTPS:
        return {QStringLiteral("T")};
    case Design::VWP:
        return {QStringLiteral("Sdam")};
    case Design::SingleRelease:
        break;
    }
    return {};
}

} // namespace

// The test shown, read as a run reads it from the store (the inputs may
// tell before their bindings have stored what they show).
void EffectPanel::showTest()
{
    const DesignInfo* info = designs::ofStudyType(studyType_);
    if (!info) {
        ryn::showMessage(statusLabel, tr("Open a design to set the test of its effect."));
        return;
    }
    const ryn::RynSettings* store = settings;
    const EffectTest test =
        DesignSettings::storedEffect(info->kind, [this, store](int id, int index) -> QVariant {
            switch (id) {
            case QVSettingsKeys::EffectNullValues:
                return nullValuesEdit->text();
            case QVSettingsKeys::EffectAlpha:
                return alphaEdit->text();
            case QVSettingsKeys::EffectSided:
                return sidedCombo->currentIndex();
            default:
                return store->arrayValue(id, index);
            }
        });
    const QString refusal = test.error();
    if (!refusal.isNull()) {
        ryn::showMessage(statusLabel, refusal, true);
        return;
    }
    const QString tested = test.describeNullValues(ratioOf(info->kind));
    ryn::showMessage(statusLabel,
                     tested.isEmpty()
                         ? tr("No quantity is tested: give a null value, as in S1=0.8.")
                         : tr("Power of %1.").arg(tested));
}

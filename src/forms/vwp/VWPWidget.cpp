#include "forms/vwp/VWPWidget.h"

#include "forms/core/VWPInputs.h"
#include "forms/range/RangeLineEdit.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"

#include <QMessageBox>
#include <QSignalBlocker>

#include <stdexcept>

VWPWidget::VWPWidget(ryn::RynSettings* settings, QWidget* parent)
    : StudyWidget(settings, parent)
{
    quorvel::initResources();
    auto* content = new QWidget;
    setupUi(content);
    setWidget(content);
    setWidgetResizable(true);
    setDesignTitle(VWPInputs::title);

    bindLinks();
    registerFields();
    registerSwitch(VWPInputs::linkReleases, linkReleasesCheckBox);
    registerSwitch(VWPInputs::linkAllReleases, linkAllReleasesCheckBox);
    applyStoredLinks();
    connectLinks();
}

void VWPWidget::bindLinks()
{
    settings()->bindWidget(linkReleasesCheckBox, QVSettingsKeys::VwpLinkReleases, false);
    settings()->bindWidget(linkAllReleasesCheckBox, QVSettingsKeys::VwpLinkAllReleases, false);
}

void VWPWidget::registerFields()
{
    for (const FieldSpec& row : VWPInputs::fieldTable()) {
        RangeLineEdit* edit = editFor(row.key);
        connect(edit, &RangeLineEdit::rangeAlreadySet, this, [this](const QString& message) {
            QMessageBox::warning(this, QStringLiteral("Quorvel"), message);
        });
        registerField(edit, row);
    }
}

void VWPWidget::applyStoredLinks()
{
    if (linkAllReleasesCheckBox->isChecked())
        linkAllReleases(true);
    else
        linkReleases(linkReleasesCheckBox->isChecked());
}

void VWPWidget::connectLinks()
{
    connect(linkReleasesCheckBox, &QCheckBox::toggled, this, &VWPWidget::linkReleases);
    connect(linkAllReleasesCheckBox, &QCheckBox::toggled, this, &VWPWidget::linkAllReleases);
    connect(v1Edit, &QLineEdit::textChanged, this, &VWPWidget::v1Changed);
    connect(r2Edit, &QLineEdit::textChanged, this, &VWPWidget::r2Changed);
}

bool VWPWidget::validate()
{
    return passes(VWPInputs::firstIllegal(inputs()), VWPInputs::title);
}

// Linking all three releases unchecks the link of R2 and R3 without storing
// it; that link is set while the other is off, and its state stored even when
// its box shows it already, so that the store holds what the form shows.
bool VWPWidget::loadInputs(const StudyInputs& inputs)
{
    if (!fitsFields(inputs))
        return false;
    releaseRange();
    const bool all = inputs.switches.value(VWPInputs::linkAllReleases, false);
    linkAllReleasesCheckBox->setChecked(false);
    linkReleasesCheckBox->setChecked(!all && inputs.switches.value(VWPInputs::linkReleases, false));
    settings()->settingChanged(QVSettingsKeys::VwpLinkReleases);
    linkAllReleasesCheckBox->setChecked(all);
    loadTexts(inputs);
    return true;
}

void VWPWidget::linkReleases(bool linked)
{
    const QSignalBlocker r2Blocker(r2Edit);
    const QSignalBlocker r3Blocker(r3Edit);
    linkFollowers(r2Edit, QVSettingsKeys::VwpR2, {{r3Edit, QVSettingsKeys::VwpR3}}, linked,
                  linked ? VWPInputs::linkedR2Name : VWPInputs::r2Key);
}

void VWPWidget::linkAllReleases(bool linked)
{
    const QSignalBlocker linkBlocker(linkReleasesCheckBox);
    const QSignalBlocker v1Blocker(v1Edit);
    const QSignalBlocker r2Blocker(r2Edit);
    const QSignalBlocker r3Blocker(r3Edit);
    linkReleasesCheckBox->setEnabled(!linked);
    linkReleasesCheckBox->setChecked(false);
    linkFollowers(v1Edit, QVSettingsKeys::VwpV1,
                  {{r2Edit, QVSettingsKeys::VwpR2}, {r3Edit, QVSettingsKeys::VwpR3}}, linked,
                  linked ? VWPInputs::linkedV1Name : VWPInputs::v1Key);
    // The link of R2 and R3 is off now, and so is its name.
    r2Edit->setName(VWPInputs::r2Key.toUtf8().constData());
}

void VWPWidget::v1Changed(const QString& text)
{
    if (!linkAllReleasesCheckBox->isChecked())
        return;
    r2Edit->setText(text);
    r3Edit->setText(text);
}

void VWPWidget::r2Changed(const QString& text)
{
    if (linkReleasesCheckBox->isChecked())
        r3Edit->setText(text);
}

RangeLineEdit* VWPWidget::editFor(const QString& key) const
{
    using namespace VWPInputs;
    const QList<QPair<QString, RangeLineEdit*>> edits = {
        {v1Key, v1Edit},
        {r2Key, r2Edit},
        {r3Key, r3Edit},
        {sDamKey, sDamEdit},
        {sPrime11Key, sPrime11Edit},
        {s12Key, s12Edit},
        {p1Key, p1Edit},
        {p2Key, p2Edit},
        {lambdaKey, lambdaEdit},
    };
    for (const auto& [name, edit] : edits) {
        if (name == key)
            return edit;
    }
    throw std::invalid_argument("VWPWidget: no field " + key.toStdString());
}

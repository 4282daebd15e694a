#include "forms/tirr/TIRRWidgetImpl.h"

#include "forms/core/TIRRInputs.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"

#include <QMessageBox>

#include <stdexcept>

TIRRWidgetImpl::TIRRWidgetImpl(ryn::RynSettings* settings, QWidget* parent)
    : StudyWidget(settings, parent)
{
    quorvel::initResources();
    auto* content = new QWidget;
    setupUi(content);
    setWidget(content);
    setWidgetResizable(true);
    setDesignTitle(TIRRInputs::title);

    connectSwitches();
    registerFields();
    settings->bindWidget(linkCheckBox, QVSettingsKeys::TirrLinkReleases, false);
    registerSwitch(TIRRInputs::linkReleases, linkCheckBox);
    registerSwitch(TIRRInputs::useTheta, thetaRadio, s1pRadio);
    connectFollowers();
}

// Choosing a mode turns the other mode's fields off; a range in a field turned
// off is released with the "Disabling" box.
void TIRRWidgetImpl::connectSwitches()
{
    connect(thetaRadio, &QRadioButton::toggled, thetaEdit, &RangeLineEdit::setRangeEnabled);
    connect(s1pRadio, &QRadioButton::toggled, pEdit, &RangeLineEdit::setRangeEnabled);
    connect(s1pRadio, &QRadioButton::toggled, s1Edit, &RangeLineEdit::setRangeEnabled);
    connect(linkCheckBox, &QCheckBox::toggled, this, &TIRRWidgetImpl::linkCheckBoxToggled);
}

void TIRRWidgetImpl::registerFields()
{
    for (const FieldSpec& row : TIRRInputs::fieldTable()) {
        RangeLineEdit* edit = editFor(row.key);
        connect(edit, &RangeLineEdit::rangeAlreadySet, this, [this](const QString& message) {
            QMessageBox::warning(this, QStringLiteral("Quorvel"), message);
        });
        registerField(edit, row);
    }
}

void TIRRWidgetImpl::connectFollowers()
{
    connect(r1Edit, &QLineEdit::textChanged, this, &TIRRWidgetImpl::r1TextChanged);
    connect(s1Edit, &QLineEdit::textChanged, this, &TIRRWidgetImpl::s1TextChanged);
    connect(pEdit, &QLineEdit::textChanged, this, &TIRRWidgetImpl::pTextChanged);
    // Sc*P shows the product of the stored Sc and P from the start.
    if (s1pRadio->isChecked())
        pTextChanged(pEdit->text());
}

bool TIRRWidgetImpl::validate()
{
    return passes(TIRRInputs::firstIllegal(inputs()), TIRRInputs::title);
}

void TIRRWidgetImpl::r1TextChanged(const QString& text)
{
    if (linkCheckBox->isChecked())
        r2Edit->setText(text);
}

void TIRRWidgetImpl::tTextChanged(const QString&) {}

void TIRRWidgetImpl::pTextChanged(const QString&)
{
    if (!rangeSpec()->ownerName().isNull())
        return;
    try {
        const double product = s1Edit->valueAt(0) * pEdit->valueAt(0);
        thetaEdit->setText(QString::number(product, 'f', 4));
    } catch (const QString&) {
        // A value out of bounds: the product is not updated.
    }
}

void TIRRWidgetImpl::s1TextChanged(const QString& text)
{
    pTextChanged(text);
}

void TIRRWidgetImpl::linkCheckBoxToggled(bool linked)
{
    linkFollowers(r1Edit, QVSettingsKeys::TirrRc, {{r2Edit, QVSettingsKeys::TirrRt}}, linked,
                  linked ? TIRRInputs::linkedRcName : TIRRInputs::rcKey);
}

RangeLineEdit* TIRRWidgetImpl::editFor(const QString& key) const
{
    using namespace TIRRInputs;
    const QList<QPair<QString, RangeLineEdit*>> edits = {
        {rcKey, r1Edit}, {rtKey, r2Edit},       {scKey, s1Edit},
        {pKey, pEdit},   {thetaKey, thetaEdit}, {tKey, tauEdit},
    };
    for (const auto& [name, edit] : edits) {
        if (name == key)
            return edit;
    }
    throw std::invalid_argument("TIRRWidgetImpl: no field " + key.toStdString());
}

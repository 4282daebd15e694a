#include "forms/btps/BTPSWidgetImpl.h"

#include "forms/core/BTPSInputs.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"

#include <QMessageBox>

#include <stdexcept>

BTPSWidgetImpl::BTPSWidgetImpl(ryn::RynSettings* settings, QWidget* parent)
    : StudyWidget(settings, parent)
{
    quorvel::initResources();
    auto* content = new QWidget;
    setupUi(content);
    setWidget(content);
    setWidgetResizable(true);
    setDesignTitle(BTPSInputs::title);

    connectSwitches();
    registerFields();
    bindSwitches();
    registerSwitch(BTPSInputs::linkReleases, linkCheckBox);
    registerSwitch(BTPSInputs::useSt, scstRadio, sctRadio, true);
    connectFollowers();
}

// The radio buttons turn St and T on and off; a range in the field turned off
// is released with the "Disabling" box.
void BTPSWidgetImpl::connectSwitches()
{
    connect(scstRadio, &QRadioButton::toggled, stEdit, &RangeLineEdit::setRangeEnabled);
    connect(sctRadio, &QRadioButton::toggled, tEdit, &RangeLineEdit::setRangeEnabled);
    connect(linkCheckBox, &QCheckBox::toggled, this, &BTPSWidgetImpl::linkCheckBoxToggled);
}

void BTPSWidgetImpl::registerFields()
{
    for (const FieldSpec& row : BTPSInputs::fieldTable()) {
        RangeLineEdit* edit = editFor(row.key);
        connect(edit, &RangeLineEdit::rangeAlreadySet, this, [this](const QString& message) {
            QMessageBox::warning(this, QStringLiteral("Quorvel"), message);
        });
        registerField(edit, row);
    }
}

// The stored states come back; a link stored on runs its slot now. Should the
// store hold neither mode, St is chosen.
void BTPSWidgetImpl::bindSwitches()
{
    settings()->bindWidget(scstRadio, QVSettingsKeys::BtpsUseSt, false);
    settings()->bindWidget(sctRadio, QVSettingsKeys::BtpsUseT, false);
    settings()->bindWidget(linkCheckBox, QVSettingsKeys::BtpsLinkReleases, false);
    if (!scstRadio->isChecked() && !sctRadio->isChecked())
        scstRadio->setChecked(true);
    stEdit->setRangeEnabled(scstRadio->isChecked());
    tEdit->setRangeEnabled(sctRadio->isChecked());
}

// While linked, Rt shows every later edit of Rc too.
void BTPSWidgetImpl::connectFollowers()
{
    connect(rcEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (linkCheckBox->isChecked())
            rtEdit->setText(text);
    });
}

bool BTPSWidgetImpl::validate()
{
    return passes(BTPSInputs::firstIllegal(inputs()), BTPSInputs::title);
}

void BTPSWidgetImpl::linkCheckBoxToggled(bool linked)
{
    linkFollowers(rcEdit, QVSettingsKeys::BtpsRc, {{rtEdit, QVSettingsKeys::BtpsRt}}, linked,
                  linked ? BTPSInputs::linkedRcName : BTPSInputs::rcKey);
}

RangeLineEdit* BTPSWidgetImpl::editFor(const QString& key) const
{
    using namespace BTPSInputs;
    const QList<QPair<QString, RangeLineEdit*>> edits = {
        {rcKey, rcEdit}, {rtKey, rtEdit}, {scKey, scEdit}, {stKey, stEdit},
        {tKey, tEdit},   {paKey, paEdit}, {pdKey, pdEdit},
    };
    for (const auto& [name, edit] : edits) {
        if (name == key)
            return edit;
    }
    throw std::invalid_argument("BTPSWidgetImpl: no field " + key.toStdString());
}

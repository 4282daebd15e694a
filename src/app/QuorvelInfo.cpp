#include "app/QuorvelInfo.h"

#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"

QuorvelInfo::QuorvelInfo(ryn::RynSettings* settings, QWidget* parent)
    : QDialog(parent)
{
    setupUi(this);
    versionLabel_->setText(settings->stringValue(QVSettingsKeys::ProgramVersion));
    connect(buttonOk, &QPushButton::clicked, this, &QDialog::accept);
}

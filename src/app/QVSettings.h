#pragma once

#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"

// The settings store of this program: the table of QVSettingsKeys registered
// in the store, with the range fields' binding. The one store of the program is
// reached through instance().
class QVSettings : public ryn::RynSettings, public QVSettingsKeys
{
    Q_OBJECT

public:
    // The program's store, created on first use and destroyed when the
    // application object is.
    static QVSettings* instance();

    explicit QVSettings(QObject* parent = nullptr);

    // Hands a stored range text to a range field's range-aware setText first,
    // so that the field which held the range takes it again.
    void bind(QWidget* w, int mappedId, const QVariant& value, bool disconnectFirst) override;
};

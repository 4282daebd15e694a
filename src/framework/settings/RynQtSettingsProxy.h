#pragma once

#include "framework/settings/RynSettingsProxy.h"

#include <QSettings>

namespace ryn {

// The per-user settings store of the platform in its native format, located by
// the organisation and application names of the application object (on Linux
// an INI file under the user's configuration directory).
class RynQtSettingsProxy : public RynSettingsProxy
{
public:
    RynQtSettingsProxy() = default;

    void setValue(const QString& key, const QVariant& value) override;
    QVariant value(const QString& key, const QVariant& defaultValue) const override;
    int beginReadArray(const QString& prefix) override;
    void beginWriteArray(const QString& prefix, int size) override;
    void setArrayIndex(int i) override;
    void endArray() override;
    void remove(const QString& key) override;
    QStringList childKeys(const QString& group) override;

private:
    QSettings settings;
};

} // namespace ryn

#include "framework/settings/RynQtSettingsProxy.h"

namespace ryn {

void RynQtSettingsProxy::setValue(const QString& key, const QVariant& value)
{
    settings.setValue(key, value);
}

QVariant RynQtSettingsProxy::value(const QString& key, const QVariant& defaultValue) const
{
    return settings.value(key, defaultValue);
}

int RynQtSettingsProxy::beginReadArray(const QString& prefix)
{
    return settings.beginReadArray(prefix);
}

void RynQtSettingsProxy::beginWriteArray(const QString& prefix, int size)
{
    settings.beginWriteArray(prefix, size);
}

void RynQtSettingsProxy::setArrayIndex(int i)
{
    settings.setArrayIndex(i);
}

void RynQtSettingsProxy::endArray()
{
    settings.endArray();
}

void RynQtSettingsProxy::remove(const QString& key)
{
    settings.remove(key);
}

QStringList RynQtSettingsProxy::childKeys(const QString& group)
{
    settings.beginGroup(group);
    const QStringList keys = settings.childKeys();
    settings.endGroup();
    return keys;
}

} // namespace ryn

#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace ryn {

// A persistence back end of the settings store: somewhere values can be kept
// under text keys between runs of the program.
class RynSettingsProxy
{
public:
    virtual ~RynSettingsProxy() = default;

    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual QVariant value(const QString& key, const QVariant& defaultValue) const = 0;
    virtual int beginReadArray(const QString& prefix) = 0;
    virtual void beginWriteArray(const QString& prefix, int size) = 0;
    virtual void setArrayIndex(int i) = 0;
    virtual void endArray() = 0;
    virtual void remove(const QString& key) = 0;
    // The keys stored under group ("key" of the array elements "key/i").
    virtual QStringList childKeys(const QString& group) = 0;
};

} // namespace ryn

#pragma once

#include "framework/settings/RynSettingsProxy.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

class QSignalMapper;
class QWidget;

namespace ryn {

// The program's persistent settings. Every setting is a number (its id) with a
// text key and an optional default; values live in a back end (by default the
// platform's per-user settings store). Input widgets bound to an id show the
// stored value when bound and store every change at once, so there is no save
// step. Element i of a per-reach setting k is bound as k * ArrayStride + i and
// stored under "key/i". A setting may be registered with the values it
// accepts: a stored value (or array element) outside them reads as the
// default, and refusedValues() names it.
class RynSettings : public QObject
{
    Q_OBJECT

public:
    static constexpr int ArrayStride = 1000000;

    explicit RynSettings(QObject* parent = nullptr);
    ~RynSettings() override;

    // Which stored values a setting accepts; an empty one accepts all.
    using Acceptance = std::function<bool(const QVariant& stored)>;

    // Invalid for an unregistered id; otherwise the stored value as the back end
    // holds it (never converted to a declared type), or the default when
    // nothing is stored or the setting does not accept what is.
    QVariant value(int id) const;
    QVariant arrayValue(int id, int index) const;
    QString stringValue(int id) const;
    void setValue(int id, const QVariant& v);
    // Index -1 addresses the plain setting.
    void setArrayValue(int id, int index, const QVariant& v);
    // Stores the absolute path of the directory holding filePath.
    void storeDirectoryOf(int id, const QString& filePath);
    RynSettingsProxy& proxyFor(int id) const;

    // Key text of id; empty when id is not registered.
    QString key(int id) const;
    // The widget bound under mappedId, or null.
    QWidget* boundWidget(int mappedId) const;
    // Spares id when removeStoredValues(false) clears the store.
    void keepStoredValue(int id);

    // The keys ("precision_est", "sr_s/3") whose stored values their settings
    // do not accept.
    QStringList refusedValues() const;
    // Replaces each of them by its default (removes it when there is none)
    // and answers their keys.
    QStringList resetRefusedValues();

    // Stores the default of every setting that has one and nothing stored.
    virtual void storeDefaults();
    virtual void removeStoredValues(bool all);
    virtual void bindArrayWidget(QWidget* w, int id, int index, bool disconnectFirst);
    virtual void bind(QWidget* w, int mappedId, const QVariant& value, bool disconnectFirst);
    virtual void bindWidget(QWidget* w, int id, bool disconnectFirst);
    // Forgets w's binding; its signal connections stay but store nothing.
    virtual void unbindWidget(QWidget* w);

public slots:
    virtual void settingChanged(int mappedId);

public:
    virtual void registerKey(int id, const QString& key, const QVariant& defaultValue,
                             const Acceptance& accepts = Acceptance());

private:
    QString elementKey(int id, int index) const;

    QMap<int, QString> keys;
    QMap<int, QVariant> defaults;
    QMap<int, Acceptance> acceptances;
    QVector<int> keepList;
    QSignalMapper* mapper;
    QMap<int, RynSettingsProxy*> idBackEnds;
    std::vector<std::unique_ptr<RynSettingsProxy>> backEnds;
};

} // namespace ryn

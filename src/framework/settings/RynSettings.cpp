#include "framework/settings/RynSettings.h"

#include "framework/settings/RynQtSettingsProxy.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalMapper>
#include <QSpinBox>

namespace ryn {

namespace {

// The widget kinds a setting can be bound to, recognised by exact class name:
// a subclass is bound only when it is named here, as the program's range field
// is. Naming the class, rather than linking to it, keeps the store free of the
// forms; stored settings rely on the name.
enum class BoundKind { Text, Check, Choice, Count, Other };

BoundKind boundKind(const QWidget* w)
{
    const QByteArray name = w->metaObject()->className();
    if (name == "QLineEdit" || name == "RangeLineEdit")
        return BoundKind::Text;
    if (name == "QCheckBox" || name == "QRadioButton")
        return BoundKind::Check;
    if (name == "QComboBox")
        return BoundKind::Choice;
    if (name == "QSpinBox")
        return BoundKind::Count;
    return BoundKind::Other;
}

} // namespace

RynSettings::RynSettings(QObject* parent)
    : QObject(parent)
    , mapper(new QSignalMapper(this))
{
    connect(mapper, &QSignalMapper::mappedInt, this, &RynSettings::settingChanged);
    backEnds.push_back(std::make_unique<RynQtSettingsProxy>());
}

RynSettings::~RynSettings() = default;

QVariant RynSettings::value(int id) const
{
    return arrayValue(id, -1);
}

QVariant RynSettings::arrayValue(int id, int index) const
{
    if (!keys.contains(id))
        return QVariant();
    const QVariant fallback = defaults.value(id);
    const QString key = elementKey(id, index);
    if (key.isEmpty())
        return fallback;
    const QVariant stored = proxyFor(id).value(key, QVariant());
    if (!stored.isValid())
        return fallback;
    const Acceptance accepts = acceptances.value(id);
    return !accepts || accepts(stored) ? stored : fallback;
}

QStringList RynSettings::refusedValues() const
{
    QStringList refused;
    for (auto it = acceptances.cbegin(); it != acceptances.cend(); ++it) {
        const QString key = keys.value(it.key());
        RynSettingsProxy& proxy = proxyFor(it.key());
        QStringList stored = {key};
        for (const QString& element : proxy.childKeys(key))
            stored << key + QLatin1Char('/') + element;
        for (const QString& name : stored) {
            const QVariant value = proxy.value(name, QVariant());
            if (value.isValid() && !it.value()(value))
                refused << name;
        }
    }
    return refused;
}

QStringList RynSettings::resetRefusedValues()
{
    const QStringList refused = refusedValues();
    for (const QString& name : refused) {
        const int id = keys.key(name.section(QLatin1Char('/'), 0, 0));
        const QVariant fallback = defaults.value(id);
        if (fallback.isValid())
            proxyFor(id).setValue(name, fallback);
        else
            proxyFor(id).remove(name);
    }
    return refused;
}

QString RynSettings::stringValue(int id) const
{
    return value(id).toString();
}

void RynSettings::setValue(int id, const QVariant& v)
{
    setArrayValue(id, -1, v);
}

void RynSettings::setArrayValue(int id, int index, const QVariant& v)
{
    const QString key = elementKey(id, index);
    if (!key.isEmpty())
        proxyFor(id).setValue(key, v);
}

void RynSettings::storeDirectoryOf(int id, const QString& filePath)
{
    setValue(id, QFileInfo(filePath).absolutePath());
}

RynSettingsProxy& RynSettings::proxyFor(int id) const
{
    return *idBackEnds.value(id, backEnds.front().get());
}

QString RynSettings::key(int id) const
{
    return keys.value(id);
}

QWidget* RynSettings::boundWidget(int mappedId) const
{
    return static_cast<QWidget*>(mapper->mapping(mappedId));
}

void RynSettings::keepStoredValue(int id)
{
    if (!keepList.contains(id))
        keepList.append(id);
}

void RynSettings::storeDefaults()
{
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        const QString key = keys.value(it.key());
        RynSettingsProxy& proxy = proxyFor(it.key());
        if (!key.isEmpty() && !proxy.value(key, QVariant()).isValid())
            proxy.setValue(key, it.value());
    }
}

// Removing a key also removes its array elements "key/i".
void RynSettings::removeStoredValues(bool all)
{
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (!all && keepList.contains(it.key()))
            continue;
        if (!it.value().isEmpty())
            proxyFor(it.key()).remove(it.value());
    }
    storeDefaults();
}

void RynSettings::bindArrayWidget(QWidget* w, int id, int index, bool disconnectFirst)
{
    if (w)
        bind(w, id * ArrayStride + index, arrayValue(id, index), disconnectFirst);
}

// The change signal is connected before the widget is given the value, so a
// widget whose state changes writes the value it now shows back to the store.
void RynSettings::bind(QWidget* w, int mappedId, const QVariant& value, bool disconnectFirst)
{
    if (!w)
        return;
    // Cutting the widget's connections before mapping it keeps the mapper's own
    // watch on the widget's destruction, so a deleted widget leaves no mapping.
    if (disconnectFirst)
        w->disconnect();
    mapper->setMapping(w, mappedId);

    const auto map = qOverload<>(&QSignalMapper::map);
    switch (boundKind(w)) {
    case BoundKind::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textChanged, mapper, map, Qt::UniqueConnection);
            edit->setText(value.toString());
        }
        break;
    case BoundKind::Check:
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            connect(button, &QAbstractButton::toggled, mapper, map, Qt::UniqueConnection);
            button->setChecked(value.toBool());
        }
        break;
    case BoundKind::Choice:
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), mapper, map,
                    Qt::UniqueConnection);
            combo->setCurrentIndex(value.toInt());
        }
        break;
    case BoundKind::Count:
        if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            connect(spin, qOverload<int>(&QSpinBox::valueChanged), mapper, map,
                    Qt::UniqueConnection);
            spin->setValue(value.toInt());
        }
        break;
    case BoundKind::Other:
        break;
    }
}

void RynSettings::bindWidget(QWidget* w, int id, bool disconnectFirst)
{
    if (w)
        bind(w, id, value(id), disconnectFirst);
}

void RynSettings::unbindWidget(QWidget* w)
{
    if (w)
        mapper->removeMappings(w);
}

// Mapped ids above ArrayStride address element mappedId % ArrayStride of
// setting mappedId / ArrayStride; ArrayStride itself is a plain id.
void RynSettings::settingChanged(int mappedId)
{
    int id = mappedId;
    int index = -1;
    if (mappedId > ArrayStride) {
        id = mappedId / ArrayStride;
        index = mappedId % ArrayStride;
    }
    auto* w = qobject_cast<QWidget*>(mapper->mapping(mappedId));
    if (!w)
        return;

    QVariant shown;
    switch (boundKind(w)) {
    case BoundKind::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            shown = edit->text();
        break;
    case BoundKind::Check:
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            shown = button->isChecked();
        break;
    case BoundKind::Choice:
        if (auto* combo = qobject_cast<QComboBox*>(w))
            shown = combo->currentIndex();
        break;
    case BoundKind::Count:
        if (auto* spin = qobject_cast<QSpinBox*>(w))
            shown = spin->value();
        break;
    case BoundKind::Other:
        break;
    }
    if (shown.isValid())
        setArrayValue(id, index, shown);
}

void RynSettings::registerKey(int id, const QString& key, const QVariant& defaultValue,
                              const Acceptance& accepts)
{
    keys[id] = key;
    if (accepts)
        acceptances[id] = accepts;
    else
        acceptances.remove(id);
    idBackEnds[id] = backEnds.front().get();
    if (defaultValue.isNull())
        defaults.remove(id);
    else
        defaults[id] = defaultValue;
}

QString RynSettings::elementKey(int id, int index) const
{
    const QString key = keys.value(id);
    if (index < 0 || key.isEmpty())
        return key;
    return key + QLatin1Char('/') + QString::number(index);
}

} // namespace ryn

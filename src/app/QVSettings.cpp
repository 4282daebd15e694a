#include "app/QVSettings.h"

#include "forms/range/RangeLineEdit.h"

#include <QCoreApplication>

#include <memory>

namespace {

std::unique_ptr<QVSettings>& storeInstance()
{
    static std::unique_ptr<QVSettings> store;
    return store;
}

void destroyStoreInstance()
{
    storeInstance().reset();
}

} // namespace

QVSettings* QVSettings::instance()
{
    std::unique_ptr<QVSettings>& store = storeInstance();
    if (!store) {
        store = std::make_unique<QVSettings>();
        // Closes the store, and so writes it out, while the application object
        // that names it still exists.
        if (QCoreApplication::instance())
            qAddPostRoutine(destroyStoreInstance);
    }
    return store.get();
}

QVSettings::QVSettings(QObject* parent)
    : RynSettings(parent)
{
    for (const Entry& entry : entries())
        registerKey(entry.id, QString::fromLatin1(entry.key), entry.defaultValue,
                    [rule = entry.rule](const QVariant& stored) { return accepts(rule, stored); });
}

void QVSettings::bind(QWidget* w, int mappedId, const QVariant& value, bool disconnectFirst)
{
    auto* field = qobject_cast<RangeLineEdit*>(w);
    if (field && qstrcmp(w->metaObject()->className(), "RangeLineEdit") == 0 &&
        value.toString().contains(QLatin1Char(':'))) {
        // Unmapped first, so that the text cannot be stored under an id the
        // field was bound to before.
        unbindWidget(w);
        field->setText(value.toString());
        // The field may have refused the range (another field holds it); the
        // base binding then keeps what the field shows.
        RynSettings::bind(w, mappedId, field->text(), disconnectFirst);
        return;
    }
    RynSettings::bind(w, mappedId, value, disconnectFirst);
}

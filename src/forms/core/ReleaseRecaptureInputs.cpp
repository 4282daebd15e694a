#include "forms/core/ReleaseRecaptureInputs.h"

namespace ReleaseRecaptureInputs {

int choiceOf(const StudyInputs& inputs, const QString& choice, int k)
{
    const QVector<int> choices = inputs.choices.value(choice);
    const int j = k < choices.size() ? choices[k] : k;
    return j >= 0 && j <= k ? j : k;
}

QVector<int> owners(const StudyInputs& inputs, const QString& choice, int panels)
{
    QVector<int> result;
    for (int k = 0; k < panels; ++k) {
        const int j = choiceOf(inputs, choice, k);
        result.append(j == k ? k : result[j]);
    }
    return result;
}

QVector<int> ownChoices(int panels)
{
    QVector<int> choices;
    for (int k = 0; k < panels; ++k)
        choices.append(k);
    return choices;
}

QStringList panelKeys(int panels, QString (*key)(int))
{
    QStringList keys;
    for (int k = 0; k < panels; ++k)
        keys << key(k);
    return keys;
}

void applySharing(StudyInputs& inputs, const QString& choice, const QStringList& keys)
{
    for (int k = 0; k < keys.size(); ++k) {
        if (choiceOf(inputs, choice, k) == k)
            inputs.field(keys[k]).enabled = true;
        else
            inputs.disableField(keys[k]);
    }
}

int firstPointFailing(const StudyInputs& inputs, const std::function<bool(int)>& holds)
{
    for (int i = 0; i < inputs.numPoints(); ++i) {
        try {
            if (!holds(i))
                return i;
        } catch (const QString&) {
        }
    }
    return -1;
}

QString derivedKey(const StudyInputs& inputs, const QStringList& keys, const QString& fallback)
{
    for (const QString& key : keys)
        if (inputs.holdsRange(key))
            return key;
    return fallback;
}

} // namespace ReleaseRecaptureInputs

#include "ReferenceCases.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>

namespace quorvel::test {

namespace {

QJsonArray loadCases()
{
    QFile file(QStringLiteral(QUORVEL_TEST_DATA_DIR "/reference_cases.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << file.fileName().toStdString();
        return {};
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        ADD_FAILURE() << "reference cases: " << error.errorString().toStdString();
        return {};
    }
    return document.object().value(QStringLiteral("cases")).toArray();
}

} // namespace

std::vector<QJsonObject> referenceCases(const QString& design)
{
    static const QJsonArray cases = loadCases();
    std::vector<QJsonObject> selected;
    for (const QJsonValue& value : cases) {
        const QJsonObject object = value.toObject();
        if (design.isEmpty() || object.value(QStringLiteral("design")).toString() == design)
            selected.push_back(object);
    }
    return selected;
}

QJsonObject referenceCase(const QString& id)
{
    for (const QJsonObject& object : referenceCases())
        if (object.value(QStringLiteral("id")).toString() == id)
            return object;
    ADD_FAILURE() << "no reference case " << id.toStdString();
    return {};
}

std::vector<double> toDoubles(const QJsonValue& array)
{
    std::vector<double> values;
    for (const QJsonValue& value : array.toArray())
        values.push_back(value.toDouble());
    return values;
}

std::vector<int> toInts(const QJsonValue& array)
{
    std::vector<int> values;
    for (const QJsonValue& value : array.toArray())
        values.push_back(value.toInt());
    return values;
}

} // namespace quorvel::test

#include "studies/release_recapture/ReleaseRecaptureColumns.h"

#include <QMap>
#include <QRegularExpression>

namespace ReleaseRecaptureColumns {

namespace {

// A numbered field name: its letter and its number ("S3" -> "S", "3").
bool splitNumbered(const QString& fieldName, QString* letter, QString* number)
{
    static const QRegularExpression numbered(QStringLiteral("^([A-Z])([0-9]+)$"));
    const QRegularExpressionMatch match = numbered.match(fieldName);
    if (!match.hasMatch())
        return false;
    *letter = match.captured(1);
    *number = match.captured(2);
    return true;
}

} // namespace

QStringList singleRelease(const QString& fieldName)
{
    if (fieldName == QLatin1String("Lambda"))
        return {QStringLiteral("Final")};
    QString letter;
    QString number;
    if (splitNumbered(fieldName, &letter, &number) &&
        (letter == QLatin1String("R") || letter == QLatin1String("S") ||
         letter == QLatin1String("P")))
        return {fieldName};
    return {};
}

QStringList pairedRelease(const QString& fieldName)
{
    static const QMap<QString, QStringList> named = {
        {QStringLiteral("RT"), {QStringLiteral("Rt")}},
        {QStringLiteral("Rt"), {QStringLiteral("Rt")}},
        {QStringLiteral("RC"), {QStringLiteral("Rc")}},
        {QStringLiteral("Rc"), {QStringLiteral("Rc")}},
        {QStringLiteral("Rt-Rc"), {QStringLiteral("Rc"), QStringLiteral("Rt")}},
        {QStringLiteral("ST"), {QStringLiteral("St")}},
        {QStringLiteral("SC"), {QStringLiteral("Sc")}},
        {QStringLiteral("St"), {QStringLiteral("St")}},
        {QStringLiteral("Sc"), {QStringLiteral("Sc")}},
        {QStringLiteral("Lambda"), {QStringLiteral("FinalC"), QStringLiteral("FinalT")}},
    };
    if (named.contains(fieldName))
        return named.value(fieldName);
    QString letter;
    QString number;
    if (splitNumbered(fieldName, &letter, &number) &&
        (letter == QLatin1String("S") || letter == QLatin1String("P")))
        return {letter + QLatin1Char('c') + number, letter + QLatin1Char('t') + number};
    return {};
}

} // namespace ReleaseRecaptureColumns

#include "calc/EffectOptions.h"

#include <QCommandLineParser>

#include <cmath>

namespace {

const QString powerName = QStringLiteral("power");
const QString nullName = QStringLiteral("null");
const QString alphaName = QStringLiteral("alpha");
const QString sidedName = QStringLiteral("sided");

bool readNumber(const QString& text, double* value)
{
    bool number = false;
    *value = text.trimmed().toDouble(&number);
    return number && std::isfinite(*value);
}

} // namespace

bool EffectRequest::givesTest() const
{
    return !nullValues.isEmpty() || commonNull || alpha || twoSided;
}

EffectTest EffectRequest::appliedTo(EffectTest test) const
{
    for (auto value = nullValues.constBegin(); value != nullValues.constEnd(); ++value)
        test.nullValues.insert(value.key(), value.value());
    if (commonNull) {
        // Every quantity takes the common value unless named on its own here.
        test.commonNull = *commonNull;
        for (auto given = test.nullValues.begin(); given != test.nullValues.end();) {
            if (nullValues.contains(given.key()))
                ++given;
            else
                given = test.nullValues.erase(given);
        }
    }
    if (alpha)
        test.alpha = *alpha;
    if (twoSided)
        test.twoSided = *twoSided;
    return test;
}

namespace EffectOptions {

void add(QCommandLineParser& parser)
{
    parser.addOptions({{powerName, QString()},
                       {nullName, QString(), QStringLiteral("value")},
                       {alphaName, QString(), QStringLiteral("level")},
                       {sidedName, QString(), QStringLiteral("sides")}});
}

QString read(const QCommandLineParser& parser, EffectRequest* request)
{
    for (const QString& name : {powerName, alphaName, sidedName}) {
        if (parser.values(name).size() > 1)
            return QStringLiteral("--%1 is given more than once").arg(name);
    }
    request->power = parser.isSet(powerName);
    for (const QString& given : parser.values(nullName)) {
        QString quantity;
        double value = 0.0;
        if (!EffectTest::readNullValue(given, &quantity, &value))
            return QStringLiteral("Cannot read the null value \"%1\": it is a number, or a "
                                  "quantity, an equals sign and a number, as in St=1.05")
                .arg(given);
        if (quantity.isNull()) {
            if (request->commonNull)
                return QStringLiteral("--null without a quantity is given more than once");
            request->commonNull = value;
        } else {
            request->nullValues.insert(quantity, value);
        }
    }
    if (parser.isSet(alphaName)) {
        double alpha = 0.0;
        if (!readNumber(parser.value(alphaName), &alpha) || !(alpha > 0.0) || !(alpha < 1.0))
            return QStringLiteral("--alpha must be a number between 0 and 1 (both left out): %1")
                .arg(parser.value(alphaName));
        request->alpha = alpha;
    }
    if (parser.isSet(sidedName)) {
        const QString sides = parser.value(sidedName);
        if (sides != QStringLiteral("one") && sides != QStringLiteral("two"))
            return QStringLiteral("--sided is one or two: %1").arg(sides);
        request->twoSided = sides == QStringLiteral("two");
    }
    return QString();
}

QString help()
{
    return QStringLiteral(
        "The power to detect an effect (with the precision, a --target power or\n"
        "--compare):\n"
        "      --power              add the power of the Wald test of each quantity\n"
        "                           that has a null value: St, T and Sdam (null\n"
        "                           value 1, no effect), and any given by --null\n"
        "      --null [QUANTITY=]VALUE\n"
        "                           the null value of QUANTITY (S1=0.8), or without\n"
        "                           a name of every quantity; may be repeated\n"
        "      --alpha LEVEL        the test's level, between 0 and 1 (default 0.05)\n"
        "      --sided one|two      a one- or two-sided test (default two)\n");
}

} // namespace EffectOptions

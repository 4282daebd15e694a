#include "calc/PlanOptions.h"

#include "calc/SensitivityOptions.h"

#include <QCommandLineParser>

namespace {

const QString solveName = QStringLiteral("solve");
const QString forName = QStringLiteral("for");
const QString targetName = QStringLiteral("target");
const QString totalName = QStringLiteral("total");

} // namespace

namespace PlanOptions {

void add(QCommandLineParser& parser)
{
    parser.addOptions({{solveName, QString(), QStringLiteral("what")},
                       {forName, QString(), QStringLiteral("quantity")},
                       {targetName, QString(), QStringLiteral("measure=value")},
                       {totalName, QString(), QStringLiteral("fish")}});
}

bool isSet(const QCommandLineParser& parser)
{
    return parser.isSet(solveName);
}

QString read(const QCommandLineParser& parser, PlanRequest* request)
{
    for (const QString& name : {solveName, forName, targetName, totalName}) {
        if (parser.values(name).size() > 1)
            return QStringLiteral("--%1 is given more than once").arg(name);
    }
    if (!parser.isSet(solveName)) {
        for (const QString& name : {forName, targetName, totalName}) {
            // --for also names the quantity of a sensitivity or a band.
            if (parser.isSet(name) && !(name == forName && SensitivityOptions::isSet(parser)))
                return QStringLiteral("--%1 is taken only with --solve").arg(name);
        }
        return QString();
    }
    const QString what = parser.value(solveName);
    if (what == QStringLiteral("release"))
        request->solve = PlanRequest::ReleaseSize;
    else if (what == QStringLiteral("split"))
        request->solve = PlanRequest::Split;
    else {
        request->solve = PlanRequest::Probability;
        request->field = what;
    }
    if (what.isEmpty())
        return QStringLiteral("--solve names nothing: release, split or a probability such as P2");
    if (!parser.isSet(forName) || !parser.isSet(targetName))
        return QStringLiteral("--solve needs --for QUANTITY and --target MEASURE=VALUE");
    request->target.quantity = parser.value(forName);

    const QString target = parser.value(targetName);
    const QStringList parts = target.split(QLatin1Char('='));
    const int measure = parts.size() == 2 ? PlanTarget::measureKeys().indexOf(parts[0]) : -1;
    bool number = false;
    const double value = parts.size() == 2 ? parts[1].toDouble(&number) : 0.0;
    if (measure < 0 || !number)
        return QStringLiteral("Cannot read the target \"%1\": it is se, hw90, hw95 or cv, an "
                              "equals sign and a number, as in hw95=0.05")
            .arg(target);
    request->target.measure = static_cast<PlanTarget::Measure>(measure);
    request->target.value = value;

    if (parser.isSet(totalName)) {
        if (request->solve != PlanRequest::Split)
            return QStringLiteral("--total is taken only with --solve split");
        bool whole = false;
        request->total = parser.value(totalName).toLongLong(&whole);
        if (!whole || request->total < 1)
            return QStringLiteral("--total must be a whole number of fish above 0: %1")
                .arg(parser.value(totalName));
    }
    return QString();
}

QString help()
{
    return QStringLiteral(
        "Planning to a target (the answer as text, one row per point of a range):\n"
        "      --solve WHAT         release: the fewest fish, every release size\n"
        "                           scaled in proportion; split: the best split of\n"
        "                           the two groups of a paired, tirr or btps design\n"
        "                           and the smallest total at it; or a probability\n"
        "                           by its parameter name (P2, S1, Lambda): the\n"
        "                           smallest value in (0, 1], on steps of 0.001\n"
        "      --for QUANTITY       the quantity the target is on, by its name in\n"
        "                           the report (S1, T, Sdam; CompositeS, the single\n"
        "                           release's total survival)\n"
        "      --target MEASURE=VALUE\n"
        "                           se, hw90 or hw95 (the 90% or 95% confidence\n"
        "                           half-width) or cv (SE over the estimate) at most\n"
        "                           VALUE\n"
        "      --total FISH         the total a split divides (default: the design's)\n");
}

} // namespace PlanOptions

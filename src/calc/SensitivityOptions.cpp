#include "calc/SensitivityOptions.h"

#include <QCommandLineParser>

namespace {

const QString sensitivityName = QStringLiteral("sensitivity");
const QString bandName = QStringLiteral("band");
const QString spreadName = QStringLiteral("spread");
const QString measureName = QStringLiteral("measure");
// Registered by the planner's options.
const QString forName = QStringLiteral("for");

} // namespace

namespace SensitivityOptions {

void add(QCommandLineParser& parser)
{
    parser.addOptions({{sensitivityName, QString()},
                       {bandName, QString(), QStringLiteral("intervals")},
                       {spreadName, QString(), QStringLiteral("fraction")},
                       {measureName, QString(), QStringLiteral("measure")}});
}

bool isSet(const QCommandLineParser& parser)
{
    return parser.isSet(sensitivityName) || parser.isSet(bandName);
}

QString read(const QCommandLineParser& parser, bool solving, GuessRequest* request)
{
    for (const QString& name : {bandName, spreadName, measureName}) {
        if (parser.values(name).size() > 1)
            return QStringLiteral("--%1 is given more than once").arg(name);
    }
    if (!isSet(parser)) {
        for (const QString& name : {spreadName, measureName}) {
            if (parser.isSet(name))
                return QStringLiteral("--%1 is taken only with --sensitivity or --band").arg(name);
        }
        return QString();
    }
    if (parser.isSet(sensitivityName) && parser.isSet(bandName))
        return QStringLiteral("--sensitivity and --band are asked one at a time");
    request->kind = parser.isSet(bandName) ? GuessRequest::Band : GuessRequest::Sensitivity;
    if (request->kind == GuessRequest::Sensitivity && solving)
        return QStringLiteral("--sensitivity and --solve cannot be given together: --band with "
                              "--solve plans for the worst case of a band");
    if (parser.isSet(spreadName)) {
        if (request->kind != GuessRequest::Sensitivity)
            return QStringLiteral("--spread is taken only with --sensitivity");
        bool number = false;
        request->spread = parser.value(spreadName).toDouble(&number);
        if (!number || !(request->spread > 0 && request->spread < 1))
            return QStringLiteral("--spread takes a fraction above 0 and below 1, as 0.1 for "
                                  "10%, not \"%1\"")
                .arg(parser.value(spreadName));
    }
    if (solving) {
        if (parser.isSet(measureName))
            return QStringLiteral("With --solve the band is of the --target's measure: --measure "
                                  "is not taken");
    } else {
        if (!parser.isSet(forName))
            return QStringLiteral("--%1 needs --for QUANTITY")
                .arg(request->kind == GuessRequest::Band ? bandName : sensitivityName);
        request->target.quantity = parser.value(forName);
        if (parser.isSet(measureName)) {
            const int measure = PlanTarget::measureKeys().indexOf(parser.value(measureName));
            if (measure < 0)
                return QStringLiteral("Unknown measure \"%1\": the measures are %2")
                    .arg(parser.value(measureName),
                         PlanTarget::measureKeys().join(QStringLiteral(", ")));
            request->target.measure = static_cast<PlanTarget::Measure>(measure);
        }
    }
    if (request->kind == GuessRequest::Band) {
        QString error;
        if (!bands::parseBox(parser.value(bandName), &request->box, &error))
            return error;
    }
    return QString();
}

QString help()
{
    return QStringLiteral(
        "When the inputs are guesses:\n"
        "      --sensitivity        vary each input of the design on its own by the\n"
        "                           spread (kept to its domain: a probability in\n"
        "                           (0, 1], a release a whole number of fish, at\n"
        "                           least 1) and give the measure of the --for\n"
        "                           quantity at the low and the high value, the\n"
        "                           inputs that change it most first\n"
        "      --spread FRACTION    the relative spread, above 0 and below 1\n"
        "                           (default 0.1)\n"
        "      --measure MEASURE    se (default), hw90, hw95 or cv\n"
        "      --point I            the point of a ranged input it is varied at,\n"
        "                           counted from 1 (default 1)\n"
        "      --band INTERVALS     the least and greatest measure of the --for\n"
        "                           quantity at every point of the range when inputs\n"
        "                           lie anywhere in their intervals, as in\n"
        "                           P2=0.5..0.8,S1=0.8..0.9 (at most 4 inputs), and\n"
        "                           the inputs where each is reached; with --solve,\n"
        "                           the plan for the worst case in the box\n");
}

} // namespace SensitivityOptions

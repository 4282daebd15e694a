#include "calc/CommandLine.h"

#include "calc/PlanOptions.h"
#include "studies/design/Design.h"

#include <QCommandLineParser>

namespace {

CommandLine refusal(const QString& error)
{
    CommandLine command;
    command.action = CommandLine::Refuse;
    command.error = error;
    return command;
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption format({QStringLiteral("f"), QStringLiteral("format")}, QString(),
                                    QStringLiteral("format"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("path"));
    const QCommandLineOption fromSettings(QStringLiteral("from-settings"), QString(),
                                          QStringLiteral("design"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("V"), QStringLiteral("version")}, QString());
    parser.addOptions({format, output, fromSettings, help, version});
    PlanOptions::add(parser);
    SensitivityOptions::add(parser);
    const SimulationOptions simulation;
    parser.addOptions(simulation.options());
    if (!parser.parse(QStringList{QStringLiteral("quorvel-calc")} + arguments))
        return refusal(parser.errorText());

    CommandLine command;
    if (parser.isSet(help)) {
        command.action = ShowHelp;
        return command;
    }
    if (parser.isSet(version)) {
        command.action = ShowVersion;
        return command;
    }
    for (const QCommandLineOption& single : {format, output, fromSettings}) {
        if (parser.values(single).size() > 1)
            return refusal(
                QStringLiteral("--%1 is given more than once").arg(single.names().last()));
    }

    CalcRequest& request = command.request;
    const QString simulationError = simulation.read(parser, &request.simulation);
    if (!simulationError.isNull())
        return refusal(simulationError);
    request.files = parser.positionalArguments();
    if (parser.isSet(format)) {
        const QStringList formats = {QStringLiteral("text"), QStringLiteral("csv"),
                                     QStringLiteral("json"), QStringLiteral("html"),
                                     QStringLiteral("odt"),  QStringLiteral("pdf")};
        const int chosen = formats.indexOf(parser.value(format));
        if (chosen < 0)
            return refusal(
                QStringLiteral(
                    "Unknown format \"%1\": the formats are text, csv, json, html, odt and pdf")
                    .arg(parser.value(format)));
        request.format = static_cast<CalcRequest::Format>(chosen);
    }
    if (parser.isSet(output)) {
        request.output = parser.value(output);
        if (request.output.isEmpty())
            return refusal(QStringLiteral("--output names no file"));
    }
    if (parser.isSet(fromSettings)) {
        request.fromSettings = parser.value(fromSettings);
        if (!designs::named(request.fromSettings))
            return refusal(QStringLiteral("Unknown design \"%1\": the designs are %2")
                               .arg(request.fromSettings, designs::nameList()));
        if (!request.files.isEmpty())
            return refusal(QStringLiteral("--from-settings takes no design files"));
    } else if (request.files.isEmpty()) {
        return refusal(QStringLiteral("No design file given"));
    }
    const QString planRefusal = PlanOptions::read(parser, &request.plan);
    if (!planRefusal.isNull())
        return refusal(planRefusal);
    request.solve = PlanOptions::isSet(parser);
    if (request.solve && request.simulation.requested())
        return refusal(QStringLiteral("--solve and --simulate cannot be given together"));
    if (request.simulation.requested() && request.format > CalcRequest::Json)
        return refusal(QStringLiteral("--simulate writes text, csv or json"));
    const QString guessRefusal = SensitivityOptions::read(parser, request.solve, &request.guesses);
    if (!guessRefusal.isNull())
        return refusal(guessRefusal);
    if (request.guesses.kind != GuessRequest::None && request.simulation.requested())
        return refusal(QStringLiteral("--simulate cannot be given with --sensitivity or --band"));
    if (request.guesses.kind != GuessRequest::None && request.format > CalcRequest::Json)
        return refusal(QStringLiteral("--sensitivity and --band write text, csv or json"));
    if (request.solve && request.format != CalcRequest::Text)
        return refusal(QStringLiteral("--solve writes its answer as text only"));
    return command;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
               "Usage: quorvel-calc [OPTION]... DESIGN-FILE...\n"
               "       quorvel-calc [OPTION]... --from-settings DESIGN\n"
               "\n"
               "Computes the precision of the survival estimates of fish-survival study\n"
               "designs, as the Quorvel window computes them, without a window: the\n"
               "variances, standard errors and 90% and 95% confidence half-widths of every\n"
               "estimate, at every point of a ranged input.\n"
               "\n"
               "A design file is a JSON object naming the design and giving its inputs as\n"
               "the window shows them; the README describes it, and examples/ holds one\n"
               "file per design. The designs are single, paired, tirr, btps and vwp.\n"
               "\n"
               "Options:\n"
               "  -f, --format FORMAT      text (the report, the default), csv (one row per\n"
               "                           point) or json (the same, with the covariance\n"
               "                           matrix of every point of a single or paired\n"
               "                           release); html, odt or pdf: the report as the\n"
               "                           window saves it, its wide tables cut to the\n"
               "                           page in a pdf\n"
               "  -o, --output PATH        write to the file PATH, replaced only once\n"
               "                           complete; when PATH is an existing folder, write\n"
               "                           one file per design there, named after it. A FIFO\n"
               "                           or a device is written directly, - is standard\n"
               "                           output; an output that would replace a design\n"
               "                           file is refused. Without it the output goes to\n"
               "                           standard output.\n"
               "      --from-settings DESIGN\n"
               "                           compute DESIGN as the window last stored it in\n"
               "                           the user's settings. The window does not store\n"
               "                           the transport design's choice of giving Sc*P:\n"
               "                           it always opens with Sc and P, and so does this.\n"
               "      --simulate K         check each design by simulation instead: draw K\n"
               "                           data sets at its true values, fit each as the\n"
               "                           study would, and set the spread of the estimates\n"
               "                           and the coverage of their intervals beside the\n"
               "                           predicted precision, with a verdict per quantity\n"
               "      --seed S             the simulation's seed (default 1); the same seed\n"
               "                           gives the same numbers on any number of cores\n"
               "      --point I            the point of a ranged input to check, counted\n"
               "                           from 1 (default 1)\n"
               "  -h, --help               show this help and exit\n"
               "  -V, --version            show the version and exit\n"
               "\n") +
           PlanOptions::help() + QStringLiteral("\n") + SensitivityOptions::help() +
           QStringLiteral(
               "\n"
               "Several design files give one output each in a folder named by --output,\n"
               "or together one output: the reports one after another (in a pdf each on\n"
               "its own pages), one CSV table with\n"
               "a design column, or a JSON array. Nothing is written unless every design\n"
               "is computed.\n"
               "\n"
               "Progress goes to standard error when a computation takes more than a\n"
               "second; Ctrl-C cancels it between points.\n"
               "\n"
               "Exit status:\n"
               "  0    every design was computed and written\n"
               "  1    a point could not be computed (\"Singular hessian: step = \"), or an\n"
               "       output could not be written, standard output included\n"
               "  2    the command line or an input was refused: a file that cannot be\n"
               "       read, a JSON error, an unknown design or parameter, a missing input,\n"
               "       a second range, a value outside its bounds\n"
               "  130  cancelled by Ctrl-C\n");
}

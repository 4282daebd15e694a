#include "calc/SimulationCheckRun.h"

#include "calc/ConsoleMonitor.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "calc/ResultsJson.h"
#include "framework/style/RynStyle.h"
#include "studies/common/ResultsCsv.h"
#include "studies/simulation/SimulationPower.h"
#include "studies/simulation/SimulationReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <thread>

namespace {

QString titleOf(const Design& design)
{
    return designs::info(design.kind).title;
}

// The check of the simulation on its own thread, watched from this one: the
// progress shown and Ctrl-C passed on every tenth of a second.
SimulationCheck watchedCheck(const DesignSimulation& simulation, int point,
                             const SimulationRequest& request, const QString& label,
                             ProgressLine& progress)
{
    std::atomic<int> done{0};
    std::atomic<bool> cancel{false};
    SimulationSettings settings;
    settings.dataSetCount = request.dataSets;
    settings.seed = request.seed;
    settings.threadCount = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    settings.cancelFlag = &cancel;
    settings.progress = [&done](int count) {
        for (int seen = done.load(); count > seen && !done.compare_exchange_weak(seen, count);)
            ;
    };
    auto result = std::async(std::launch::async, [&] { return simulation.check(point, settings); });
    const auto show = [&](bool final) {
        progress.show(QStringLiteral("quorvel-calc: %1: %2 of %3 data sets")
                          .arg(label)
                          .arg(done.load())
                          .arg(request.dataSets),
                      final);
    };
    while (result.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        if (ConsoleMonitor::interrupted())
            cancel = true;
        show(false);
    }
    show(true);
    return result.get();
}

// With --power, the power columns close each quantity's row.
QStringList csvHeads(bool withLabel, bool power)
{
    QStringList heads;
    if (withLabel)
        heads << QStringLiteral("design");
    heads << QStringLiteral("range") << QStringLiteral("value") << QStringLiteral("seed")
          << QStringLiteral("data sets") << QStringLiteral("failed fits")
          << QStringLiteral("boundary fits") << QStringLiteral("quantity")
          << QStringLiteral("true value") << QStringLiteral("predicted SE");
    for (const char* figure :
         {"mean", "bias", "empirical SD", "SD/SE", "coverage 90%", "coverage 95%"})
        heads << QString::fromLatin1(figure)
              << QString::fromLatin1(figure) + QStringLiteral(" MC error");
    heads << QStringLiteral("verdict");
    if (power)
        heads << QStringLiteral("null value") << QStringLiteral("predicted power")
              << QStringLiteral("empirical power") << QStringLiteral("empirical power MC error")
              << QStringLiteral("power tests");
    return heads;
}

// The power of the check's quantities with --power; none without.
QList<SimulatedPower> powerOf(const CheckedDesign& checked)
{
    return checked.power ? simulatedPower(checked.check, checked.design.options.effect)
                         : QList<SimulatedPower>();
}

// One row per quantity; with --power its test's figures at the end, empty
// where the quantity has no null value.
QString csvRows(const CheckedDesign& checked, bool withLabel)
{
    using ResultsCsv::number;
    const SimulationCheck& check = checked.check;
    const SimulationSummary& summary = check.summary;
    const QList<SimulatedPower> powers = powerOf(checked);
    QString rows;
    for (int q = 0; q < check.quantities.size(); ++q) {
        const ParameterSummary& p = summary.parameters[static_cast<std::size_t>(q)];
        QStringList fields;
        if (withLabel)
            fields << checked.label;
        fields << check.rangeName << (check.rangeName.isEmpty() ? QString() : number(check.x))
               << QString::number(check.seed) << QString::number(summary.dataSetCount)
               << QString::number(summary.failedFits) << QString::number(summary.boundaryFits)
               << check.quantities[q] << number(p.trueValue) << number(p.predictedStandardError);
        for (const MonteCarloFigure& figure :
             {p.meanEstimate, p.bias, p.empiricalSd, p.sdRatio, p.coverage90, p.coverage95})
            fields << number(figure.value) << number(figure.monteCarloError);
        fields << check.verdicts[q];
        if (checked.power) {
            const auto tested =
                std::find_if(powers.begin(), powers.end(), [&](const SimulatedPower& power) {
                    return power.quantity == check.quantities[q];
                });
            if (tested == powers.end())
                fields << QString() << QString() << QString() << QString() << QString();
            else
                fields << number(tested->nullValue) << number(tested->predicted)
                       << number(tested->empirical.value)
                       << number(tested->empirical.monteCarloError)
                       << QString::number(tested->tests);
        }
        rows += ResultsCsv::row(fields);
    }
    return rows;
}

QJsonObject figureJson(const MonteCarloFigure& figure)
{
    return {{QStringLiteral("value"), jsonNumber(figure.value)},
            {QStringLiteral("mcError"), jsonNumber(figure.monteCarloError)}};
}

// JSON numbers are doubles: a seed beyond 2^53 is written as its digits.
QJsonValue seedJson(std::uint64_t seed)
{
    if (seed <= (std::uint64_t(1) << 53))
        return QJsonValue(static_cast<double>(seed));
    return QString::number(seed);
}

QJsonObject checkJson(const CheckedDesign& checked)
{
    const SimulationCheck& check = checked.check;
    const SimulationSummary& summary = check.summary;
    QJsonArray quantities;
    for (int q = 0; q < check.quantities.size(); ++q) {
        const ParameterSummary& p = summary.parameters[static_cast<std::size_t>(q)];
        quantities.append(QJsonObject{
            {QStringLiteral("name"), check.quantities[q]},
            {QStringLiteral("trueValue"), jsonNumber(p.trueValue)},
            {QStringLiteral("predictedSE"), jsonNumber(p.predictedStandardError)},
            {QStringLiteral("mean"), figureJson(p.meanEstimate)},
            {QStringLiteral("bias"), figureJson(p.bias)},
            {QStringLiteral("empiricalSD"), figureJson(p.empiricalSd)},
            {QStringLiteral("sdRatio"), figureJson(p.sdRatio)},
            {QStringLiteral("coverage90"), figureJson(p.coverage90)},
            {QStringLiteral("coverage95"), figureJson(p.coverage95)},
            {QStringLiteral("verdict"), check.verdicts[q]},
        });
    }
    const bool ranged = !check.rangeName.isEmpty();
    QJsonArray powers;
    for (const SimulatedPower& power : powerOf(checked))
        powers.append(QJsonObject{{QStringLiteral("name"), power.quantity},
                                  {QStringLiteral("nullValue"), power.nullValue},
                                  {QStringLiteral("predicted"), jsonNumber(power.predicted)},
                                  {QStringLiteral("empirical"), figureJson(power.empirical)},
                                  {QStringLiteral("tests"), power.tests}});
    QJsonObject object = {
        {QStringLiteral("source"), checked.label},
        {QStringLiteral("design"), designs::info(checked.design.kind).name},
        {QStringLiteral("title"), titleOf(checked.design)},
        {QStringLiteral("range"), ranged ? QJsonValue(check.rangeName) : QJsonValue()},
        {QStringLiteral("value"), ranged ? jsonNumber(check.x) : QJsonValue()},
        {QStringLiteral("point"), check.point + 1},
        {QStringLiteral("seed"), seedJson(check.seed)},
        {QStringLiteral("dataSets"), summary.dataSetCount},
        {QStringLiteral("failedFits"), summary.failedFits},
        {QStringLiteral("boundaryFits"), summary.boundaryFits},
        {QStringLiteral("fitsWithoutSE"), summary.fitsWithoutStandardErrors},
        {QStringLiteral("quantities"), quantities},
    };
    if (checked.power)
        object.insert(QStringLiteral("power"), powers);
    return object;
}

QString reportOf(const CheckedDesign& checked)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const ryn::RynStyle style;
    SimulationReport report(style, titleOf(checked.design), checked.check);
    if (checked.power)
        report.setPower(checked.design.options.effect);
    report.write(cursor);
    return reportText(document);
}

} // namespace

DesignRun::Outcome checkBySimulation(CheckedDesign& checked, const SimulationRequest& request,
                                     ProgressLine& progress, QString* message)
{
    try {
        const std::unique_ptr<DesignSimulation> simulation = DesignSimulation::of(checked.design);
        if (request.point > simulation->pointCount()) {
            *message = QStringLiteral("--point %1 is beyond the design's last point, %2")
                           .arg(request.point)
                           .arg(simulation->pointCount());
            return DesignRun::Refused;
        }
        checked.check =
            watchedCheck(*simulation, request.point - 1, request, checked.label, progress);
    } catch (const QString& text) {
        *message = text;
        return DesignRun::Refused;
    } catch (const std::exception& e) {
        *message = QString::fromUtf8(e.what());
        return DesignRun::Failed;
    } catch (...) {
        *message = QStringLiteral("Unknown error");
        return DesignRun::Failed;
    }
    if (checked.check.canceled()) {
        *message = QStringLiteral("Cancelled!");
        return DesignRun::Cancelled;
    }
    return DesignRun::Computed;
}

QByteArray simulationOutput(const QList<const CheckedDesign*>& checks, CalcRequest::Format format)
{
    const bool several = checks.size() > 1;
    switch (format) {
    case CalcRequest::Csv: {
        QString table = ResultsCsv::row(csvHeads(several, checks.front()->power));
        for (const CheckedDesign* checked : checks)
            table += csvRows(*checked, several);
        return table.toUtf8();
    }
    case CalcRequest::Json: {
        if (!several)
            return QJsonDocument(checkJson(*checks.front())).toJson();
        QJsonArray array;
        for (const CheckedDesign* checked : checks)
            array.append(checkJson(*checked));
        return QJsonDocument(array).toJson();
    }
    // The command line refuses the report files with --simulate.
    case CalcRequest::Html:
    case CalcRequest::Odt:
    case CalcRequest::Pdf:
    case CalcRequest::Text:
        break;
    }
    QStringList reports;
    for (const CheckedDesign* checked : checks)
        reports << (several ? QStringLiteral("==> %1 <==\n").arg(checked->label) : QString()) +
                       reportOf(*checked);
    return reports.join(QLatin1Char('\n')).toUtf8();
}

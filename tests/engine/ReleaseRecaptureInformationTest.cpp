#include "CellDerivatives.h"
#include "ReferenceDesigns.h"
#include "Tolerance.h"

#include "engine/CovarianceCalculator.h"
#include "engine/PairedReleaseInformation.h"
#include "engine/PairedReleaseLikelihoodFunc.h"
#include "engine/SingleReleaseInformation.h"
#include "engine/SingleReleaseLikelihoodFunc.h"
#include "engine/SymmetricEigenvalues.h"
#include "numerics/NRError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

using quorvel::test::enumeratedHessian;

namespace {

// Entry (i, j) of actual lies within rel of expected, measured against the
// larger of |expected(i, j)| and sqrt(|expected(i, i) expected(j, j)|), so that
// entries that nearly cancel are judged on the scale of their row and column.
::testing::AssertionResult matricesNear(const Matrix& actual, const Matrix& expected, double rel)
{
    if (actual.rows() != expected.rows() || actual.cols() != expected.cols())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int i = 0; i < expected.rows(); ++i) {
        for (int j = 0; j < expected.cols(); ++j) {
            const double scale = std::max(std::fabs(expected(i, j)),
                                          std::sqrt(std::fabs(expected(i, i) * expected(j, j))));
            const double diff = std::fabs(actual(i, j) - expected(i, j));
            if (!(diff <= rel * scale) && !(scale == 0.0 && diff == 0.0))
                return ::testing::AssertionFailure()
                       << "entry (" << i << ", " << j << "): " << actual(i, j) << " against "
                       << expected(i, j) << ", " << diff / scale << " relative (allowed " << rel
                       << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

int distinctCount(const std::vector<int>& labels)
{
    return static_cast<int>(std::set<int>(labels.begin(), labels.end()).size());
}

// Random designs. Wide ones reach probabilities of 0.2 to 0.98 and remove
// none, some or all of the detected fish (all removed can leave parameters
// that cannot be estimated); moderate ones stay where the central-difference
// Hessian keeps its usual accuracy.
class DesignGenerator
{
public:
    enum Spread { Wide, Moderate };

    explicit DesignGenerator(unsigned seed, Spread spread = Wide)
        : rng(seed)
        , spread(spread)
    {}

    // Labels as the forms give them: a position either owns its label or
    // shares that of an earlier position.
    std::vector<int> labels(int count)
    {
        std::vector<int> result;
        for (int i = 0; i < count; ++i) {
            if (i > 0 && chance(0.35))
                result.push_back(result[std::uniform_int_distribution<int>(0, i - 1)(rng)]);
            else
                result.push_back(i);
        }
        return result;
    }

    std::vector<double> probabilities(int count)
    {
        std::vector<double> values;
        for (int i = 0; i < count; ++i)
            values.push_back(spread == Wide
                                 ? std::uniform_real_distribution<double>(0.2, 0.98)(rng)
                                 : std::uniform_real_distribution<double>(0.5, 0.9)(rng));
        return values;
    }

    double probability() { return probabilities(1).front(); }

    std::vector<double> removals(int count)
    {
        static const double choices[] = {0.0, 0.0, 0.1, 0.5, 1.0};
        const int last = spread == Wide ? 4 : 2;
        std::vector<double> values;
        for (int i = 0; i < count; ++i)
            values.push_back(choices[std::uniform_int_distribution<int>(0, last)(rng)]);
        return values;
    }

    int releaseSize(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(rng);
    }

    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }

private:
    std::mt19937 rng;
    Spread spread;
};

struct SingleDesign
{
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    std::vector<double> removals;
    std::vector<int> releaseSizes;
    std::vector<double> survivalValues;
    std::vector<double> detectionValues;
    double lambda = 0.5;

    // R reaches, releases at every site (some of them empty).
    static SingleDesign random(DesignGenerator& gen, int reaches)
    {
        SingleDesign d;
        d.survivalLabels = gen.labels(reaches);
        d.detectionLabels = gen.chance(0.5) ? d.survivalLabels : gen.labels(reaches);
        d.removals = gen.removals(reaches);
        d.releaseSizes.push_back(gen.releaseSize(100, 5000));
        for (int s = 1; s <= reaches; ++s)
            d.releaseSizes.push_back(gen.chance(0.5) ? 0 : gen.releaseSize(1, 2000));
        d.survivalValues = gen.probabilities(distinctCount(d.survivalLabels));
        d.detectionValues = gen.probabilities(distinctCount(d.detectionLabels));
        d.lambda = gen.probability();
        return d;
    }

    std::string describe() const
    {
        return "single release with " + std::to_string(survivalLabels.size()) + " reaches";
    }
};

struct PairedDesign
{
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    double sc = 0.9;
    double st = 0.8;
    std::vector<double> removals;
    int controlRelease = 1000;
    int treatmentRelease = 1000;
    std::vector<double> survivalValues;
    std::vector<double> detectionValues;
    double lambda = 0.5;

    // D downstream reaches; the paired study's detection labels start with 0
    // for the first detection site.
    static PairedDesign random(DesignGenerator& gen, int downstream)
    {
        PairedDesign d;
        d.survivalLabels = gen.labels(downstream);
        d.detectionLabels = {0};
        for (int label : gen.labels(downstream))
            d.detectionLabels.push_back(label + 1);
        d.sc = gen.probability();
        d.st = gen.probability();
        d.removals = gen.removals(downstream + 1);
        d.controlRelease = gen.releaseSize(100, 5000);
        d.treatmentRelease = gen.releaseSize(100, 5000);
        d.survivalValues = gen.probabilities(distinctCount(d.survivalLabels));
        d.detectionValues = gen.probabilities(distinctCount(d.detectionLabels));
        d.lambda = gen.probability();
        return d;
    }

    std::string describe() const
    {
        return "paired release with " + std::to_string(survivalLabels.size()) +
               " downstream reaches";
    }
};

// The exact Hessian of the new path and of the enumerated cells, with the
// parameter vectors both wrote.
struct HessianPair
{
    Matrix exact;
    Matrix enumerated;
    std::vector<double> exactParameters;
    std::vector<double> enumeratedParameters;
};

HessianPair hessians(const SingleDesign& d)
{
    HessianPair pair;
    SingleReleaseInformation information(d.survivalLabels, d.detectionLabels);
    information.setCase(d.removals, pair.exactParameters, d.releaseSizes, d.survivalValues,
                        d.detectionValues, d.lambda);
    information.computeHessian(pair.exact);

    SingleReleaseLikelihoodFunc likelihood(d.survivalLabels, d.detectionLabels);
    likelihood.setCase(d.removals, pair.enumeratedParameters, d.releaseSizes, d.survivalValues,
                       d.detectionValues, d.lambda);
    pair.enumerated = enumeratedHessian(likelihood, pair.enumeratedParameters);
    return pair;
}

HessianPair hessians(const PairedDesign& d)
{
    HessianPair pair;
    PairedReleaseInformation information(d.survivalLabels, d.detectionLabels);
    information.setCase(d.st, d.sc, d.removals, pair.exactParameters, d.controlRelease,
                        d.treatmentRelease, d.survivalValues, d.detectionValues, d.lambda);
    information.computeHessian(pair.exact);

    PairedReleaseLikelihoodFunc likelihood(d.survivalLabels, d.detectionLabels);
    pair.enumeratedParameters.resize(static_cast<std::size_t>(likelihood.parameterCount()));
    likelihood.setCase(d.st, d.sc, d.removals, pair.enumeratedParameters, d.controlRelease,
                       d.treatmentRelease, d.survivalValues, d.detectionValues, d.lambda);
    pair.enumerated = enumeratedHessian(likelihood, pair.enumeratedParameters);
    return pair;
}

template <typename Design> void expectSameHessian(const Design& d, double rel = 1e-9)
{
    SCOPED_TRACE(d.describe());
    const HessianPair pair = hessians(d);
    ASSERT_EQ(pair.exactParameters, pair.enumeratedParameters);
    EXPECT_TRUE(matricesNear(pair.exact, pair.enumerated, rel));
    EXPECT_EQ(symmetricHasFullRank(pair.exact), CovarianceCalculator::hasFullRank(pair.exact));
}

// Variances from the new path and from the enumerated likelihood through
// the central-difference covariance computation.
template <typename Design, typename Information, typename Likelihood>
void expectNumericalAgreement(const Design& d, Information& information, Likelihood& likelihood,
                              const std::vector<double>& parameters, double rel)
{
    SCOPED_TRACE(d.describe());
    Matrix exact;
    information.computeCovariance(exact);
    const int n = static_cast<int>(parameters.size());
    Matrix numerical(n, n);
    CovarianceCalculator calculator(nullptr, 1e-5);
    calculator.computeCovariance(likelihood, parameters, numerical);
    for (int i = 0; i < n; ++i)
        EXPECT_REL_NEAR(exact(i, i), numerical(i, i), rel) << "variance " << i;
}

// The central-difference Hessian's own error grows with the number of cells.
double numericalTolerance(int reaches)
{
    if (reaches <= 2)
        return 1e-4;
    if (reaches <= 5)
        return 5e-4;
    return 2e-3;
}

} // namespace

TEST(SingleReleaseInformation, MatchesExactHessianOfEnumeratedCells)
{
    DesignGenerator gen(11);
    for (int round = 0; round < 4; ++round)
        for (int reaches = 0; reaches <= 9; ++reaches)
            expectSameHessian(SingleDesign::random(gen, reaches));
}

TEST(PairedReleaseInformation, MatchesExactHessianOfEnumeratedCells)
{
    DesignGenerator gen(23);
    for (int round = 0; round < 3; ++round)
        for (int downstream = 0; downstream <= 7; ++downstream)
            expectSameHessian(PairedDesign::random(gen, downstream));
    expectSameHessian(PairedDesign::random(gen, 9));
}

// Where a probability is exactly 1 some cells have probability 0 and the
// Hessian differs from the expected information; both paths must give the
// Hessian.
TEST(ReleaseRecaptureInformation, MatchesEnumeratedHessianWhereProbabilitiesAreOne)
{
    DesignGenerator gen(37);
    for (int reaches = 1; reaches <= 6; ++reaches) {
        SingleDesign detectedForSure = SingleDesign::random(gen, reaches);
        detectedForSure.detectionValues.front() = 1.0;
        expectSameHessian(detectedForSure);

        SingleDesign finalForSure = SingleDesign::random(gen, reaches);
        finalForSure.lambda = 1.0;
        expectSameHessian(finalForSure);

        SingleDesign survivesForSure = SingleDesign::random(gen, reaches);
        survivesForSure.survivalValues.back() = 1.0;
        expectSameHessian(survivesForSure);

        PairedDesign paired = PairedDesign::random(gen, reaches - 1);
        paired.detectionValues.back() = 1.0;
        paired.lambda = 1.0;
        expectSameHessian(paired);

        // Every fish survives the first reach and is detected at its end, so
        // the treatment's never-seen cell has probability 0 while its slope
        // in Sc * St does not vanish: the product's second derivative counts.
        PairedDesign certainStart = PairedDesign::random(gen, reaches - 1);
        certainStart.sc = 1.0;
        certainStart.st = 1.0;
        certainStart.detectionValues.front() = 1.0;
        expectSameHessian(certainStart);
    }
}

TEST(SingleReleaseInformation, AgreesWithNumericalCovarianceWithinItsError)
{
    DesignGenerator gen(41, DesignGenerator::Moderate);
    for (int reaches : {1, 2, 4, 7}) {
        SingleDesign d = SingleDesign::random(gen, reaches);
        SingleReleaseInformation information(d.survivalLabels, d.detectionLabels);
        SingleReleaseLikelihoodFunc likelihood(d.survivalLabels, d.detectionLabels);
        std::vector<double> parameters;
        information.setCase(d.removals, parameters, d.releaseSizes, d.survivalValues,
                            d.detectionValues, d.lambda);
        likelihood.setCase(d.removals, parameters, d.releaseSizes, d.survivalValues,
                           d.detectionValues, d.lambda);
        expectNumericalAgreement(d, information, likelihood, parameters,
                                 numericalTolerance(reaches));
    }
}

TEST(PairedReleaseInformation, AgreesWithNumericalCovarianceWithinItsError)
{
    DesignGenerator gen(43, DesignGenerator::Moderate);
    for (int downstream : {0, 1, 3, 5}) {
        PairedDesign d = PairedDesign::random(gen, downstream);
        PairedReleaseInformation information(d.survivalLabels, d.detectionLabels);
        PairedReleaseLikelihoodFunc likelihood(d.survivalLabels, d.detectionLabels);
        std::vector<double> parameters;
        information.setCase(d.st, d.sc, d.removals, parameters, d.controlRelease,
                            d.treatmentRelease, d.survivalValues, d.detectionValues, d.lambda);
        likelihood.setCase(d.st, d.sc, d.removals, parameters, d.controlRelease, d.treatmentRelease,
                           d.survivalValues, d.detectionValues, d.lambda);
        expectNumericalAgreement(d, information, likelihood, parameters,
                                 numericalTolerance(downstream + 1));
    }
}

// The reference designs' covariances were computed from exact Hessians, so
// the exact path must agree to rounding.
TEST(ReleaseRecaptureInformation, ReproducesReferenceCovariancesExactly)
{
    using quorvel::test::toDoubles;
    using quorvel::test::toInts;
    int checked = 0;
    for (const QJsonObject& c : quorvel::test::referenceCases()) {
        const QString design = c.value("design").toString();
        if (design != "single_release" && design != "paired_release")
            continue;
        SCOPED_TRACE(c.value("id").toString().toStdString());
        const QJsonObject in = c.value("inputs").toObject();
        const std::vector<int> survivalLabels = toInts(in.value("survival_labels"));
        const std::vector<int> detectionLabels = toInts(in.value("detection_labels"));
        std::vector<double> parameters;
        Matrix covariance;
        // The reference lists parameters in display order: for the paired
        // release Sc, St, then control and treatment interleaved per label.
        std::vector<int> order;
        if (design == "single_release") {
            SingleReleaseInformation information(survivalLabels, detectionLabels);
            information.setCase(
                toDoubles(in.value("removals")), parameters, toInts(in.value("release_sizes")),
                toDoubles(in.value("survival_values")), toDoubles(in.value("detection_values")),
                in.value("lambda").toDouble());
            information.computeCovariance(covariance);
            for (int i = 0; i < information.parameterCount(); ++i)
                order.push_back(i);
        } else {
            PairedReleaseInformation information(survivalLabels, detectionLabels);
            information.setCase(in.value("St").toDouble(), in.value("Sc").toDouble(),
                                toDoubles(in.value("removals")), parameters, in.value("Rc").toInt(),
                                in.value("Rt").toInt(), toDoubles(in.value("survival_values")),
                                toDoubles(in.value("detection_values")),
                                in.value("lambda").toDouble());
            information.computeCovariance(covariance);
            order = {PairedReleaseInformation::scIndex, PairedReleaseInformation::stIndex};
            for (const ParameterMap* map :
                 {&information.controlSurvivalMap(), &information.controlDetectionMap()}) {
                const int treatmentOffset = map->createdCount();
                for (int index = map->firstIndex(); index < map->nextIndex(); ++index)
                    order.insert(order.end(), {index, index + treatmentOffset});
            }
            order.insert(order.end(),
                         {information.controlLambdaIndex(), information.treatmentLambdaIndex()});
        }
        const QJsonObject expected = c.value("expected").toObject();
        const std::vector<double> estimates = toDoubles(expected.value("estimates"));
        ASSERT_EQ(order.size(), estimates.size());
        for (std::size_t a = 0; a < order.size(); ++a)
            EXPECT_EQ(parameters[static_cast<std::size_t>(order[a])], estimates[a]);
        quorvel::test::expectCovarianceNear(covariance, order,
                                            expected.value("covariance").toArray(), 1e-9);
        ++checked;
    }
    EXPECT_EQ(checked, 5);
}

TEST(ReleaseRecaptureInformation, SingularHessianIsReportedLikeTheCovarianceComputation)
{
    // With no fish released nothing can be estimated.
    SingleReleaseInformation empty({0, 1}, {0, 1});
    std::vector<double> parameters;
    empty.setCase({0.0, 0.0}, parameters, {0, 0, 0}, {0.8, 0.9}, {0.7, 0.6}, 0.5);
    Matrix covariance(5, 5);
    covariance(2, 3) = 7.0;
    try {
        empty.computeCovariance(covariance);
        ADD_FAILURE() << "a singular Hessian must throw";
    } catch (const NR3::NRError& error) {
        EXPECT_STREQ(error.what(), "Singular Hessian in calculating covariance matrix");
    }
    EXPECT_EQ(covariance(2, 3), 7.0);

    // No fish survives the first reach: the later reaches are not estimable.
    SingleReleaseInformation cutOff({0, 1}, {0, 1});
    cutOff.setCase({0.0, 0.0}, parameters, {1000, 0, 0}, {0.0, 0.9}, {0.7, 0.6}, 0.5);
    Matrix hessian;
    EXPECT_THROW(cutOff.computeCovariance(covariance, nullptr, &hessian), NR3::NRError);
    EXPECT_FALSE(CovarianceCalculator::hasFullRank(hessian));
}

TEST(ReleaseRecaptureInformation, PresetCancelFlagLeavesCovarianceUntouched)
{
    PairedReleaseInformation information({0}, {0, 1});
    std::vector<double> parameters;
    information.setCase(0.8, 0.9, {0.0, 0.0}, parameters, 1000, 1000, {0.9}, {0.7, 0.6}, 0.5);
    Matrix covariance(information.parameterCount(), information.parameterCount());
    covariance(0, 0) = -1.0;
    const std::atomic<bool> canceled{true};
    EXPECT_NO_THROW(information.computeCovariance(covariance, &canceled));
    EXPECT_EQ(covariance(0, 0), -1.0);

    const std::atomic<bool> running{false};
    information.computeCovariance(covariance, &running);
    EXPECT_GT(covariance(0, 0), 0.0);
}

TEST(ReleaseRecaptureInformation, RejectsInputsOfTheWrongLength)
{
    EXPECT_THROW(SingleReleaseInformation({0, 1}, {0}), std::invalid_argument);
    EXPECT_THROW(PairedReleaseInformation({0}, {0}), std::invalid_argument);

    SingleReleaseInformation single({0, 0}, {0, 1});
    std::vector<double> parameters;
    EXPECT_THROW(single.setCase({0.0}, parameters, {100, 0, 0}, {0.8}, {0.7, 0.6}, 0.5),
                 std::invalid_argument);
    EXPECT_THROW(single.setCase({0.0, 0.0}, parameters, {100, 0}, {0.8}, {0.7, 0.6}, 0.5),
                 std::invalid_argument);
    EXPECT_THROW(single.setCase({0.0, 0.0}, parameters, {100, 0, 0}, {0.8, 0.9}, {0.7, 0.6}, 0.5),
                 std::invalid_argument);

    PairedReleaseInformation paired({0, 1}, {0, 1, 2});
    EXPECT_THROW(paired.setCase(0.8, 0.9, {0.0, 0.0}, parameters, 100, 100, {0.9, 0.9},
                                {0.7, 0.6, 0.5}, 0.5),
                 std::invalid_argument);

    Matrix hessian;
    EXPECT_THROW(SingleReleaseInformation({0}, {0}).computeHessian(hessian), std::logic_error);
}

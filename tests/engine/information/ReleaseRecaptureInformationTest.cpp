#include "CellDerivatives.h"
#include "ReferenceDesigns.h"

#include "engine/information/PairedReleaseInformation.h"
#include "engine/information/SingleReleaseInformation.h"
#include "numerics/NRError.h"
#include "numerics/SymmetricEigenvalues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <type_traits>

using quorvel::test::toDoubles;
using quorvel::test::toInts;

namespace {

// Entry (i, j) within rel of expected, measured against the larger of
// |expected(i, j)| and sqrt(|expected(i, i) expected(j, j)|), so that entries
// that nearly cancel are judged on the scale of their row and column. Where
// a parameter carries no information its row is zero up to the rounding of
// the whole matrix, a few eps times its largest diagonal element.
::testing::AssertionResult matricesNear(const Matrix& actual, const Matrix& expected, double rel)
{
    double largest = 0.0;
    for (int i = 0; i < expected.rows(); ++i)
        largest = std::max(largest, std::fabs(expected(i, i)));
    const double rounding = 64.0 * std::numeric_limits<double>::epsilon() * largest;
    for (int i = 0; i < expected.rows(); ++i) {
        for (int j = 0; j < expected.cols(); ++j) {
            const double scale = std::max(std::fabs(expected(i, j)),
                                          std::sqrt(std::fabs(expected(i, i) * expected(j, j))));
            const double diff = std::fabs(actual(i, j) - expected(i, j));
            if (diff > rel * scale + rounding || std::isnan(diff))
                return ::testing::AssertionFailure()
                       << "entry (" << i << ", " << j << "): " << actual(i, j) << " against "
                       << expected(i, j);
        }
    }
    return ::testing::AssertionSuccess();
}

// How far the values of random designs reach.
enum class Spread {
    // Probabilities of 0.5 to 0.9, removals up to 10%: where the
    // central-difference Hessian keeps its usual accuracy.
    Moderate,
    // Probabilities of 0.2 to 0.98, removals of none, some or nearly all
    // detected fish.
    Wide,
    // As wide, and one probability in five exactly 0 or 1, removals up to
    // 1 - 1e-9.
    Bounds,
};

class DesignGenerator
{
public:
    explicit DesignGenerator(unsigned seed, Spread spread = Spread::Wide)
        : rng(seed)
        , spread(spread)
    {}

    // A position either owns its label or shares that of an earlier one.
    std::vector<int> labels(int count)
    {
        std::vector<int> result;
        for (int i = 0; i < count; ++i)
            result.push_back(i > 0 && chance(0.35) ? result[uniform(0, i - 1)] : i);
        return result;
    }

    std::vector<double> valuesFor(const std::vector<int>& labels)
    {
        std::vector<double> values(std::set<int>(labels.begin(), labels.end()).size());
        for (double& v : values)
            v = probability();
        return values;
    }

    double probability()
    {
        if (spread == Spread::Moderate)
            return std::uniform_real_distribution<double>(0.5, 0.9)(rng);
        if (spread == Spread::Bounds && chance(0.2))
            return chance(0.5) ? 0.0 : 1.0;
        return std::uniform_real_distribution<double>(0.2, 0.98)(rng);
    }

    std::vector<double> removals(int count)
    {
        static const double choices[] = {0.0, 0.0, 0.1, 0.5, 0.999, 1.0 - 1e-9};
        const int last = spread == Spread::Moderate ? 2 : spread == Spread::Wide ? 4 : 5;
        std::vector<double> values;
        for (int i = 0; i < count; ++i)
            values.push_back(choices[uniform(0, last)]);
        return values;
    }

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }

private:
    std::mt19937 rng;
    Spread spread;
};

// The inputs of one single-release case, loadable into the exact path and
// into the enumerated likelihood alike.
bool anyOne(const std::vector<double>& a, const std::vector<double>& b,
            const std::vector<double>& c)
{
    const auto one = [](double v) { return v == 1.0; };
    return std::any_of(a.begin(), a.end(), one) || std::any_of(b.begin(), b.end(), one) ||
           std::any_of(c.begin(), c.end(), one);
}

struct SingleDesign
{
    std::vector<int> survivalLabels, detectionLabels;
    std::vector<double> removals;
    std::vector<int> releaseSizes;
    std::vector<double> survivalValues, detectionValues;
    double lambda = 0.5;

    // R reaches, with releases at every site (some of them empty).
    static SingleDesign random(DesignGenerator& gen, int reaches)
    {
        SingleDesign d;
        d.survivalLabels = gen.labels(reaches);
        d.detectionLabels = gen.chance(0.5) ? d.survivalLabels : gen.labels(reaches);
        d.removals = gen.removals(reaches);
        d.releaseSizes = {gen.uniform(100, 5000)};
        for (int s = 1; s <= reaches; ++s)
            d.releaseSizes.push_back(gen.chance(0.5) ? 0 : gen.uniform(1, 2000));
        d.survivalValues = gen.valuesFor(d.survivalLabels);
        d.detectionValues = gen.valuesFor(d.detectionLabels);
        d.lambda = gen.probability();
        return d;
    }

    int reaches() const { return static_cast<int>(survivalLabels.size()); }
    bool hasProbabilityOne() const { return anyOne(survivalValues, detectionValues, {lambda}); }
    SingleReleaseInformation exact() const { return {survivalLabels, detectionLabels}; }
    SingleReleaseLikelihoodFunc enumerated() const { return {survivalLabels, detectionLabels}; }

    template <typename Model> void load(Model& model, std::vector<double>& parameters) const
    {
        model.setCase(removals, parameters, releaseSizes, survivalValues, detectionValues, lambda);
    }
};

struct PairedDesign
{
    std::vector<int> survivalLabels, detectionLabels;
    double sc = 0.9, st = 0.8;
    std::vector<double> removals;
    int controlRelease = 1000, treatmentRelease = 1000;
    std::vector<double> survivalValues, detectionValues;
    double lambda = 0.5;

    // D downstream reaches; the study gives the first detection site label 0.
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
        d.controlRelease = gen.uniform(100, 5000);
        d.treatmentRelease = gen.uniform(100, 5000);
        d.survivalValues = gen.valuesFor(d.survivalLabels);
        d.detectionValues = gen.valuesFor(d.detectionLabels);
        d.lambda = gen.probability();
        return d;
    }

    int reaches() const { return static_cast<int>(survivalLabels.size()) + 1; }
    bool hasProbabilityOne() const
    {
        return anyOne(survivalValues, detectionValues, {lambda, sc, st});
    }
    PairedReleaseInformation exact() const { return {survivalLabels, detectionLabels}; }
    PairedReleaseLikelihoodFunc enumerated() const { return {survivalLabels, detectionLabels}; }

    template <typename Model> void load(Model& model, std::vector<double>& parameters) const
    {
        model.setCase(st, sc, removals, parameters, controlRelease, treatmentRelease,
                      survivalValues, detectionValues, lambda);
    }
};

// Both paths write the same parameter vector, and their Hessians agree to
// rounding; the rank test by eigenvalues decides as the one by SVD. Without a
// probability of exactly 1, the exact covariance is refused as singular when
// the Hessian of the enumerated cells is not positive definite; with one it
// is the limit towards 1, not the inverse of that Hessian. An accepted
// covariance has positive finite variances, but 0 for a known parameter.
// accepted, when given, counts the designs whose covariance was given.
template <typename Design>
void expectSameHessian(const Design& d, int* accepted = nullptr, bool compareRankTests = true)
{
    SCOPED_TRACE(::testing::Message() << d.reaches() << " reaches");
    auto exact = d.exact();
    std::vector<double> exactParameters;
    d.load(exact, exactParameters);
    Matrix hessian;
    exact.computeHessian(hessian);

    auto likelihood = d.enumerated();
    std::vector<double> parameters;
    d.load(likelihood, parameters);
    ASSERT_EQ(exactParameters, parameters);
    const Matrix reference = quorvel::test::enumeratedHessian(likelihood, parameters);
    EXPECT_TRUE(matricesNear(hessian, reference, 1e-9));
    if (compareRankTests) {
        EXPECT_EQ(symmetricHasFullRank(hessian), CovarianceCalculator::hasFullRank(hessian));
    }

    const bool definite = symmetricIsPositiveDefinite(reference);
    const bool atLimit = d.hasProbabilityOne();
    const std::vector<bool> known = exact.knownParameters();
    Matrix covariance;
    try {
        exact.computeCovariance(covariance);
    } catch (const NR3::NRError& error) {
        EXPECT_STREQ(error.what(), "Singular Hessian in calculating covariance matrix");
        if (!atLimit) {
            EXPECT_FALSE(definite) << "refused, but the enumerated cells' Hessian is definite";
        }
        return;
    }
    if (!atLimit) {
        EXPECT_TRUE(definite) << "accepted, but the enumerated cells' Hessian is not definite";
    }
    for (int i = 0; i < covariance.rows(); ++i) {
        if (known[static_cast<std::size_t>(i)])
            EXPECT_EQ(covariance(i, i), 0.0) << "known parameter " << i;
        else
            EXPECT_TRUE(covariance(i, i) > 0.0 && std::isfinite(covariance(i, i)))
                << "variance " << i << " is " << covariance(i, i);
    }
    EXPECT_TRUE(atLimit || std::none_of(known.begin(), known.end(), [](bool k) { return k; }));
    if (accepted != nullptr)
        ++*accepted;
}

// The variances of the exact path and of the enumerated likelihood through
// the central-difference computation, whose error grows with the number of
// cells: about 1e-4 at one or two reaches.
template <typename Design> void expectNumericalAgreement(const Design& d)
{
    SCOPED_TRACE(::testing::Message() << d.reaches() << " reaches");
    const double tolerance = d.reaches() <= 2 ? 1e-4 : d.reaches() <= 5 ? 5e-4 : 2e-3;
    auto exact = d.exact();
    auto likelihood = d.enumerated();
    std::vector<double> parameters;
    d.load(exact, parameters);
    d.load(likelihood, parameters);
    Matrix covariance;
    exact.computeCovariance(covariance);
    const Matrix numerical = quorvel::test::covarianceOf(likelihood, parameters);
    for (int i = 0; i < exact.parameterCount(); ++i)
        EXPECT_REL_NEAR(covariance(i, i), numerical(i, i), tolerance) << "variance " << i;
}

SingleDesign singleFrom(const QJsonObject& in)
{
    return {toInts(in["survival_labels"]),    toInts(in["detection_labels"]),
            toDoubles(in["removals"]),        toInts(in["release_sizes"]),
            toDoubles(in["survival_values"]), toDoubles(in["detection_values"]),
            in["lambda"].toDouble()};
}

PairedDesign pairedFrom(const QJsonObject& in)
{
    return {toInts(in["survival_labels"]),
            toInts(in["detection_labels"]),
            in["Sc"].toDouble(),
            in["St"].toDouble(),
            toDoubles(in["removals"]),
            in["Rc"].toInt(),
            in["Rt"].toInt(),
            toDoubles(in["survival_values"]),
            toDoubles(in["detection_values"]),
            in["lambda"].toDouble()};
}

// Checks the exact covariance of a reference design, whose covariance lists
// the parameters in the order given by order.
template <typename Design>
void expectReferenceCovariance(const Design& d, const std::vector<int>& order,
                               const QJsonObject& expected)
{
    auto exact = d.exact();
    std::vector<double> parameters;
    d.load(exact, parameters);
    Matrix covariance;
    exact.computeCovariance(covariance);
    const std::vector<double> estimates = toDoubles(expected["estimates"]);
    ASSERT_EQ(order.size(), estimates.size());
    for (std::size_t a = 0; a < order.size(); ++a)
        EXPECT_EQ(parameters[static_cast<std::size_t>(order[a])], estimates[a]);
    quorvel::test::expectCovarianceNear(covariance, order, expected["covariance"].toArray(), 1e-9);
}

// computeCovariance throws the covariance computation's singular-Hessian
// error and leaves the covariance as it was.
void expectSingular(const ReleaseRecaptureInformation& information)
{
    const int n = information.parameterCount();
    Matrix covariance(n, n);
    covariance(0, n - 1) = 7.0;
    try {
        information.computeCovariance(covariance);
        ADD_FAILURE() << "a singular Hessian must throw; variance 0 is " << covariance(0, 0);
    } catch (const NR3::NRError& error) {
        EXPECT_STREQ(error.what(), "Singular Hessian in calculating covariance matrix");
    }
    EXPECT_EQ(covariance(0, n - 1), 7.0);
}

// Both paths refuse the case with a message holding refusal, and leave the
// parameter vector as it was.
template <typename Design> void expectRefused(const Design& d, const std::string& refusal)
{
    SCOPED_TRACE(refusal);
    auto exact = d.exact();
    auto likelihood = d.enumerated();
    const std::vector<double> before = {-1.0};
    std::vector<double> parameters = before;
    for (const auto& load : {std::function<void()>([&] { d.load(exact, parameters); }),
                             std::function<void()>([&] { d.load(likelihood, parameters); })}) {
        try {
            load();
            ADD_FAILURE() << "the case must be refused";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(refusal), std::string::npos) << error.what();
        }
        EXPECT_EQ(parameters, before);
    }
}

} // namespace

TEST(ReleaseRecaptureInformation, MatchesExactHessianOfEnumeratedCells)
{
    DesignGenerator gen(11);
    for (int round = 0; round < 3; ++round) {
        for (int reaches = 0; reaches <= 9; ++reaches)
            expectSameHessian(SingleDesign::random(gen, reaches));
        for (int downstream = 0; downstream <= 6; ++downstream)
            expectSameHessian(PairedDesign::random(gen, downstream));
    }
    expectSameHessian(PairedDesign::random(gen, 9));
}

// Many designs with probabilities of exactly 0 or 1 and removals near 1,
// where cells of probability 0 can leave the Hessian indefinite: the exact
// path refuses them as singular, as the enumerated cells decide, and gives
// positive finite variances for the others. Such designs often have
// eigenvalues that are 0 up to rounding, on which the two rank tests may
// differ; the exact path uses neither.
TEST(ReleaseRecaptureInformation, AcceptsOnlyDesignsWithPositiveFiniteVariances)
{
    DesignGenerator gen(53, Spread::Bounds);
    int designs = 0;
    int accepted = 0;
    for (int round = 0; round < 30; ++round) {
        for (int reaches = 0; reaches <= 6; ++reaches, ++designs)
            expectSameHessian(SingleDesign::random(gen, reaches), &accepted, false);
        for (int downstream = 0; downstream <= 5; ++downstream, ++designs)
            expectSameHessian(PairedDesign::random(gen, downstream), &accepted, false);
    }
    // Both outcomes are well represented.
    EXPECT_GT(accepted, designs / 4);
    EXPECT_LT(accepted, designs - designs / 4);
}

// Where a probability is exactly 1 some cells have probability 0, and the
// Hessian is no longer the expected information.
TEST(ReleaseRecaptureInformation, MatchesEnumeratedHessianWhereProbabilitiesAreOne)
{
    DesignGenerator gen(37);
    for (int reaches = 1; reaches <= 5; ++reaches) {
        SingleDesign single = SingleDesign::random(gen, reaches);
        single.detectionValues.front() = 1.0;
        expectSameHessian(single);
        single.lambda = 1.0;
        single.survivalValues.back() = 1.0;
        expectSameHessian(single);

        PairedDesign paired = PairedDesign::random(gen, reaches - 1);
        paired.detectionValues.back() = 1.0;
        paired.lambda = 1.0;
        expectSameHessian(paired);
        // All fish survive the first reach and are seen at its end: the
        // treatment's never-seen cell is 0 but not its slope in Sc * St, so
        // the product's second derivative counts.
        paired.sc = paired.st = paired.detectionValues.front() = 1.0;
        expectSameHessian(paired);
    }
}

TEST(ReleaseRecaptureInformation, AgreesWithNumericalCovarianceWithinItsError)
{
    DesignGenerator gen(41, Spread::Moderate);
    for (int reaches : {1, 2, 4, 7})
        expectNumericalAgreement(SingleDesign::random(gen, reaches));
    for (int downstream : {0, 1, 3, 5})
        expectNumericalAgreement(PairedDesign::random(gen, downstream));
}

// The reference covariances come from exact Hessians, so the exact path
// agrees to rounding.
TEST(ReleaseRecaptureInformation, ReproducesReferenceCovariancesExactly)
{
    for (const QJsonObject& c : quorvel::test::referenceCases("single_release")) {
        SCOPED_TRACE(c["id"].toString().toStdString());
        const SingleDesign d = singleFrom(c["inputs"].toObject());
        std::vector<int> order(static_cast<std::size_t>(d.exact().parameterCount()));
        std::iota(order.begin(), order.end(), 0);
        expectReferenceCovariance(d, order, c["expected"].toObject());
    }
    for (const QJsonObject& c : quorvel::test::referenceCases("paired_release")) {
        SCOPED_TRACE(c["id"].toString().toStdString());
        const PairedDesign d = pairedFrom(c["inputs"].toObject());
        // Display order: Sc, St, then each label's control and treatment
        // parameters side by side.
        const PairedReleaseInformation layout = d.exact();
        std::vector<int> order = {0, 1};
        for (const ParameterMap* map :
             {&layout.controlSurvivalMap(), &layout.controlDetectionMap()})
            for (int index = map->firstIndex(); index < map->nextIndex(); ++index)
                order.insert(order.end(), {index, index + map->createdCount()});
        order.insert(order.end(), {layout.controlLambdaIndex(), layout.treatmentLambdaIndex()});
        expectReferenceCovariance(d, order, c["expected"].toObject());
    }
}

// The paired design inverts its Hessian by the groups' blocks and the border
// of Sc and St; the result is the inverse of the whole Hessian to rounding.
TEST(ReleaseRecaptureInformation, PairedInverseByBlocksIsTheWholeInverse)
{
    DesignGenerator gen(71);
    for (int downstream : {0, 1, 3, 8, 20}) {
        const PairedDesign d = PairedDesign::random(gen, downstream);
        SCOPED_TRACE(::testing::Message() << downstream << " downstream reaches");
        PairedReleaseInformation exact = d.exact();
        std::vector<double> parameters;
        d.load(exact, parameters);
        Matrix hessian;
        Matrix covariance;
        exact.computeCovariance(covariance, nullptr, &hessian);
        Matrix whole;
        CovarianceCalculator::invert(hessian, whole);
        EXPECT_TRUE(matricesNear(covariance, whole, 1e-9));
    }
}

// One paired information loaded with case after case keeps the parts of its
// groups that did not change: every case, whatever came before it, gives the
// covariance of a new object loaded with it alone, and the Hessian of the
// chains themselves. Each step changes one thing a group's part depends on.
TEST(ReleaseRecaptureInformation, PairedCasesInTurnAreComputedAsAlone)
{
    DesignGenerator gen(19);
    const PairedDesign first = PairedDesign::random(gen, 6);
    std::vector<PairedDesign> cases = {first};
    const auto next = [&cases](const std::function<void(PairedDesign&)>& change) {
        PairedDesign d = cases.back();
        change(d);
        cases.push_back(d);
    };
    next([](PairedDesign& d) { d.treatmentRelease += 937; });
    next([](PairedDesign& d) { d.controlRelease = 3 * d.controlRelease + 1; });
    next([](PairedDesign& d) { d.st *= 0.5; });
    next([](PairedDesign& d) { d.sc *= 0.75; });
    next([](PairedDesign& d) { d.removals.back() = 0.5; });
    next([](PairedDesign& d) { d.survivalValues.front() *= 0.9; });
    next([](PairedDesign& d) { d.detectionValues.back() *= 0.9; });
    next([](PairedDesign& d) { d.lambda *= 0.9; });
    next([](PairedDesign& d) { d.treatmentRelease = 0; });
    cases.push_back(first);

    PairedReleaseInformation reused = first.exact();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "case " << i);
        std::vector<double> parameters;
        cases[i].load(reused, parameters);
        PairedReleaseInformation alone = cases[i].exact();
        cases[i].load(alone, parameters);

        Matrix chainsHessian(alone.parameterCount(), alone.parameterCount());
        for (const ReleaseChain& chain : alone.releaseChains())
            addChainHessian(chain, parameters, chainsHessian);
        Matrix hessian;
        reused.computeHessian(hessian);
        EXPECT_TRUE(matricesNear(hessian, chainsHessian, 1e-13));

        Matrix covariance;
        Matrix aloneCovariance;
        if (cases[i].treatmentRelease == 0) {
            EXPECT_THROW(reused.computeCovariance(covariance), NR3::NRError);
            continue;
        }
        reused.computeCovariance(covariance);
        alone.computeCovariance(aloneCovariance);
        ASSERT_EQ(covariance.rows(), aloneCovariance.rows());
        EXPECT_TRUE(std::equal(covariance.data(),
                               covariance.data() + covariance.rows() * covariance.cols(),
                               aloneCovariance.data()));
        Matrix whole;
        CovarianceCalculator::invert(chainsHessian, whole);
        EXPECT_TRUE(matricesNear(covariance, whole, 1e-9));
    }
}

TEST(ReleaseRecaptureInformation, SingularHessianIsReportedLikeTheCovarianceComputation)
{
    // No fish released: nothing can be estimated, and the covariance stays.
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

    // No fish survives the first reach, so the later ones are not estimable.
    SingleReleaseInformation cutOff({0, 1}, {0, 1});
    cutOff.setCase({0.0, 0.0}, parameters, {1000, 0, 0}, {0.0, 0.9}, {0.7, 0.6}, 0.5);
    Matrix hessian;
    EXPECT_THROW(cutOff.computeCovariance(covariance, nullptr, &hessian), NR3::NRError);
    EXPECT_FALSE(CovarianceCalculator::hasFullRank(hessian));
}

// Where nothing is detected at a site (P = 0), nothing reaches the final
// site (lambda = 0), or every fish is seen and the rest removed (P = lambda =
// 1), some cells have probability 0 and the Hessian of the expected counts has
// negative eigenvalues: inverting it would report negative variances.
// The same design with every probability of exactly 1 moved to 1 - 1e-7.
template <typename Design> Design justBelowOne(Design d)
{
    const auto below = [](double& v) {
        if (v == 1.0)
            v = 1.0 - 1e-7;
    };
    std::for_each(d.survivalValues.begin(), d.survivalValues.end(), below);
    std::for_each(d.detectionValues.begin(), d.detectionValues.end(), below);
    below(d.lambda);
    if constexpr (std::is_same_v<Design, PairedDesign>) {
        below(d.sc);
        below(d.st);
    }
    return d;
}

// At a probability of 1 the covariance is its limit: every variance within
// 1% of its value at 1 - 1e-7, and a known parameter's variance there
// already tiny (it tends to 0 with the distance from 1). Returns whether the design
// was computed at 1; one refused at 1 must be as ill-determined below it.
template <typename Design> bool expectContinuousAtOne(const Design& d)
{
    SCOPED_TRACE(::testing::Message() << d.reaches() << " reaches");
    auto atOne = d.exact();
    auto below = d.exact();
    std::vector<double> parameters;
    d.load(atOne, parameters);
    justBelowOne(d).load(below, parameters);
    Matrix limit;
    Matrix near;
    below.computeCovariance(near);
    try {
        atOne.computeCovariance(limit);
    } catch (const NR3::NRError&) {
        return false;
    }
    const std::vector<bool> known = atOne.knownParameters();
    for (int i = 0; i < limit.rows(); ++i) {
        if (known[static_cast<std::size_t>(i)])
            EXPECT_LT(near(i, i), 1e-6) << "known parameter " << i;
        else
            EXPECT_REL_NEAR(limit(i, i), near(i, i), 0.01) << "variance " << i;
    }
    return true;
}

// A detection or lambda of 1 is known exactly where the data would show its
// misses; the others' covariance is the limit towards 1. Hand formulas: with
// every fish alive at the site seen, the survival is a binomial proportion.
TEST(ReleaseRecaptureInformation, PrecisionAtOneIsTheLimitTowardsOne)
{
    std::vector<double> parameters;
    Matrix covariance;
    SingleReleaseInformation oneReach({0}, {0});
    oneReach.setCase({0.0}, parameters, {1000, 0}, {0.8}, {1.0}, 0.6);
    oneReach.computeCovariance(covariance);
    EXPECT_EQ(oneReach.knownParameters(), (std::vector<bool>{false, true, false}));
    EXPECT_REL_NEAR(covariance(0, 0), 0.8 * 0.2 / 1000, 1e-12);
    EXPECT_EQ(covariance(1, 1), 0.0);
    EXPECT_EQ(covariance(0, 1), 0.0);
    EXPECT_REL_NEAR(covariance(2, 2), 0.6 * 0.4 / 800, 1e-12);

    // With lambda 1 as well, and removals, only the survival is left.
    oneReach.setCase({0.3}, parameters, {1000, 0}, {0.8}, {1.0}, 1.0);
    oneReach.computeCovariance(covariance);
    EXPECT_EQ(oneReach.knownParameters(), (std::vector<bool>{false, true, true}));
    EXPECT_REL_NEAR(covariance(0, 0), 0.8 * 0.2 / 1000, 1e-12);

    // Paired release, one site seen with certainty: St is the ratio of two
    // binomial proportions, var = St^2 [(1 - Sc St)/(Rt Sc St) + (1 - Sc)/(Rc Sc)].
    PairedReleaseInformation paired({}, {0});
    paired.setCase(0.408, 0.933, {0.4586}, parameters, 66428, 43145, {}, {1.0}, 1.0);
    paired.computeCovariance(covariance);
    const double sc = 0.933;
    const double st = 0.408;
    EXPECT_REL_NEAR(covariance(0, 0), sc * (1 - sc) / 66428, 1e-9);
    EXPECT_REL_NEAR(covariance(1, 1),
                    st * st * ((1 - sc * st) / (43145 * sc * st) + (1 - sc) / (66428 * sc)), 1e-9);
    for (int i = 2; i < paired.parameterCount(); ++i)
        EXPECT_EQ(covariance(i, i), 0.0) << "parameter " << i;

    // Every fish survives and is seen: nothing is left to estimate.
    PairedReleaseInformation certain({0}, {0, 1});
    certain.setCase(1.0, 1.0, {0.2, 0.1}, parameters, 1500, 1000, {1.0}, {1.0, 1.0}, 1.0);
    certain.computeCovariance(covariance);
    for (int i = 0; i < certain.parameterCount(); ++i)
        EXPECT_EQ(covariance(i, i), 0.0) << "parameter " << i;

    // Four reaches with the second site's detection, then lambda, at 1.
    SingleDesign fourReaches{
        {0, 1, 2},       {0, 1, 2}, {0.2, 0.5, 0.1}, {1000, 0, 0, 0}, {0.85, 0.9, 0.8},
        {0.6, 1.0, 0.5}, 0.55};
    EXPECT_TRUE(expectContinuousAtOne(fourReaches));
    fourReaches.lambda = 1.0;
    EXPECT_TRUE(expectContinuousAtOne(fourReaches));
    fourReaches.detectionValues[1] = 0.7;
    EXPECT_TRUE(expectContinuousAtOne(fourReaches));
}

TEST(ReleaseRecaptureInformation, RandomDesignsAreContinuousAtOne)
{
    DesignGenerator gen(89, Spread::Moderate);
    int computed = 0;
    int designs = 0;
    for (int round = 0; round < 12; ++round) {
        for (int reaches = 1; reaches <= 5; ++reaches, designs += 2) {
            SingleDesign single = SingleDesign::random(gen, reaches);
            single.detectionValues[gen.uniform(0, int(single.detectionValues.size()) - 1)] = 1.0;
            if (gen.chance(0.5))
                single.lambda = 1.0;
            if (gen.chance(0.3))
                single.survivalValues.back() = 1.0;
            computed += expectContinuousAtOne(single);

            PairedDesign paired = PairedDesign::random(gen, reaches - 1);
            paired.detectionValues[gen.uniform(0, int(paired.detectionValues.size()) - 1)] = 1.0;
            if (gen.chance(0.5))
                paired.lambda = 1.0;
            if (gen.chance(0.3))
                paired.sc = 1.0;
            computed += expectContinuousAtOne(paired);
        }
    }
    EXPECT_GT(computed, designs / 2);
}

TEST(ReleaseRecaptureInformation, HessianWithNegativeEigenvaluesIsSingular)
{
    std::vector<double> parameters;
    SingleReleaseInformation oneReach({0}, {0});
    oneReach.setCase({0.0}, parameters, {1000, 0}, {0.8}, {0.0}, 0.6);
    expectSingular(oneReach);
    oneReach.setCase({0.0}, parameters, {1000, 0}, {0.8}, {0.7}, 0.0);
    expectSingular(oneReach);

    SingleReleaseInformation twoReaches({0, 1}, {0, 1});
    twoReaches.setCase({0.0, 0.0}, parameters, {1000, 0, 0}, {0.8, 0.9}, {0.0, 0.6}, 0.5);
    expectSingular(twoReaches);
}

TEST(ReleaseRecaptureInformation, PresetCancelFlagLeavesCovarianceUntouched)
{
    PairedReleaseInformation information({0}, {0, 1});
    std::vector<double> parameters;
    information.setCase(0.8, 0.9, {0.0, 0.0}, parameters, 1000, 1000, {0.9}, {0.7, 0.6}, 0.5);
    Matrix covariance(information.parameterCount(), information.parameterCount());
    covariance(0, 0) = -1.0;
    Matrix hessian(1, 1);
    hessian(0, 0) = -2.0;
    const std::atomic<bool> canceled{true};
    EXPECT_NO_THROW(information.computeCovariance(covariance, &canceled, &hessian));
    EXPECT_EQ(covariance(0, 0), -1.0);
    ASSERT_EQ(hessian.rows(), 1);
    EXPECT_EQ(hessian(0, 0), -2.0);

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
    EXPECT_THROW(single.setCase({0.0, 0.0}, parameters, {100, 0}, {0.8}, {0.7, 0.6}, 0.5),
                 std::invalid_argument);
    PairedReleaseInformation paired({0, 1}, {0, 1, 2});
    EXPECT_THROW(paired.setCase(0.8, 0.9, {0.0, 0.0}, parameters, 100, 100, {0.9, 0.9},
                                {0.7, 0.6, 0.5}, 0.5),
                 std::invalid_argument);

    Matrix hessian;
    EXPECT_THROW(SingleReleaseInformation({0}, {0}).computeHessian(hessian), std::logic_error);
}

TEST(ReleaseRecaptureInformation, RefusesValuesOutsideTheirDomain)
{
    const double nan = std::nan("");
    const std::string probability = ": a probability must lie in [0, 1]";
    const SingleDesign single = {{0, 1},     {0, 1},     {0.2, 0.5}, {1000, 10, 0},
                                 {0.8, 0.9}, {0.7, 0.6}, 0.5};
    const auto singleWith = [&single](const std::function<void(SingleDesign&)>& change) {
        SingleDesign d = single;
        change(d);
        return d;
    };
    expectRefused(singleWith([](SingleDesign& d) { d.survivalValues[1] = 1.5; }),
                  "survival value 1 is 1.5" + probability);
    expectRefused(singleWith([](SingleDesign& d) { d.survivalValues[0] = -0.5; }),
                  "survival value 0 is -0.5" + probability);
    expectRefused(singleWith([nan](SingleDesign& d) { d.detectionValues[0] = nan; }),
                  "detection value 0 is nan" + probability);
    expectRefused(singleWith([](SingleDesign& d) { d.lambda = 1.0000001; }),
                  "lambda is 1.0000001" + probability);
    expectRefused(singleWith([](SingleDesign& d) { d.lambda = HUGE_VAL; }),
                  "lambda is inf" + probability);
    expectRefused(singleWith([nan](SingleDesign& d) { d.removals[1] = nan; }),
                  "removal proportion 1 is nan: a removal proportion must lie in [0, 1)");
    expectRefused(singleWith([](SingleDesign& d) { d.removals[0] = 1.0; }),
                  "removal proportion 0 is 1: a removal proportion must lie in [0, 1)");
    expectRefused(singleWith([](SingleDesign& d) { d.removals[0] = -0.1; }),
                  "removal proportion 0 is -0.1");
    expectRefused(singleWith([](SingleDesign& d) { d.releaseSizes[0] = -1000; }),
                  "release size 0 is -1000: a release size must not be negative");

    const PairedDesign paired = {{0},  {0, 1}, 0.9,   0.8,        {0.1, 0.0},
                                 1000, 800,    {0.9}, {0.7, 0.6}, 0.5};
    const auto pairedWith = [&paired](const std::function<void(PairedDesign&)>& change) {
        PairedDesign d = paired;
        change(d);
        return d;
    };
    expectRefused(pairedWith([](PairedDesign& d) { d.sc = 1.5; }), "Sc is 1.5" + probability);
    expectRefused(pairedWith([](PairedDesign& d) { d.st = -0.1; }),
                  "St is -0.1: a survival ratio must not be negative");
    expectRefused(pairedWith([nan](PairedDesign& d) { d.st = nan; }), "St is nan");
    expectRefused(pairedWith([](PairedDesign& d) { d.sc = 0.5, d.st = 4.0; }),
                  "Sc * St is 2" + probability);
    expectRefused(pairedWith([](PairedDesign& d) { d.survivalValues[0] = HUGE_VAL; }),
                  "survival value 0 is inf" + probability);
    expectRefused(pairedWith([](PairedDesign& d) { d.detectionValues[1] = -1e-300; }),
                  "detection value 1 is -1e-300" + probability);
    expectRefused(pairedWith([](PairedDesign& d) { d.lambda = 1.5; }),
                  "lambda is 1.5" + probability);
    expectRefused(pairedWith([](PairedDesign& d) { d.removals[1] = 1.0; }),
                  "removal proportion 1 is 1");
    expectRefused(pairedWith([](PairedDesign& d) { d.controlRelease = -1; }),
                  "control release size is -1: a release size must not be negative");
    expectRefused(pairedWith([](PairedDesign& d) { d.treatmentRelease = -5; }),
                  "treatment release size is -5");

    // Labels number reaches and sites; none is negative.
    const std::string label = " is -1: a label must not be negative";
    const auto expectLabelRefused = [](const std::function<void()>& build,
                                       const std::string& refusal) {
        try {
            build();
            ADD_FAILURE() << "labels must be refused: " << refusal;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(refusal), std::string::npos) << error.what();
        }
    };
    expectLabelRefused(
        [] {
            SingleReleaseInformation({0, -1}, {0, 1});
        },
        "survival label 1" + label);
    expectLabelRefused([] { SingleReleaseLikelihoodFunc({0}, {-1}); }, "detection label 0" + label);
    expectLabelRefused([] { PairedReleaseInformation({-1}, {0, 1}); }, "survival label 0" + label);
    expectLabelRefused(
        [] {
            PairedReleaseLikelihoodFunc({0}, {0, -1});
        },
        "detection label 1" + label);

    // The bounds themselves are inside: St above 1 while Sc * St stays at 1.
    std::vector<double> parameters;
    PairedDesign edge = pairedWith([](PairedDesign& d) { d.sc = 0.5, d.st = 2.0; });
    edge.detectionValues = {0.0, 1.0};
    edge.lambda = 0.0;
    auto exact = edge.exact();
    EXPECT_NO_THROW(edge.load(exact, parameters));
    auto likelihood = edge.enumerated();
    EXPECT_NO_THROW(edge.load(likelihood, parameters));
}

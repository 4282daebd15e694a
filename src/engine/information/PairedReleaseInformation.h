#pragma once

#include "engine/information/ReleaseRecaptureInformation.h"
#include "engine/likelihoods/PairedReleaseLayout.h"

#include <vector>

// The exact precision of the paired-release design: a control and a treatment
// group released at site 0, surviving the first reach with Sc and Sc * St,
// then D downstream reaches with separate parameters per group. The parameter
// vector is that of PairedReleaseLikelihoodFunc built from the same labels:
// Sc, St, control and treatment survivals, control and treatment detections,
// the control lambda and the treatment lambda.
class PairedReleaseInformation : public ReleaseRecaptureInformation
{
public:
    static constexpr int scIndex = PairedReleaseLayout::scIndex;
    static constexpr int stIndex = PairedReleaseLayout::stIndex;

    // D survival labels, one per downstream reach, and D + 1 detection labels,
    // one per intermediate detection site. Throws std::invalid_argument when
    // the lengths do not fit.
    PairedReleaseInformation(const std::vector<int>& survivalLabels,
                             const std::vector<int>& detectionLabels);

    // Loads one case, with the arguments of PairedReleaseLikelihoodFunc::setCase:
    // D + 1 removal proportions, the two release sizes, one value per distinct
    // downstream survival and detection label (the same for both groups) and
    // lambda. Writes the true parameter vector into parametersOut (resized to
    // parameterCount()). Throws std::invalid_argument when a vector has the
    // wrong length or a value lies outside its domain (see
    // PairedReleaseLayout's checkFirstReach and checkCase), leaving the loaded
    // case and parametersOut as they were.
    void setCase(double st, double sc, const std::vector<double>& removalProportions,
                 std::vector<double>& parametersOut, int controlRelease, int treatmentRelease,
                 const std::vector<double>& survivalValues,
                 const std::vector<double>& detectionValues, double lambda);

    int downstreamReachCount() const { return layout.downstreamReachCount(); }
    const ParameterMap& controlSurvivalMap() const { return layout.controlSurvivalMap(); }
    const ParameterMap& treatmentSurvivalMap() const { return layout.treatmentSurvivalMap(); }
    const ParameterMap& controlDetectionMap() const { return layout.controlDetectionMap(); }
    const ParameterMap& treatmentDetectionMap() const { return layout.treatmentDetectionMap(); }
    int controlLambdaIndex() const { return layout.controlLambdaIndex(); }
    int treatmentLambdaIndex() const { return layout.treatmentLambdaIndex(); }
    const PairedReleaseLayout& parameterLayout() const { return layout; }

protected:
    // The two groups share only Sc, and St enters the treatment group alone,
    // so the Hessian is block diagonal (one block per group) apart from the
    // border of Sc and St. Each block is tested and inverted on its own, then
    // the border through its Schur complement; see the source for the
    // algebra.
    void invertChecked(const Matrix& hessian, Matrix& covariance,
                       const std::atomic<bool>* cancelFlag) const override;

    // Each group's part of the Hessian is its release size times its part
    // for one fish released (PerFishPart).
    void addGroupHessians(Matrix& hessian,
                          std::vector<std::vector<double>>* divergentDirections) const override;

private:
    // A group's part of the Hessian for one fish released. Every expected
    // count of a group is proportional to its release size, and so is its
    // part of the Hessian; its divergent directions do not depend on it. The
    // part depends only on the values the group's chain reads (key), and is
    // kept while they stay the same: over a range of a release size, or of
    // the other group's inputs, a group's part is formed and its own block
    // inverted once.
    struct PerFishPart
    {
        std::vector<double> key;
        bool formed = false;
        // The rows and columns of the part: Sc, St, then the group's own
        // parameters (groupIndices), and the part there.
        std::vector<int> indices;
        Matrix hessian;
        std::vector<std::vector<double>> directions;
        // The Cholesky inverse of the group's own block succeeded, with this
        // trace.
        bool inverted = false;
        Matrix blockInverse;
        double blockTrace = 0.0;
    };

    ReleaseChain groupChain(const ParameterMap& survivalMap, const ParameterMap& detectionMap,
                            int lambdaIndex) const;
    std::vector<int> groupIndices(int group) const;
    const PerFishPart& perFishPart(int group) const;

    PairedReleaseLayout layout;
    // Filled as the Hessian asks for them; one computation at a time uses an
    // object of this class, as setCase already requires.
    mutable PerFishPart perFish[2];
};

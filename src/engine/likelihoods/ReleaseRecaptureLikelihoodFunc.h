#pragma once

#include "engine/expressions/Expression.h"
#include "engine/expressions/ParameterMap.h"
#include "engine/histories/CaptureHistory.h"
#include "engine/likelihoods/LikelihoodFunc.h"

#include <vector>

// The multinomial likelihood of a release-recapture design. For every capture
// history of every release site it holds the cell probability as a parameter
// expression and the expected number of fish in that cell (release size ×
// probability at the true values); value() is the negative log-likelihood of
// those expected counts. Derived designs say how survival, detection and
// removal enter each reach.
//
// Notation: a fish released at site r passes reach j (site j to j+1) alive
// with probability S_j, is detected at site j+1 with P_j and, if detected,
// removed there with the known proportion c_j; the last reach's survival and
// detection are confounded in lambda. χ_s is the probability that a fish
// alive at site s is never detected again.
class ReleaseRecaptureLikelihoodFunc : public ryn::LikelihoodFunc
{
public:
    // −Σ_k n_k·ln π_k over the cells with π_k > 0 (zero, negative or NaN
    // probabilities are skipped, as are cells with no expected fish, which
    // add nothing).
    double value(const std::vector<double>& parameters) const override;

    int cellCount() const { return static_cast<int>(cells.size()); }
    // The probability expression of cell k, in enumeration order: release
    // sites in turn, the histories of each in the incrementer's order.
    const Expression& cell(int k) const { return cells[static_cast<std::size_t>(k)]; }
    double expectedCount(int k) const { return expectedCounts[static_cast<std::size_t>(k)]; }

protected:
    virtual Expression survivalExpression(int reach, const ParameterMap& survivalMap) const = 0;
    // The detection at the end of reach (site reach + 1).
    virtual Expression detectionExpression(int reach, const ParameterMap& detectionMap) const = 0;
    // The parameter at index, unnamed (used for lambda).
    virtual Expression parameterExpression(int index) const;
    // c_reach, the proportion of fish detected at site reach + 1 removed there.
    virtual double removalProportion(int reach) const = 0;
    // Releases every cell and its expected count.
    virtual void clear();

    // 1 − e.
    static Expression oneMinus(const Expression& e);
    // The parameter at index, named label in the printed form.
    static Expression namedParameter(const std::string& label, int index);
    // c_reach as a literal.
    Expression constantExpression(int reach) const;

    // Fills chi with χ_0 .. χ_{chiSize−1}:
    //   χ_{F−1} = 1 − lambda,
    //   χ_s = (1 − S_s) + S_s·(1 − P_s)·χ_{s+1},
    // each χ_{s+1} shared by handle, not copied.
    void buildChi(std::vector<Expression>& chi, int chiSize, const ParameterMap& survivalMap,
                  const ParameterMap& detectionMap, int lambdaIndex) const;

    // The factors of reach j that cells multiply by: S_j, P_j, 1 − P_j, c_j and
    // 1 − c_j. Built once per group and shared by every cell through handles.
    struct ReachFactors
    {
        Expression survival;
        Expression detection;
        Expression missed;
        Expression removed;
        Expression kept;
    };
    std::vector<ReachFactors> buildReachFactors(int reachCount, const ParameterMap& survivalMap,
                                                const ParameterMap& detectionMap) const;

    // The probability of history: with r its release site and m its last
    // detection, χ_r when the fish is never seen again, lambda alone for a
    // release at the last intermediate site, otherwise the product over the
    // reaches r .. m−1 of S_j·P_j·c_j (removed at j+1), S_j·P_j·(1 − c_j)
    // (seen at j+1) or S_j·(1 − P_j) (missed at j+1), followed by lambda
    // when m is the final site, by nothing when the fish was removed at m,
    // and by χ_m otherwise. The product is one fresh chain starting from S_r.
    Expression buildCellExpression(const CaptureHistory& history,
                                   const std::vector<Expression>& chi,
                                   const std::vector<ReachFactors>& factors,
                                   const ParameterMap& survivalMap, const Expression& lambda) const;

    // Appends the cells of release sites 0 .. releaseSizes.size() − 1 with
    // their expected counts N_s·π at parameters.
    void addCells(const std::vector<int>& releaseSizes, const std::vector<Expression>& chi,
                  const ParameterMap& survivalMap, const ParameterMap& detectionMap,
                  int lambdaIndex, const std::vector<double>& parameters);

private:
    std::vector<Expression> cells;
    std::vector<double> expectedCounts;
};

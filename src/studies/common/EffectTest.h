#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <limits>

// The power of the Wald test of a quantity with estimate q and standard error
// σ against the null value q0 at level alpha: the chance that the study's
// estimate differs significantly from q0 when q is the truth,
//   Φ(|q − q0|/σ − z) + Φ(−|q − q0|/σ − z),  z = z(1 − α/2)   (two-sided),
//   Φ(|q − q0|/σ − z),                      z = z(1 − α)     (one-sided,
// in the direction of the effect). It is α at q = q0 (two-sided) and rises to
// 1 as σ falls. A σ of 0 gives 1 when q differs from q0; NaN for a σ that is
// not a number above or at 0.
double waldPower(double estimate, double se, double nullValue, double alpha, bool twoSided);

// The test a study's power is computed for: the null value of each quantity
// ("no effect"), the level and the sidedness. The ratio quantities (the
// treatment-over-control survival St, the transport ratio T and the dam
// survival Sdam) have the null value 1 unless given another; a survival or
// detection of a single release has none until one is given, and shows no
// power. The window keeps one per design, design files hold it among the
// options, and quorvel-calc takes it from --null, --alpha and --sided.
struct EffectTest
{
    // Null values given by quantity name ("S1", "St").
    QMap<QString, double> nullValues;
    // A null value for every quantity without one of its own; NaN for none.
    double commonNull = std::numeric_limits<double>::quiet_NaN();
    double alpha = 0.05;
    bool twoSided = true;
    // Why the test as stored could not be read (null values typed in the
    // window that are no numbers); null when it could. A test that cannot be
    // read is refused when a run starts, rather than quietly replaced.
    QString unreadable;

    // The quantities whose null value is 1 unless given: St, T and Sdam.
    static const QStringList& ratioQuantities();
    // The null value of quantity; NaN when it has none.
    double nullValueOf(const QString& quantity) const;
    bool hasNullValue(const QString& quantity) const;
    // The power of quantity's test at an estimate with variance variance;
    // NaN when the quantity has no null value or the variance is not a
    // number at or above 0.
    double powerOf(const QString& quantity, double estimate, double variance) const;
    // Reads one null value: "S1=0.8" for a quantity (*quantity set), or a
    // bare number for every quantity without its own (*quantity null);
    // false for anything else.
    static bool readNullValue(const QString& text, QString* quantity, double* value);
    // The null values as one text, "S1=0.8, St=1.05", the value for every
    // other quantity last; empty for none.
    QString nullValuesText() const;
    // Takes the null values of such a text (entries between semicolons, tabs,
    // line breaks, or commas not followed by a digit) in place of those held; a null string, or why
    // the text cannot be read, the values held then unchanged.
    QString readNullValues(const QString& text);
    // Whether nothing was given: the defaults alone.
    bool isDefault() const;
    // A null string, or why the test cannot be made ("The level alpha must
    // lie between 0 and 1: 1.5 was given").
    QString error() const;
    // Which quantities are tested against what: "S1 against 0.8; St against
    // 1", the value for every other quantity last; of the ratio quantities
    // that keep their null value of 1, those among ratios.
    QString describeNullValues(const QStringList& ratios = ratioQuantities()) const;
    // "two-sided test at alpha = 0.05", for report and table heads.
    QString describe() const;
};

bool operator==(const EffectTest& a, const EffectTest& b);
inline bool operator!=(const EffectTest& a, const EffectTest& b)
{
    return !(a == b);
}

#pragma once

#include "forms/core/RangeArithmetic.h"

#include <QString>

#include <limits>

// One numeric input of a study form as the user left it: its text, which holds
// one number or a range "start:end", and the rules by which it delivers a value
// at every computation point. The range field of the window and the readers of
// design files both go through these rules, so a value is accepted, refused or
// read in exactly one way.
struct InputField
{
    // The parameter name the field was registered under ("Rc", "S3"); design
    // files and the program's tables name the input by it.
    QString key;
    // The name the field has now, which a link may change ("Rc-Rt"). Every
    // message names the field by it.
    QString name;
    QString text;
    RangeArithmetic::EditType editType = RangeArithmetic::Real;
    // Values delivered must lie in [editMin, editMax).
    double editMin = -2e10;
    double editMax = 2e10;
    // A field disabled by the form (a mode not chosen, a release size that
    // follows another, a parameter shared with an earlier reach) is not checked.
    bool enabled = true;
};

// The bounds of a check on every value a field delivers: low <= v <= high, with
// low < v when lowOpen and v < high when highOpen.
struct Interval
{
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    bool lowOpen = false;
    bool highOpen = false;

    static Interval atLeast(double bound)
    {
        return {bound, std::numeric_limits<double>::infinity()};
    }
    static Interval closed(double low, double high) { return {low, high}; }
    static Interval halfOpen(double low, double high) { return {low, high, true}; }
    // low <= v < high, as a proportion that must stay below 1.
    static Interval closedOpen(double low, double high) { return {low, high, false, true}; }

    bool contains(double v) const
    {
        return (lowOpen ? low < v : low <= v) && (highOpen ? v < high : v <= high);
    }
};

namespace fieldrules {

// The text "Out of range value in <name>: <v>" that a refused read throws.
QString outOfRangeText(const InputField& field, double value);

// What a value within bounds is, as the rule of a refusal: "must lie in
// (0, 1]", "must be a whole number of at least 1", "must be above 0".
QString boundsRule(const Interval& bounds, bool integer);
// The rule a range text without points breaks.
QString noPointsRule(const QString& rangeText);

// The characters a field's text is made of: digits, the decimal point and the
// range's colon. The field takes no other, so a number has no sign and no
// exponent.
bool isFieldCharacter(QChar c);

// The value at computation point i: the range's point for the field holding
// the range (range is then that range, else null), the text's number otherwise
// (0 when it is not a number). Throws the out-of-range text as a QString unless
// editMin <= v < editMax.
double valueAt(const InputField& field, const RangeArithmetic* range, int i);
// valueAt truncated toward zero; a value beyond int throws the same text.
int intValueAt(const InputField& field, const RangeArithmetic* range, int i);
// The value a point is computed with when the field delivers v: v truncated
// toward zero for an Integer field, as intValueAt reads it, else v.
double computedValue(const InputField& field, double v);

// Whether every value the field will deliver lies in bounds. A single value
// must be a number; the field holding the range must be a well-formed range
// with at least one point whose start and end lie in bounds (the points lie
// between them). An Integer field takes whole numbers within int only.
bool delivers(const InputField& field, bool holdsRange, const Interval& bounds);
// The rule the field breaks when it does not deliver (see delivers), worded
// for a Refusal: "is empty: it must lie in (0, 1]", "holds a range without
// points: ...", or the bounds' rule; a null string when it delivers.
QString breach(const InputField& field, bool holdsRange, const Interval& bounds);

// The text a field holding the range "start:end" is given when the form
// disables it: the start as typed, which keeps every digit of a large release
// size, or 0 when the start is not a number (it then reads as 0).
QString rangeStartText(const QString& rangeText);

} // namespace fieldrules

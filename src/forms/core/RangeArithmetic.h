#pragma once

#include <QList>
#include <QString>

// The computation points of a range "start:end", by the spacing rules of the
// study forms. It needs nothing but the range, so that a run working from a
// copy of a form's inputs, or a reader of design files, gets the same points
// as the form that shows the range. QtCore only.
class RangeArithmetic
{
public:
    // How a range is divided into points: Integer ranges step by whole numbers
    // (release sizes), Real ranges always give the full count of points.
    enum EditType { Integer = 0, Real = 1 };

    RangeArithmetic() = default;
    RangeArithmetic(double start, double end, EditType type, int maxPoints = 100);

    // The range text "start:end" split at its one colon. A part that is not a
    // number reads as 0, so the unfinished "5:" is the range 5 to 0. False, and
    // nothing written, unless the text has exactly one colon.
    static bool parse(const QString& text, double* start, double* end);

    // A Real range has maxPoints points. An Integer range steps by whole
    // numbers: n = end - start, truncated, divided by ten until it is at most
    // maxPoints, so 100:1000 gives 90 points 10 apart; n <= 0 means no points.
    int numPoints() const;
    // With n points the step is (end - start) / n: point i lies at
    // start + i * step for 0 < i < n - 1, and the last point is end itself,
    // one longer step on.
    double pointAt(int i) const;
    QList<double> points() const;
    // "start:end", each number as QString::number(value, format, precision).
    QString toString(char format, int precision) const;

    double start() const { return first; }
    double end() const { return last; }
    EditType editType() const { return type; }
    int maxPoints() const { return pointLimit; }

private:
    double first = 0.0;
    double last = 0.0;
    EditType type = Real;
    int pointLimit = 100;
};

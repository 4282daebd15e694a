#pragma once

#include <QJsonObject>
#include <QString>

struct Band;
struct Sensitivity;

// The sensitivity of a design and its bands as plain text (columns aligned
// for a terminal), CSV (one row per input, or per point of the range) and
// JSON. The calculator prints them; the dialog saves and copies them.
namespace sensitivitytables {

QString text(const Sensitivity& sensitivity);
QString csv(const Sensitivity& sensitivity);
// quantity, measure (as --measure names it), base and the inputs in the
// order shown, each with name, value, low, high, measureLow and measureHigh;
// a measure that cannot be computed is null.
QJsonObject json(const Sensitivity& sensitivity);

QString text(const Band& band);
QString csv(const Band& band);
// quantity, measure, the box and one entry per point with x, base, min, max,
// the inputs at each (minAt, maxAt) and whether each is inside the box.
QJsonObject json(const Band& band);

// A measure as the tables show it: 7 significant digits, "none" when it
// cannot be computed.
QString measureText(double measure);
// An input's value as the window's table shows it: 10 significant digits,
// unless they would round it onto a whole number it is not (a removal taken
// just below 1, where 1 is refused, must not read 1): then every digit.
QString inputText(double value);

} // namespace sensitivitytables

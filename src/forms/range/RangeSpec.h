#pragma once

#include "forms/core/RangeArithmetic.h"

#include <QList>
#include <QString>

class RangeLineEdit;

// The range record of one study form. At most one field of the form holds a
// range "start:end" at a time; the record names that field and turns the range
// into the computation points every run loops over. Fields are registered here
// so that they share the record (see RangeField); the record owns none of them.
class RangeSpec
{
public:
    explicit RangeSpec(int maxPoints = 100);
    // Lets go of the fields still registered, which may outlive the record (a
    // form's fields are deleted with its widgets, after the record), so that
    // none of them reads it once it is gone.
    ~RangeSpec();

    void addEdit(RangeLineEdit* edit);
    // Forgets a field before it is deleted; the caller releases the range first
    // if the field holds it.
    void removeEdit(RangeLineEdit* edit);
    const QList<RangeLineEdit*>& edits() const { return edits_; }

    // The field named name holds the range (an empty name never does).
    bool isOwner(const QString& name) const;
    void setOwner(const QString& name);
    void clearOwner();
    // Name of the field holding the range_; a null string when no range is set.
    const QString& ownerName() const { return ownerName_; }

    // Reads "start:end" into the record and makes name its holder.
    void parse(const QString& text, const QString& name, RangeArithmetic::EditType type);
    // The holder's text has changed: a text with a colon is read again as the
    // range, any other text releases it.
    void followHolder(const QString& text, RangeArithmetic::EditType type);

    // The points of the range by RangeArithmetic; a single point, the start,
    // while no field holds the range.
    int numPoints() const;
    double pointAt(int i) const;
    QList<double> points() const;
    QString toString(char format, int precision) const;

    int maxPoints() const { return range_.maxPoints(); }
    RangeArithmetic::EditType editType() const { return range_.editType(); }
    double start() const { return range_.start(); }
    double end() const { return range_.end(); }

private:
    RangeArithmetic current() const;

    QList<RangeLineEdit*> edits_;
    QString ownerName_;
    RangeArithmetic range_;
};

#pragma once

#include "forms/range/RangeLineEdit.h"

#include <QList>
#include <QString>

// The range record of one study form. At most one field of the form holds a
// range "start:end" at a time; the record names that field and turns the range
// into the computation points every run loops over. Fields are registered here
// so that they share the record; the record owns none of them.
class RangeSpec
{
public:
    explicit RangeSpec(int maxPoints = 100);

    void addEdit(RangeLineEdit* edit);
    const QList<RangeLineEdit*>& edits() const { return edits_; }

    // The field named name holds the range (an empty name never does).
    bool isOwner(const QString& name) const;
    void setOwner(const QString& name);
    void clearOwner();
    // Name of the field holding the range; a null string when no range is set.
    const QString& ownerName() const { return ownerName_; }

    // Reads "start:end" into the record and makes name its holder.
    void parse(const QString& text, const QString& name, RangeLineEdit::EditType type);

    int numPoints() const;
    double pointAt(int i) const;
    QList<double> points() const;
    QString toString(char format, int precision) const;

    int maxPoints() const { return maxPoints_; }
    RangeLineEdit::EditType editType() const { return editType_; }
    double start() const { return start_; }
    double end() const { return end_; }

private:
    int maxPoints_;
    QList<RangeLineEdit*> edits_;
    QString ownerName_;
    RangeLineEdit::EditType editType_ = RangeLineEdit::Real;
    double start_ = 0.0;
    double end_ = 0.0;
};

#pragma once

#include "forms/core/InputField.h"
#include "forms/core/RangeArithmetic.h"

#include <QString>

// One input of a design's field table: the parameter name it is registered
// under, the settings entry that stores it (and the entry's index for a
// per-reach list), its spacing, its bounds and the name its label shows. The form registers and
// configures its widgets from the table; readers of design files and of the
// stored settings build the same inputs from it.
struct FieldSpec
{
    QString key;
    int settingsId = 0;
    int settingsIndex = -1;
    RangeArithmetic::EditType editType = RangeArithmetic::Real;
    double editMin = -2e10;
    double editMax = 2e10;
    // The name the form's label shows, when it differs from key ("St" for the
    // paired design's ST): every message names the field by it.
    QString label = QString();

    QString shownName() const { return label.isEmpty() ? key : label; }

    // The field with an empty text under its shown name.
    InputField blank() const
    {
        InputField field;
        field.key = key;
        field.name = shownName();
        field.editType = editType;
        field.editMin = editMin;
        field.editMax = editMax;
        return field;
    }
};

#pragma once

#include "forms/core/InputField.h"
#include "forms/core/RangeArithmetic.h"

#include <QString>

// One input of a design's field table: the parameter name it is registered
// under, the settings entry that stores it (and the entry's index for a
// per-reach list), its spacing and its bounds. The form registers and
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

    // The field with an empty text under its own name.
    InputField blank() const
    {
        InputField field;
        field.key = key;
        field.name = key;
        field.editType = editType;
        field.editMin = editMin;
        field.editMax = editMax;
        return field;
    }
};

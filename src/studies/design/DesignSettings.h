#pragma once

#include "studies/design/Design.h"

#include <QList>
#include <QPair>
#include <QVariant>

#include <functional>

// A design as the window keeps it in its settings: the texts of its fields,
// its switches, sharing choices and reach count (what its form binds) and its
// options. Read through the program's table of settings, values as stored,
// converted only as the window converts them when it binds its widgets, so
// that the command-line calculator computes what the window would.
namespace DesignSettings {

// The stored value of setting id (QVSettingsKeys), or of entry index of a
// per-reach setting (index -1 for a plain one), or its default.
using StoredValue = std::function<QVariant(int id, int index)>;

// The design of kind as the window would show it on opening:
// - the reach count raised to the design's least and cut to the most, as the
//   reach count dialog does;
// - every field's text as stored; a choice that is not an entry of its combo
//   means the reach's own parameter;
// - the switches as their boxes are bound (the balloon-tag design gives T
//   when "btps_use_t" is set, St otherwise); the transport design's choice
//   of giving Sc*P is not stored, and it opens with Sc and P;
// - the range held by the first field of the form's order that is enabled
//   and holds a colon; a field disabled by a switch gives up a range it held
//   (its text becomes the start), and a later field that holds a second
//   range is emptied, as the form does with a range it cannot take.
Design stored(Design::Kind kind, const StoredValue& value);

// The options of kind as the window reads them when it runs and reports.
DesignOptions storedOptions(Design::Kind kind, const StoredValue& value);

// The test of kind's power as the window stores it: its null values, level
// and sidedness, kept per design. Texts that cannot be read give a test
// whose error() says so.
EffectTest storedEffect(Design::Kind kind, const StoredValue& value);

// One stored option: setting id, its entry index for a setting kept per
// design (-1 for a plain one), and the value.
struct OptionSetting
{
    int id;
    int index;
    QVariant value;
};

// The settings that hold the options of kind, with the values the window
// would store for options: the window stores them when it opens a design.
QList<OptionSetting> optionSettings(Design::Kind kind, const DesignOptions& options);

} // namespace DesignSettings

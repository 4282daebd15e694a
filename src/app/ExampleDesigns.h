#pragma once

#include "studies/design/Design.h"

namespace ryn {
class RynSettings;
}

// The example designs a design's window shows when it first opens, so that a
// newcomer can run it at once: those of the examples folder, kept in the
// program's resources.
namespace ExampleDesigns {

// Whether settings hold any input of kind: then they are shown, not the
// example.
bool hasStoredInputs(Design::Kind kind, const ryn::RynSettings& settings);

// The example of kind; false when it cannot be read.
bool example(Design::Kind kind, Design* design);

} // namespace ExampleDesigns

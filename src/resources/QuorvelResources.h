#pragma once

namespace quorvel {

// Registers the program's embedded images (":/images/...": the splash screen,
// the program icon and the design schematics), the example designs
// (":/examples/<design>.json") and the Getting started page
// (":/help/getting-started.html"); the frame registers its own icons. The images
// live in a static library, from which the linker would drop them unless
// something refers to them: every user of the images calls this first. Safe
// to call any number of times.
void initResources();

} // namespace quorvel

#pragma once

namespace quorvel {

// Registers the embedded images (":/images/...", ":/rynui/..."). The images
// live in a static library, from which the linker would drop them unless
// something refers to them: every user of the images calls this first. Safe
// to call any number of times.
void initResources();

} // namespace quorvel

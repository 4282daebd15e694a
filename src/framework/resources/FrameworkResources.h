#pragma once

namespace ryn {

// Registers the frame's own icons (":/rynui/..."): the marks of the
// navigation tree and the run button. They live in the framework's static
// library, from which the linker would drop them unless something refers to
// them: every user of the icons calls this first. Safe to call any number of
// times.
void initFrameworkResources();

} // namespace ryn

#include "framework/resources/FrameworkResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerFrameworkResources()
{
    Q_INIT_RESOURCE(framework);
}

namespace ryn {

void initFrameworkResources()
{
    static const bool registered = (registerFrameworkResources(), true);
    Q_UNUSED(registered);
}

} // namespace ryn

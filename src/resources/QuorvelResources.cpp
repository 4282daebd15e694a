#include "resources/QuorvelResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerQuorvelResources()
{
    Q_INIT_RESOURCE(Quorvel);
}

namespace quorvel {

void initResources()
{
    static const bool registered = (registerQuorvelResources(), true);
    Q_UNUSED(registered);
}

} // namespace quorvel

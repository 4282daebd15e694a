#include "engine/expressions/RCObject.h"

void RCObject::removeReference()
{
    if (--refCount == 0)
        delete this;
}

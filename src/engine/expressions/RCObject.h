#pragma once

// Base of the values shared by reference-counted handles. The count starts at
// 0; the first handle raises it to 1 and the last one to let go deletes the
// value. The counts are plain integers: shared values never cross threads.
class RCObject
{
public:
    virtual ~RCObject() = default;

    void addReference() { ++refCount; }
    // Drops one reference and deletes this object when none is left.
    void removeReference();
    bool isShared() const { return refCount > 1; }
    int referenceCount() const { return refCount; }

protected:
    RCObject() = default;
    // A copy is a new value: nobody refers to it yet.
    RCObject(const RCObject&)
        : refCount(0)
    {}
    RCObject& operator=(const RCObject&) { return *this; }

private:
    int refCount = 0;
};

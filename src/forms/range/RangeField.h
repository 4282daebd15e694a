#pragma once

class RangeSpec;

// What a form's range record asks of a field registered with it: to share the
// record. From then on the field reads and updates the record through the
// record's own functions; the record needs nothing else of its fields.
class RangeField
{
public:
    virtual void shareRange(RangeSpec* record) = 0;

protected:
    ~RangeField() = default;
};

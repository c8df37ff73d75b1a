// A bound call: one operation that runs what was bound into it.
#pragma once

class ISimpleBind {
public:
    virtual void Invoke() = 0;
    virtual ~ISimpleBind() = default;
};

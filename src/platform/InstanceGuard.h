#pragma once

// Tells whether another instance of the program already runs for this user.
class InstanceGuard
{
public:
    virtual ~InstanceGuard() = default;
    // Claims the instance slot on first call; true when another process holds it.
    virtual bool anotherInstanceRunning() = 0;
};

#pragma once
#include <QString>

// Tells whether another instance of the program already runs for this user.
class InstanceGuard
{
public:
    // What claiming the instance slot found.
    struct Claim
    {
        enum Outcome {
            // The slot is ours for the life of the guard.
            Acquired,
            // A live process holds it.
            HeldByOther,
            // Nobody holds it, but it could not be taken either: no one can tell whether
            // another instance runs.
            Unavailable,
        };
        Outcome outcome = Acquired;
        // For Unavailable: the folder where the slot lives and why it could not be taken there.
        QString folder;
        QString reason;
    };

    virtual ~InstanceGuard() = default;
    // Claims the instance slot on first call; later calls report on the slot already held.
    virtual Claim claim() = 0;
};

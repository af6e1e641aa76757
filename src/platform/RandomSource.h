#pragma once
#include <QtGlobal>

// Chance, where the program leaves something to it.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A number from 0 up to, not including, bound (which is above 0).
    virtual quint32 bounded(quint32 bound) = 0;
};

#pragma once
#include <QDate>

// Today's date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

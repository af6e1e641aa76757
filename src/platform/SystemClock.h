#pragma once
#include "Clock.h"

class SystemClock : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
};

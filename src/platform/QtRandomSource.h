#pragma once
#include "RandomSource.h"

#include <QRandomGenerator>

// A generator of its own, seeded once from the system.
class QtRandomSource : public RandomSource
{
public:
    quint32 bounded(quint32 bound) override { return m_generator.bounded(bound); }

private:
    QRandomGenerator m_generator = QRandomGenerator::securelySeeded();
};

#include "randomsource.h"

#include <QDateTime>

void SystemRandom::seedFromClock()
{
    m_engine.seed(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch()));
}

double SystemRandom::next()
{
    double value = m_uniform(m_engine);
    // Some standard libraries can round up to exactly 1.0; the callers rely on [0, 1).
    return value >= 1.0 ? 0.0 : value;
}

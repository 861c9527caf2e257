#pragma once
#include <random>

// Uniform reals in [0, 1), seeded from the clock; tests choose the sequence.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};

// A Mersenne Twister, seeded from the system at creation and from the clock on request.
class SystemRandom : public RandomSource
{
public:
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937 m_engine{std::random_device{}()};
    std::uniform_real_distribution<double> m_uniform{0.0, 1.0};
};

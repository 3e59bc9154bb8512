#pragma once

#include <QtGlobal>

#include <random>

namespace stolvar {

// The random source of the sample register. The standard distributions differ between
// library implementations, so the few shapes needed are derived from the raw Mersenne
// Twister output: the same seed gives the same register with every compiler.
class SampleRandom
{
public:
    explicit SampleRandom(quint32 seed) : m_engine(seed) {}

    // A whole number from low to high, both included.
    int between(int low, int high) { return low + int(m_engine() % quint32(high - low + 1)); }
    // A number in [0, 1).
    double uniform() { return double(m_engine()) / 4294967296.0; }
    bool chance(double probability) { return uniform() < probability; }
    // Roughly normal with mean 0 and deviation 1 (sum of twelve uniform draws).
    double gauss()
    {
        double sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum - 6.0;
    }

private:
    std::mt19937 m_engine;
};

} // namespace stolvar

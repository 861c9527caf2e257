#pragma once
#include <QTransform>

#include <numbers>

// A turn by an angle known when the program is built, worked out then: QTransform::rotate asks
// the C library, whose sine and cosine tables (a quarter of a megabyte) the pictures drawn at
// start would otherwise be alone to bring into memory.
struct FixedTurn {
    double cos = 1;
    double sin = 0;

    // The same turn as QTransform().rotate(degrees).
    QTransform transform() const { return QTransform(cos, sin, -sin, cos, 0, 0); }
};

// Declare the result constexpr for it to be worked out when building.
constexpr FixedTurn fixedTurn(double degrees)
{
    double turns = degrees / 360;
    turns -= static_cast<double>(static_cast<long long>(turns));
    if (turns > 0.5)
        turns -= 1;
    else if (turns < -0.5)
        turns += 1;
    const double x = turns * 2 * std::numbers::pi; // within [-pi, pi]
    // Taylor's series: at |x| <= pi, terms beyond the 25th are far below a double's precision.
    double cosTerm = 1;
    double sinTerm = x;
    FixedTurn turn{0, 0};
    for (int k = 0; k < 25; ++k) {
        turn.cos += cosTerm;
        turn.sin += sinTerm;
        cosTerm *= -x * x / ((2 * k + 1) * (2 * k + 2));
        sinTerm *= -x * x / ((2 * k + 2) * (2 * k + 3));
    }
    return turn;
}

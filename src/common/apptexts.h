#pragma once
#include <QRect>
#include <QString>

#include <cmath>

// Names the program shows of itself.
namespace AppTexts {
inline const QString Title = QStringLiteral("Ecole Primaire - Plumalin");
inline const QString ProductName = QStringLiteral("Plumalin");
inline const QString MainCaption = QStringLiteral("Plumalin pour Ecole Primaire");
inline constexpr int VersionMajor = 1;
inline constexpr int VersionMinor = 0;
inline constexpr int VersionRevision = 0;
}

// Twips are the unit of every position in the program's layouts: 15 to the pixel at 96 dpi.
constexpr int twips(int pixels) { return pixels * 15; }
constexpr int pixels(int twipsValue) { return twipsValue / 15; }
// The nearest pixel, for the places the exercise computes (its tiles, its speech bubble).
inline int nearestPixel(double twipsValue) { return int(std::lround(twipsValue / 15.0)); }
// A control's place given in twips, as the layouts give it.
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

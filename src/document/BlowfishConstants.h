#pragma once

#include <QtGlobal>

// The constants every Blowfish key schedule starts from.
namespace BlowfishConstants {

inline constexpr int SubkeyCount = 18;
inline constexpr int BoxCount = 4;
inline constexpr int BoxSize = 256;

extern const quint32 initialSubkeys[SubkeyCount];
extern const quint32 initialBoxes[BoxCount][BoxSize];

} // namespace BlowfishConstants

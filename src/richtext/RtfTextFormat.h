#pragma once

#include <QTextFormat>

// What the QTextDocument reader and writer agree on beyond Qt's own formats.
namespace RtfTextFormat {

// The \fcharset of a run's font, kept on its QTextCharFormat when it is not 0 (ANSI),
// so that a document read and written again names the same font table.
inline constexpr int CharsetProperty = QTextFormat::UserProperty + 0x5243;

// Indents: RTF counts twips (1440 an inch), a QTextDocument pixels at 96 an inch.
inline constexpr double TwipsPerPixel = 15.0;

// Point sizes a document may hold; \fsN counts half points.
inline constexpr int MinHalfPoints = 2;
inline constexpr int MaxHalfPoints = 3276;

} // namespace RtfTextFormat

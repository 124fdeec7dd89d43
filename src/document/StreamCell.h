#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Bytes inside a table cell: the text "<CT_STREAM>" followed by two lowercase hexadecimal
// digits per byte, in byte order. Attached files and table element streams travel in the
// database this way.
namespace StreamCell {

inline constexpr QByteArrayView Tag("<CT_STREAM>");

QByteArray encode(QByteArrayView bytes);

// A cell counts as a stream cell when it contains the tag anywhere; its digits are read
// from just after the first 11 characters all the same.
bool isStreamCell(QByteArrayView cell);

// The number of bytes a stream cell encodes: (length - 11) / 2; an odd last digit is
// ignored.
qsizetype encodedCount(QByteArrayView cell);

// Decodes count digit pairs (at most encodedCount) into out. A pair reads as strtol reads
// it in base 16: its leading hex digits, so a damaged pair never reads beyond itself.
void decodeInto(QByteArrayView cell, char *out, qsizetype count);

// The decoded bytes, or nothing when the cell is no stream cell.
std::optional<QByteArray> decode(QByteArrayView cell);

} // namespace StreamCell

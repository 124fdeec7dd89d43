#include "StreamCell.h"

#include <array>

namespace StreamCell {

namespace {

constexpr char kDigits[] = "0123456789abcdef";

// -1 for characters that are no hexadecimal digit.
constexpr std::array<signed char, 256> makeNibbles()
{
    std::array<signed char, 256> table{};
    for (auto &entry : table) {
        entry = -1;
    }
    for (int i = 0; i < 10; ++i) {
        table['0' + i] = static_cast<signed char>(i);
    }
    for (int i = 0; i < 6; ++i) {
        table['a' + i] = static_cast<signed char>(10 + i);
        table['A' + i] = static_cast<signed char>(10 + i);
    }
    return table;
}

constexpr std::array<signed char, 256> kNibbles = makeNibbles();

char decodePair(char high, char low)
{
    const int h = kNibbles[static_cast<unsigned char>(high)];
    if (h < 0) {
        return 0;
    }
    const int l = kNibbles[static_cast<unsigned char>(low)];
    return static_cast<char>(l < 0 ? h : (h << 4) | l);
}

} // namespace

QByteArray encode(QByteArrayView bytes)
{
    QByteArray cell(Tag.size() + 2 * bytes.size(), Qt::Uninitialized);
    char *out = cell.data();
    for (const char c : Tag) {
        *out++ = c;
    }
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = kDigits[b >> 4];
        *out++ = kDigits[b & 0x0F];
    }
    return cell;
}

bool isStreamCell(QByteArrayView cell)
{
    return cell.indexOf(Tag) >= 0;
}

qsizetype encodedCount(QByteArrayView cell)
{
    return cell.size() < Tag.size() ? 0 : (cell.size() - Tag.size()) / 2;
}

void decodeInto(QByteArrayView cell, char *out, qsizetype count)
{
    const qsizetype n = std::min(count, encodedCount(cell));
    const char *digits = cell.data() + Tag.size();
    for (qsizetype i = 0; i < n; ++i) {
        out[i] = decodePair(digits[2 * i], digits[2 * i + 1]);
    }
}

std::optional<QByteArray> decode(QByteArrayView cell)
{
    if (!isStreamCell(cell)) {
        return std::nullopt;
    }
    const qsizetype n = encodedCount(cell);
    QByteArray bytes(n, Qt::Uninitialized);
    decodeInto(cell, bytes.data(), n);
    return bytes;
}

} // namespace StreamCell

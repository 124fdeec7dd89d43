#include "RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace {

constexpr qsizetype kMaxWordLetters = 32;
constexpr int kMaxParamDigits = 10;

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c)
{
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

RtfToken make(RtfToken::Kind kind)
{
    RtfToken token;
    token.kind = kind;
    return token;
}

bool endsText(char c)
{
    return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n';
}

} // namespace

RtfToken RtfTokenizer::next()
{
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return make(RtfToken::GroupStart);
        case '}':
            ++m_pos;
            return make(RtfToken::GroupEnd);
        case '\\':
            return controlWord();
        case '\r':
        case '\n':
            ++m_pos;
            continue;
        default:
            return text();
        }
    }
    return make(RtfToken::End);
}

RtfToken RtfTokenizer::text()
{
    const qsizetype start = m_pos;
    while (m_pos < m_data.size() && !endsText(m_data[m_pos])) {
        ++m_pos;
    }
    RtfToken token = make(RtfToken::Text);
    token.bytes = m_data.sliced(start, m_pos - start);
    return token;
}

RtfToken RtfTokenizer::controlWord()
{
    const qsizetype size = m_data.size();
    ++m_pos; // the backslash
    if (m_pos >= size) {
        return make(RtfToken::End);
    }
    const auto first = static_cast<unsigned char>(m_data[m_pos]);
    if (!isRtfLetter(first)) {
        ++m_pos;
        if (first == '\'' && m_pos + 1 < size) {
            const int high = hexValue(static_cast<unsigned char>(m_data[m_pos]));
            const int low = hexValue(static_cast<unsigned char>(m_data[m_pos + 1]));
            if (high >= 0 && low >= 0) {
                m_pos += 2;
                RtfToken token = make(RtfToken::Hex);
                token.byte = static_cast<unsigned char>(high * 16 + low);
                return token;
            }
        }
        RtfToken token = make(RtfToken::Symbol);
        token.symbol = static_cast<char>(first);
        return token;
    }

    RtfToken token = make(RtfToken::Word);
    const qsizetype wordStart = m_pos;
    while (m_pos < size && isRtfLetter(static_cast<unsigned char>(m_data[m_pos]))) {
        ++m_pos;
    }
    token.overLong = m_pos - wordStart > kMaxWordLetters;
    if (!token.overLong) {
        token.word = m_data.sliced(wordStart, m_pos - wordStart);
    }

    // A '-' not followed by a digit is dropped, as rtfToText drops it.
    const bool negative = m_pos < size && m_data[m_pos] == '-';
    if (negative) {
        ++m_pos;
    }
    long long value = 0;
    int digits = 0;
    while (m_pos < size && isDigit(static_cast<unsigned char>(m_data[m_pos]))) {
        if (++digits <= kMaxParamDigits) {
            value = value * 10 + (m_data[m_pos] - '0');
        }
        ++m_pos;
    }
    if (digits > 0) {
        value = std::min<long long>(value, INT_MAX);
        token.hasParam = true;
        token.param = static_cast<int>(negative ? -value : value);
    }
    if (m_pos < size && m_data[m_pos] == ' ') {
        ++m_pos;
    }

    if (token.word == QByteArrayView("bin") && token.hasParam && token.param > 0) {
        const qsizetype count = std::min<qsizetype>(token.param, size - m_pos);
        RtfToken binary = make(RtfToken::Binary);
        binary.bytes = m_data.sliced(m_pos, count);
        m_pos += count;
        return binary;
    }
    return token;
}

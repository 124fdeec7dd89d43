#include "RtfListNumbering.h"

namespace {

constexpr int kMaxLetterRepeats = 26;
constexpr int kMaxRoman = 3999;

QString letters(int number, char16_t first)
{
    const int repeats = (number - 1) / 26 + 1;
    return QString(repeats, QChar(char16_t(first + (number - 1) % 26)));
}

QString roman(int number)
{
    static constexpr struct {
        int value;
        const char *digits;
    } kDigits[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                   {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString text;
    for (const auto &digit : kDigits) {
        for (; number >= digit.value; number -= digit.value) {
            text += QLatin1StringView(digit.digits);
        }
    }
    return text;
}

} // namespace

QString rtfListNumberText(int number, RtfListStyle style)
{
    const bool letter = style == RtfListStyle::UpperLetter || style == RtfListStyle::LowerLetter;
    const bool romanStyle = style == RtfListStyle::UpperRoman || style == RtfListStyle::LowerRoman;
    if (number > 0 && letter && number <= 26 * kMaxLetterRepeats) {
        return letters(number, style == RtfListStyle::UpperLetter ? u'A' : u'a');
    }
    if (number > 0 && romanStyle && number <= kMaxRoman) {
        const QString text = roman(number);
        return style == RtfListStyle::UpperRoman ? text : text.toLower();
    }
    return QString::number(number);
}

QString RtfListCounter::markerOf(const RtfListNumbering &numbering)
{
    if (!m_running) {
        m_counters.fill(std::nullopt);
        m_running = true;
    }
    switch (numbering.level) {
    case RtfListLevel::Continue:
        return {};
    case RtfListLevel::Bullet:
        return numbering.before + numbering.after + QLatin1Char('\t');
    case RtfListLevel::Body:
    case RtfListLevel::Outline:
        break;
    }
    const std::size_t level = numbering.level == RtfListLevel::Body ? 0 : std::size_t(numbering.outlineLevel);
    std::optional<Counter> &counter = m_counters[level];
    if (counter && counter->style == numbering.style && counter->start == numbering.start) {
        ++counter->number;
    } else {
        counter = Counter{numbering.start, numbering.style, numbering.start};
    }
    if (level > 0) {
        for (std::size_t deeper = level + 1; deeper < m_counters.size(); ++deeper) {
            m_counters[deeper].reset();
        }
    }
    return numbering.before + rtfListNumberText(counter->number, numbering.style) + numbering.after + QLatin1Char('\t');
}

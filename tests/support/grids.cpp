#include "grids.h"

#include <gtest/gtest.h>

namespace kaleno::testing {

Grid grid(std::string_view text)
{
    Grid result {};
    EXPECT_TRUE(parseGridText(text, result)) << "not a grid: " << text;
    return result;
}

CellTexts textsOf(std::string_view text)
{
    const Grid digits = grid(text);
    CellTexts texts;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (digits[cell] != 0)
            texts[cell] = std::string(1, static_cast<char>('0' + digits[cell]));
    }
    return texts;
}

std::string gridOf(const CellTexts &texts)
{
    std::string result;
    for (const auto &text : texts) {
        if (text.empty())
            result += '.';
        else if (text.size() == 1 && text[0] >= '1' && text[0] <= '9')
            result += text;
        else
            result += '?';
    }
    return result;
}

} // namespace kaleno::testing

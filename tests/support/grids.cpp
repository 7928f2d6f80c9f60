#include "grids.h"

#include <gtest/gtest.h>

#include <string>

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
    for (int cell = 0; cell < CellCount; ++cell)
        texts[cell] = digits[cell] == 0 ? "" : std::to_string(digits[cell]);
    return texts;
}

} // namespace kaleno::testing

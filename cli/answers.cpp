#include "answers.h"

namespace kaleno {

namespace {

constexpr int BoxSize = 3;
constexpr char BandBorder[] = "------+-------+------\n";

} // namespace

void appendGrid(std::string &out, const Grid &grid, Layout layout)
{
    // From a copy of the grid, which the text written cannot overlap: a line of cells then goes
    // in a few wide steps, without a branch per free cell.
    auto cellText = [cells = grid](int cell) {
        return cells[cell] == 0 ? '.' : static_cast<char>('0' + cells[cell]);
    };
    if (layout == Layout::Line) {
        char line[CellCount + 1];
        for (int cell = 0; cell < CellCount; ++cell)
            line[cell] = cellText(cell);
        line[CellCount] = '\n';
        out.append(line, sizeof line);
        return;
    }
    for (int row = 0; row < GridSize; ++row) {
        if (row > 0 && row % BoxSize == 0)
            out += BandBorder;
        for (int column = 0; column < GridSize; ++column) {
            if (column > 0)
                out += column % BoxSize == 0 ? " | " : " ";
            out += cellText(row * GridSize + column);
        }
        out += '\n';
    }
}

void appendSolveAnswer(std::string &out, const GivensOutcome &outcome, Layout layout)
{
    if (outcome.kind == OutcomeKind::Solved) {
        appendGrid(out, outcome.completion, layout);
    } else {
        appendWords(out, tallyOf(outcome.kind));
    }
}

void appendWords(std::string &out, Tally tally)
{
    out += answerWords(tally).plain;
    out += '\n';
}

} // namespace kaleno

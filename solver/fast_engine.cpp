// The fast engine: the smallest completion in row-major order, as the literal search gives it.
//
// Why the result is the smallest completion
// -----------------------------------------
// Completions are compared cell by cell in row-major order. Propagation (CandidateBoard) only
// removes candidates that no completion of the board can use, so a board keeps exactly the
// completions it had, and a board that propagation solves is the one completion it holds.
// Two searches start from the grid and take turns (SearchTurns); whichever settles the
// question first gives the answer:
//
//  1. The row-major search always branches on the first unsolved cell and tries its
//     candidates in ascending order. Every cell before that one is solved, so all completions
//     below a node share that prefix and are ordered first by the branching cell's value: the
//     first branch that holds any completion holds the smallest. By induction the first
//     completion this search reaches is the smallest, and a search that ends without one
//     proves there is none.
//  2. The count is free to branch on the narrowest choice (on a grid that propagation leaves
//     tight, the layouts of one digit in a band or a stack; else a cell with two candidates,
//     else a digit with two places in a row, column or box, else a cell with the fewest
//     candidates): options that exclude each other and that every completion takes one of. That
//     keeps its tree small but finds completions in no useful order. Once it has found one, it
//     keeps to the completions before it in row-major order: each board it opens from then on drops
//     the candidates that only completions at or after that one use, and is closed when it holds
//     none before it (CandidateBoard::keepBelow). So a second completion comes before the
//     first, and what the count passed over holds nothing before the last it found. Before
//     each of its turns, the count also takes from the nodes on its stack what leads only to
//     completions before the row-major search's frontier (CandidateBoard::keepAbove): there
//     are none there, that search has ruled them out. The count stops at two. Its tree ends
//     with none found: there is no answer. With one: that one is the smallest.
//  3. Two completions counted: the row-major search gets one more turn, then the descent
//     takes over. It fixes the cells in row-major order, each to the smallest candidate that
//     still leaves a completion, holding a witness: a completion that agrees with every cell
//     fixed so far (at first the second counted, the smaller). At each cell only the candidates
//     below the witness's digit are in doubt; each is tested by a search for any completion,
//     and the first that has one becomes the cell's value (what the test found is the new
//     witness). When none has, the witness's digit is the smallest that leaves a completion.
//     After each fixed cell a row-major search from there gets a budget of nodes: when it
//     finishes, its completion is the smallest of a board whose fixed cells are those of the
//     answer (point 1), so it is the answer.
//
// Each search is exact on its own, and the count takes from the row-major search only what that
// search has proved, so the turns change how soon the answer comes, never which.

#include "fast_engine.h"
#include "candidate_board.h"
#include "engine_build.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>

namespace kaleno::KALENO_ENGINE_BUILD {

namespace {

enum class Finish { Found, None, OutOfBudget };

constexpr long NoBudget = -1; // run() until the search finds a completion or ends

constexpr int CountLimit = 2; // a grid with two completions needs the descent

// The count branches on layouts on grids whose root keeps fewer candidates than this. Below
// each layout of a sparser grid, with many completions or a contradiction deep down, too much
// is left open: its tree grows to thousands of nodes where cells and places keep it to tens.
// Puzzles of one completion rarely keep 320 or more, and are still tight there (a 17-given grid
// with 320: 90 nodes on cells, 4 on layouts); sparse grids of 0 to 20 givens pay some 4% more
// on average for the tens between 320 and 330.
constexpr int LayoutRootCandidates = 330;

bool branchesOnLayouts(const CandidateBoard &root)
{
    return root.candidateCount() < LayoutRootCandidates;
}

// The layouts of one band or stack tried on a board: the boards they leave, and the candidates
// left below those that hold, added up. Tried at the root to weigh a tie (lastOfTieIsBetter()),
// where the count then opens the boards of the band or stack it takes rather than make them
// again.
struct LayoutTrials
{
    static constexpr int MostLayouts = 6; // the pairings of three lines with three boxes

    std::array<CandidateBoard, MostLayouts> boards;
    std::array<std::optional<CandidateBoard::Layouts>, MostLayouts> next; // as keepLayout() gives
    unsigned held = 0; // bit p: the p-th layout holds
    int candidates = 0;

    void make(const CandidateBoard &board, const CandidateBoard::Layouts &layouts)
    {
        held = 0;
        candidates = 0;
        for (unsigned ways = layouts.ways; ways; ways &= ways - 1) {
            const int way = std::countr_zero(ways);
            boards[way] = board;
            if (boards[way].keepLayout(layouts, way, next[way])) {
                held |= 1u << way;
                candidates += boards[way].candidateCount();
            }
        }
    }
};

// At the root of a count on layouts, two bands or stacks may have equally few layouts, and the
// size of the count's tree hangs on which of them it takes more than on any later choice: on
// the hardest puzzles we know, a fifth tie there, and the wrong one of the two can make the
// tree five times the size of the other. The first of equals is the rule; the last is taken
// when, with as many of its layouts holding, it leaves clearly fewer candidates below them
// (by more than TieMargin over all its layouts). That sends about one tied grid in eight the
// other way; half of those get a smaller tree, and the largest trees of the rule go from some
// 300 nodes to 60; most of those it makes larger were small to begin with.
constexpr int TieMargin = 10;

/// Whether the last of two bands or stacks tied at the root, the first being the rule's choice,
/// leaves clearly fewer candidates below its layouts.
bool lastOfTieIsBetter(const LayoutTrials &first, const LayoutTrials &last)
{
    return std::popcount(last.held) == std::popcount(first.held)
        && last.candidates + TieMargin < first.candidates;
}

// A depth-first search on an explicit stack, so that it can stop after so many nodes and go
// on later from where it stopped. Frame i holds the node at depth i and the options of its
// branch still to try.
class ResumableSearch
{
public:
    enum class Order {
        RowMajor, // the first unsolved cell: its first completion is the smallest
        FewestOptions, // the narrowest choice of the board: the smallest tree
    };

    explicit ResumableSearch(Order order) : m_order(order) { }

    /* !root.isSolved() */
    void start(const CandidateBoard &root, bool byLayouts = false)
    {
        m_byLayouts = byLayouts;
        m_ceiling.reset();
        m_depth = 0;
        m_frames[0].board = root;
        open(m_frames[0]);
        m_tieToWeigh = false;
        m_rootChildren = nullptr;
    }

    /// Where the root branches on layouts, weighs a tie for the fewest (weighTie()) before the
    /// first node: a search that never runs pays nothing.
    void weighTieBeforeFirstNode() { m_tieToWeigh = m_frames[0].layouts.has_value(); }

    /// Opens nodes until the next completion (Found, left in `out`), the end of the search
    /// (None) or, with a `budget` other than NoBudget, that many nodes (OutOfBudget), or with
    /// `untilDeadEnd` the first node closed without a completion (OutOfBudget too). A later
    /// call goes on from there.
    Finish run(long budget, Grid &out, std::uint64_t &nodes, bool untilDeadEnd = false)
    {
        if (m_tieToWeigh)
            weighTie();
        for (;;) {
            Frame &frame = m_frames[m_depth];
            if (frame.left == 0) {
                if (m_depth == 0)
                    return Finish::None;
                --m_depth;
                continue;
            }
            if (budget != NoBudget && budget-- == 0)
                return Finish::OutOfBudget;
            const int option = std::countr_zero(frame.left);
            frame.left &= frame.left - 1;
            ++nodes;
            Frame &child = m_frames[m_depth + 1];
            std::optional<CandidateBoard::Layouts> next; // the child's, when a layout gives them
            bool holds = false;
            if (m_depth == 0 && m_rootChildren) {
                holds = (m_rootChildren->held >> option & 1u) != 0;
                child.board = m_rootChildren->boards[option];
                next = m_rootChildren->next[option];
            } else {
                child.board = frame.board;
                holds = frame.take(option, child.board, next);
            }
            bool changed = false;
            if (!holds || (m_ceiling && !child.board.keepBelow(*m_ceiling, changed))) {
                if (untilDeadEnd)
                    return Finish::OutOfBudget;
                continue;
            }
            if (child.board.isSolved()) {
                out = child.board.grid();
                return Finish::Found;
            }
            open(child, frame.layouts && !changed ? &next : nullptr);
            ++m_depth;
        }
    }

    /// From now on, the search passes over the completions that do not come before the one
    /// its last run() found, in row-major order.
    void keepBelowLastFound() { m_ceiling.emplace(m_frames[m_depth + 1].board); }

    /// Drops what leads only to completions before `floor` from the nodes on the stack, and
    /// so from all it opens later; the nodes left without a completion at or after `floor` are
    /// closed.
    void keepAbove(const CandidateBoard::Bound &floor)
    {
        for (int depth = 0; depth <= m_depth; ++depth) {
            Frame &frame = m_frames[depth];
            bool changed = false;
            const bool holds = frame.board.keepAbove(floor, changed);
            if (depth == 0 && changed)
                m_rootChildren = nullptr; // made before, they would hold what the root lost
            if (!holds) {
                frame.left = 0;
                m_depth = depth;
                return;
            }
            frame.keepCandidates();
        }
    }

    /// Of a row-major search whose run() ran out of budget: the place in row-major order before
    /// which it has ruled out every completion. Its deepest frame, which has candidates left,
    /// has solved every cell before the one it branches on; all it has not tried there is the
    /// next candidate and those after it.
    CandidateBoard::Bound frontier() const
    {
        const Frame &frame = m_frames[m_depth];
        return CandidateBoard::Bound(frame.board, frame.cell, std::countr_zero(frame.left) + 1);
    }

private:
    // A node and the options of its branch not yet tried: the candidates of `cell` (bit
    // d - 1 for digit d), or a digit's two places (bit 0 for the first, 1 for the second).
    struct Frame
    {
        CandidateBoard board;
        int cell = 0;
        std::optional<CandidateBoard::TwoPlaces> places;
        unsigned left = 0;

        std::optional<CandidateBoard::Layouts> layouts;

        int cellOf(int option) const { return places ? places->cells[option] : cell; }
        int digitOf(int option) const { return places ? places->digit : option + 1; }

        // Opens the branch of `option` on `child`, a copy of this frame's board; a layout also
        // gives the child's layouts (`next`).
        bool take(
            int option, CandidateBoard &child, std::optional<CandidateBoard::Layouts> &next) const
        {
            if (layouts)
                return child.keepLayout(*layouts, option, next);
            return child.place(cellOf(option), digitOf(option));
        }

        // Drops the options that the board no longer allows.
        void keepCandidates()
        {
            if (layouts) {
                left &= board.layoutsLeft(*layouts);
                return;
            }
            if (!places) {
                left &= board.candidates(cell);
                return;
            }
            for (int option = 0; option < 2; ++option) {
                if (!(board.candidates(places->cells[option]) & (1u << (places->digit - 1))))
                    left &= ~(1u << option);
            }
        }
    };

    // Chooses the branch of a new node; `layouts`, when known, are the board's fewestLayouts().
    void open(Frame &frame, const std::optional<CandidateBoard::Layouts> *layouts = nullptr) const
    {
        frame.layouts.reset();
        if (m_order == Order::RowMajor) {
            frame.cell = frame.board.firstUnsolvedCell();
            frame.places.reset();
        } else {
            if (m_byLayouts)
                frame.layouts = layouts ? *layouts : frame.board.fewestLayouts();
            if (frame.layouts) {
                frame.places.reset();
                frame.left = frame.layouts->ways;
                return;
            }
            frame.cell = frame.board.narrowestChoice(frame.places);
        }
        frame.left = frame.places ? 0b11u : frame.board.candidates(frame.cell);
    }

    // Weighs a tie at the root (lastOfTieIsBetter()). The children of the layouts the root
    // then takes, made to weigh them, are the count's first nodes.
    void weighTie()
    {
        m_tieToWeigh = false;
        Frame &root = m_frames[0];
        if (m_depth != 0 || !root.left)
            return;
        const auto last = root.board.fewestLayouts(CandidateBoard::OfEquals::Last);
        if (!last || (last->band == root.layouts->band && last->vertical == root.layouts->vertical))
            return;
        LayoutTrials &ofFirst = m_trials[0], &ofLast = m_trials[1];
        ofFirst.make(root.board, *root.layouts);
        ofLast.make(root.board, *last);
        m_rootChildren = &ofFirst;
        if (lastOfTieIsBetter(ofFirst, ofLast)) {
            root.layouts = last;
            root.left = root.board.layoutsLeft(*last);
            m_rootChildren = &ofLast;
        }
    }

    Order m_order;
    bool m_byLayouts = false;
    bool m_tieToWeigh = false; // at the root, before the first node
    std::array<LayoutTrials, 2> m_trials; // of the first and the last of a tie at the root
    const LayoutTrials *m_rootChildren = nullptr; // the root's, when weighing its tie made them
    std::optional<CandidateBoard::Bound> m_ceiling;
    std::array<Frame, CellCount + 1> m_frames;
    int m_depth = 0;
};

// The engine's two stacks: some 40 KB, made once per thread rather than for every solve.
struct Searches
{
    ResumableSearch rowMajor {ResumableSearch::Order::RowMajor};
    ResumableSearch count {ResumableSearch::Order::FewestOptions};
};

Searches &searches()
{
    thread_local Searches made;
    return made;
}

class Engine
{
public:
    // A turn of no nodes would never end the search.
    explicit Engine(const SearchTurns &turns = {})
        : m_turns {std::max(turns.firstLook, 1L), std::max(turns.rowMajor, 1L),
            std::max(turns.count, 1L), std::max(turns.severalLook, 1L),
            std::max(turns.leanLook, 1L), turns.richRoot, std::max(turns.firstCount, 0L),
            turns.manyGivens, turns.lookEndsAtDeadEnd}
    { }

    std::uint64_t nodes = 0;

    /// The answer for a loaded grid that propagation did not solve, of `givens` givens.
    bool smallestCompletion(const CandidateBoard &root, int givens, Grid &out)
    {
        Searches &s = searches();
        s.rowMajor.start(root);
        m_byLayouts = branchesOnLayouts(root);
        s.count.start(root, m_byLayouts);
        s.count.weighTieBeforeFirstNode();
        Tally tally;
        Count counting = Count::Unsettled;
        const bool countedFirst = m_byLayouts && givens < m_turns.manyGivens;
        if (countedFirst) {
            counting = countOn(s.count, tally, m_turns.firstCount);
            if (counting == Count::Ended) {
                if (tally.found == 1)
                    out = tally.smallest;
                return tally.found == 1;
            }
        }
        const std::uint64_t lookStart = nodes;
        Finish look = s.rowMajor.run(
            m_turns.leanLook, out, nodes, countedFirst && m_turns.lookEndsAtDeadEnd);
        if (look == Finish::OutOfBudget && root.candidateCount() >= m_turns.richRoot) {
            const long taken = static_cast<long>(nodes - lookStart);
            look = s.rowMajor.run(std::max(m_turns.firstLook - taken, 0L), out, nodes);
        }
        if (look != Finish::OutOfBudget)
            return look == Finish::Found;
        for (;;) {
            if (counting == Count::Unsettled) {
                s.count.keepAbove(s.rowMajor.frontier());
                counting = countOn(s.count, tally, m_turns.count);
            }
            if (counting == Count::Ended) {
                if (tally.found == 1)
                    out = tally.smallest;
                return tally.found == 1;
            }
            // Even with two completions counted, the row-major search is the quickest road to
            // the smallest on most grids: it gets one more turn, of a look's length, before the
            // descent.
            const long turn = counting == Count::Several ? m_turns.severalLook : m_turns.rowMajor;
            const Finish first = s.rowMajor.run(turn, out, nodes);
            if (first != Finish::OutOfBudget)
                return first == Finish::Found;
            if (counting == Count::Several) {
                out = descend(root, tally.smallest);
                return true;
            }
        }
    }

    /// The number of completions of `root` up to `limit`.
    int countUpTo(const CandidateBoard &root, int limit)
    {
        if (root.isSolved())
            return 1;
        ResumableSearch &search = searches().count;
        search.start(root, branchesOnLayouts(root));
        search.weighTieBeforeFirstNode();
        int found = 0;
        Grid completion;
        while (found < limit && search.run(NoBudget, completion, nodes) == Finish::Found)
            ++found;
        return found;
    }

private:
    struct Tally
    {
        int found = 0;
        Grid smallest {}; // the last found: each comes before those found earlier
    };

    enum class Count {
        Ended, ///< the count's search ended: with one found, that one is the smallest
        Several, ///< two completions found
        Unsettled, ///< the turn ran out first
    };

    /// A turn of the count, of `turn` nodes.
    Count countOn(ResumableSearch &search, Tally &tally, long turn)
    {
        const std::uint64_t end = nodes + static_cast<std::uint64_t>(turn);
        while (nodes < end) {
            Grid completion;
            switch (search.run(static_cast<long>(end - nodes), completion, nodes)) {
            case Finish::None:
                return Count::Ended;
            case Finish::OutOfBudget:
                return Count::Unsettled;
            case Finish::Found:
                tally.smallest = completion;
                if (++tally.found == CountLimit)
                    return Count::Several;
                search.keepBelowLastFound();
                break;
            }
        }
        return Count::Unsettled;
    }

    /// The smallest completion of `board`, which holds `witness`.
    Grid descend(CandidateBoard board, Grid witness)
    {
        for (;;) {
            const int cell = board.firstUnsolvedCell();
            const int known = witness[cell];
            const unsigned below = board.candidates(cell) & ((1u << (known - 1)) - 1);
            int chosen = known;
            for (unsigned left = below; left; left &= left - 1) {
                const int digit = std::countr_zero(left) + 1;
                if (holdsACompletion(board, cell, digit, witness)) {
                    chosen = digit;
                    break;
                }
            }
            board.place(cell, chosen); // the witness has `chosen` there: no contradiction
            if (board.isSolved())
                return board.grid();
            ResumableSearch &look = searches().rowMajor;
            look.start(board);
            Grid completion;
            if (look.run(m_turns.severalLook, completion, nodes) == Finish::Found)
                return completion;
        }
    }

    /// Whether `board` with `digit` in `cell` has a completion; if so, one is left in `out`.
    bool holdsACompletion(const CandidateBoard &board, int cell, int digit, Grid &out)
    {
        ++nodes;
        CandidateBoard trial = board;
        if (!trial.place(cell, digit))
            return false;
        if (trial.isSolved()) {
            out = trial.grid();
            return true;
        }
        ResumableSearch &search = searches().count;
        search.start(trial, m_byLayouts);
        return search.run(NoBudget, out, nodes) == Finish::Found;
    }

    SearchTurns m_turns;
    bool m_byLayouts = false;
};

} // namespace

SearchResult fastSolve(const Grid &givens, const SearchTurns &turns)
{
    SearchResult result;
    CandidateBoard root;
    if (!root.load(givens) || !root.settleTriads())
        return result;
    Engine engine(turns);
    bool found = true;
    if (root.isSolved()) {
        result.grid = root.grid();
    } else {
        const auto givenCount
            = std::count_if(givens.begin(), givens.end(), [](int v) { return v != 0; });
        found = engine.smallestCompletion(root, static_cast<int>(givenCount), result.grid);
    }
    result.end = found ? SearchEnd::Completed : SearchEnd::Exhausted;
    result.placements = engine.nodes;
    return result;
}

int countCompletions(const Grid &givens, int limit)
{
    CandidateBoard root;
    if (limit <= 0 || !root.load(givens) || !root.settleTriads())
        return 0;
    Engine engine;
    return engine.countUpTo(root, limit);
}

} // namespace kaleno::KALENO_ENGINE_BUILD

// The fast engine: the smallest completion in row-major order, as the literal search gives it.
//
// Why the result is the smallest completion
// -----------------------------------------
// Completions are compared cell by cell in row-major order. The literal search returns the
// smallest one because it fixes cell after cell to the smallest value that still leads
// somewhere. This engine keeps that order and only adds ways to waste less time:
//
//  1. Propagation (CandidateBoard) only removes candidates that no completion of the board can
//     use, so every node keeps exactly the completions it had.
//  2. The main search always branches on the first unsolved cell and tries its candidates in
//     ascending order. Every cell before that one is solved, so all completions below a node
//     share that prefix and are ordered first by the branching cell's value: the first branch
//     that holds any completion holds the smallest. By induction the first completion the
//     search reaches is the smallest of the grid.
//  3. Alone, that search can spend hours in a branch that holds no completion when the
//     contradiction only shows many cells later. So a second search, free to branch on
//     whatever constraint has the fewest options (good at proving that nothing is there),
//     checks the nodes on the main search's current path, from the root down. A node it
//     proves empty is cut, with everything below it: it held no completion, so cutting it
//     cannot change which completion comes first. A node where it finds a completion is known
//     to hold one, and so is each node below it on the path that agrees with that completion.
//     The main search gets most of the work; cuts only ever skip empty branches, so point 2
//     still holds.
//  4. At the root the check goes on after its first completion and counts to two. A grid with
//     exactly one completion has no smaller one: the check's answer is then the answer, even
//     when the main search is still on its way to it.

#include "fast_engine.h"

#include "candidate_board.h"

#include <bit>
#include <memory>

namespace kaleno {

namespace {

enum class Finish { Found, None, OutOfBudget };

// A depth-first search on an explicit stack, so that it can stop after so many nodes and go
// on later from where it stopped. Frame i holds the node at depth i and the options of its
// branch still to try. The two searches of the engine differ only in how they branch.
class ResumableSearch
{
public:
    enum class Order {
        RowMajor, // the first unsolved cell, ascending: the first completion is the smallest
        FewestOptions, // the constraint with the fewest options: quick to prove there is none
    };

    explicit ResumableSearch(Order order) : m_order(order) { }

    void start(const CandidateBoard &root)
    {
        m_frames[0].board = root;
        m_depth = 0;
        open(0);
    }

    /// Opens up to `budget` nodes. Found leaves the completion reached in `out`.
    Finish run(long budget, Grid &out, std::uint64_t &nodes)
    {
        if (m_frames[0].board.isSolved()) {
            out = m_frames[0].board.grid();
            return Finish::Found;
        }
        while (budget-- > 0) {
            while (m_frames[static_cast<std::size_t>(m_depth)].next
                == m_frames[static_cast<std::size_t>(m_depth)].branch.count) {
                if (m_depth == 0)
                    return Finish::None;
                --m_depth;
            }
            Frame &frame = m_frames[static_cast<std::size_t>(m_depth)];
            const auto option = static_cast<std::size_t>(frame.next++);
            ++nodes;
            Frame &child = m_frames[static_cast<std::size_t>(m_depth + 1)];
            child.board = frame.board;
            if (!child.board.place(frame.branch.cells[option], frame.branch.digits[option]))
                continue;
            if (child.board.isSolved()) {
                out = child.board.grid();
                return Finish::Found;
            }
            ++m_depth;
            open(m_depth);
        }
        return Finish::OutOfBudget;
    }

    // The current path, as the check works down it.

    /// The shallowest node of the current path not yet known to hold a completion, or -1.
    int firstUnknown() const
    {
        for (int depth = 0; depth <= m_depth; ++depth) {
            if (!m_frames[static_cast<std::size_t>(depth)].known)
                return depth;
        }
        return -1;
    }

    const CandidateBoard &node(int depth) const
    {
        return m_frames[static_cast<std::size_t>(depth)].board;
    }

    /// Tells the frames that reused a slot of the stack apart.
    std::uint64_t nodeId(int depth) const { return m_frames[static_cast<std::size_t>(depth)].id; }

    /// The node at `depth` holds `completion`: so does every node below it on the path that
    /// was reached by options agreeing with it.
    void markKnown(int depth, const Grid &completion)
    {
        m_frames[static_cast<std::size_t>(depth)].known = true;
        for (int d = depth; d < m_depth; ++d) {
            const Frame &parent = m_frames[static_cast<std::size_t>(d)];
            const auto taken = static_cast<std::size_t>(parent.next - 1); // the option on the path
            if (completion[parent.branch.cells[taken]] != parent.branch.digits[taken])
                break;
            m_frames[static_cast<std::size_t>(d + 1)].known = true;
        }
    }

    /// The node at `depth` holds no completion: drop it and everything below it.
    /* depth >= 1 */
    void cut(int depth) { m_depth = depth - 1; }

private:
    struct Frame
    {
        CandidateBoard board;
        CandidateBoard::Branch branch;
        int next = 0; // the option to try next
        bool known = false; // the node is known to hold a completion
        std::uint64_t id = 0;
    };

    void open(int depth)
    {
        Frame &frame = m_frames[static_cast<std::size_t>(depth)];
        frame.branch
            = m_order == Order::RowMajor ? frame.board.firstCellBranch() : frame.board.branch();
        frame.next = 0;
        frame.known = false;
        frame.id = ++m_opened;
    }

    Order m_order;
    std::array<Frame, CellCount + 1> m_frames;
    int m_depth = 0;
    std::uint64_t m_opened = 0;
};

// The two searches' stacks: some 25 KB, made once per thread rather than cleared for every
// solve.
struct Searches
{
    ResumableSearch main {ResumableSearch::Order::RowMajor};
    ResumableSearch check {ResumableSearch::Order::FewestOptions};
};

// Work is shared out in turns: so many nodes for the main search, then so many for the check.
Finish smallestCompletion(
    const CandidateBoard &root, const SearchShares &shares, Grid &out, std::uint64_t &nodes)
{
    thread_local auto searches = std::make_unique<Searches>();
    ResumableSearch &main = searches->main;
    ResumableSearch &check = searches->check;
    main.start(root);
    int checkedDepth = -1;
    std::uint64_t checkedId = 0;
    // At the root the check counts to two: a grid with exactly one completion needs no more.
    int rootCompletions = 0;
    Grid rootCompletion;
    for (;;) {
        const Finish finish = main.run(shares.rowMajor, out, nodes);
        if (finish != Finish::OutOfBudget)
            return finish;

        const int depth = main.firstUnknown();
        if (depth < 0)
            continue; // the whole path is known to lead somewhere: only the main search can go on
        if (depth != checkedDepth || main.nodeId(depth) != checkedId) {
            check.start(main.node(depth));
            checkedDepth = depth;
            checkedId = main.nodeId(depth);
        }
        Grid completion;
        switch (check.run(shares.check, completion, nodes)) {
        case Finish::Found:
            if (depth == 0 && ++rootCompletions == 1) {
                rootCompletion = completion;
                break; // go on counting
            }
            main.markKnown(depth, depth == 0 ? rootCompletion : completion);
            break;
        case Finish::None:
            if (depth == 0) {
                if (rootCompletions == 0)
                    return Finish::None;
                out = rootCompletion; // the only one, so the smallest
                return Finish::Found;
            }
            main.cut(depth);
            checkedDepth = -1;
            break;
        case Finish::OutOfBudget:
            break;
        }
    }
}

void countUpTo(const CandidateBoard &board, int limit, int &found)
{
    if (board.isSolved()) {
        ++found;
        return;
    }
    const CandidateBoard::Branch branch = board.branch();
    for (int i = 0; i < branch.count && found < limit; ++i) {
        CandidateBoard next = board;
        if (next.place(branch.cells[i], branch.digits[i]))
            countUpTo(next, limit, found);
    }
}

} // namespace

SearchResult fastSolve(const Grid &givens, const SearchShares &shares)
{
    SearchResult result;
    CandidateBoard board;
    if (!board.load(givens))
        return result;
    if (smallestCompletion(board, shares, result.grid, result.placements) == Finish::Found)
        result.end = SearchEnd::Completed;
    return result;
}

int countCompletions(const Grid &givens, int limit)
{
    CandidateBoard board;
    if (!board.load(givens))
        return 0;
    int found = 0;
    countUpTo(board, limit, found);
    return found;
}

} // namespace kaleno

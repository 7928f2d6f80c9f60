#include "command_line.h"

#include "input_chunks.h"
#include "kaleno_version.h"

#include <cstring>
#include <filesystem>

namespace kaleno {

namespace {

constexpr const char *Help = R"(Usage: kaleno [GRID | FILE]
Opens the window to solve 9x9 number-placement puzzles.

With a GRID (81 cells on one line, '.' or '0' for an empty cell) or a FILE of grids, the
window opens with the givens of that grid, or of the file's first grid, typed into the cells.
Grids are read in the formats of kaleno-solve(6).

Options:
  -h, --help     Show this help.
  -v, --version  Show the version.
)";

bool isHelp(const std::string &argument)
{
    return argument == "-h" || argument == "--help" || argument == "-?";
}

bool isVersion(const std::string &argument)
{
    return argument == "-v" || argument == "--version";
}

StartRequest fail(std::string why)
{
    return {StartRequest::Action::Fail, std::nullopt, std::move(why)};
}

// `file` is empty when the grid was the argument itself.
StartRequest openWith(const FirstGrid &first, const std::string &file)
{
    const std::string where = file.empty() ? "the argument" : file;
    if (first.error != 0)
        return fail("cannot read " + file + ": " + std::strerror(first.error));
    if (first.found())
        return {StartRequest::Action::Open, first.read->givens, {}};
    if (first.cutShort)
        return fail(
            "no grid in the first " + std::to_string(FirstGridBytes >> 20) + " MB of " + where);
    if (!first.read)
        return fail("no grid in " + where);
    return fail((file.empty() ? where : where + ':' + std::to_string(first.read->line))
        + " is not a grid: " + first.read->error);
}

} // namespace

bool asksForTextOnly(const std::vector<std::string> &arguments)
{
    for (std::size_t i = 1; i < arguments.size() && arguments[i] != "--"; ++i) {
        if (isHelp(arguments[i]) || isVersion(arguments[i]))
            return true;
    }
    return false;
}

StartRequest readCommandLine(const std::vector<std::string> &arguments)
{
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (optionsEnded || argument.empty() || argument.front() != '-' || argument == "-") {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (isHelp(argument)) {
            return {StartRequest::Action::Print, std::nullopt, Help};
        } else if (isVersion(argument)) {
            return {StartRequest::Action::Print, std::nullopt, "kaleno " KALENO_VERSION_TEXT "\n"};
        } else {
            return fail("unknown option " + argument + " (see kaleno --help)");
        }
    }
    if (operands.empty())
        return {};
    if (operands.size() > 1)
        return fail("one grid or one file at most (see kaleno --help)");
    std::error_code ignored;
    if (std::filesystem::exists(operands.front(), ignored))
        return openWith(firstGridOfFile(operands.front()), operands.front());
    return openWith(firstGrid(operands.front()), {});
}

} // namespace kaleno

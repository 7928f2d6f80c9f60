#include "command_line.h"

#include "input_chunks.h"
#include "kaleno_version.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <system_error>
#include <utility>

namespace kaleno {

namespace {

constexpr const char *Help = R"(Usage: kaleno [GRID | FILE]
Opens the window to solve 9x9 number-placement puzzles.

With a GRID (81 cells on one line, '.' or '0' for an empty cell) or a FILE of grids, the
window opens with the givens of that grid, or of the file's first grid, typed into the cells.
Grids are read in the formats of kaleno-solve(6).

In the window:
  Ctrl+V, Shift+Insert  Paste a puzzle: the first grid of the text replaces the cells.
  Ctrl+C, Ctrl+Insert   Copy the grid on one line of 81 cells: after a solve, the answer.
  Arrow keys            Move from cell to cell.
A file or a text dropped on the window is taken as a paste.

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

// The options Qt takes out of the command line when the application starts, with one or two
// dashes, wherever they stand. They are passed over here, so that the rest is read before Qt
// looks for a display.
constexpr std::string_view QtOptionsWithValue[] = {"display", "geometry", "icon", "name",
    "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "title", "visual"};
constexpr std::string_view QtFlags[]
    = {"dograb", "nograb", "reverse", "testability", "widgetcount"};
constexpr std::string_view QtOptionsJoined[] = {"qmljsdebugger=", "style=", "stylesheet="};

// How many arguments from `at` on are one of Qt's options: 0, 1, or 2 with its value.
std::size_t qtOptionLength(const std::vector<std::string> &arguments, std::size_t at)
{
    std::string_view name = arguments[at];
    if (!name.starts_with('-'))
        return 0;
    name.remove_prefix(name.starts_with("--") ? 2 : 1);
    auto among = [name](const auto &names) {
        return std::find(std::begin(names), std::end(names), name) != std::end(names);
    };
    if (among(QtFlags)
        || std::any_of(std::begin(QtOptionsJoined), std::end(QtOptionsJoined),
            [name](std::string_view joined) { return name.starts_with(joined); }))
        return 1;
    return among(QtOptionsWithValue) && at + 1 < arguments.size() ? 2 : 0;
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

// A letter other than the empty cell's x, or a slash: what a file's name holds and no grid.
bool looksLikeAFileName(std::string_view argument)
{
    return std::any_of(argument.begin(), argument.end(), [](char c) {
        return c == '/' || (std::isalpha(static_cast<unsigned char>(c)) && c != 'x' && c != 'X');
    });
}

StartRequest openArgument(const std::string &argument)
{
    std::error_code ignored;
    if (std::filesystem::exists(argument, ignored))
        return openWith(firstGridOfFile(argument), argument);
    const FirstGrid first = firstGrid(argument);
    if (!first.found() && looksLikeAFileName(argument))
        return fail(argument + ": no such file, and not a grid either");
    return openWith(first, {});
}

} // namespace

StartRequest readCommandLine(const std::vector<std::string> &arguments)
{
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (const std::size_t qtOption = qtOptionLength(arguments, i); qtOption > 0) {
            i += qtOption - 1;
            continue;
        }
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
    return openArgument(operands.front());
}

} // namespace kaleno

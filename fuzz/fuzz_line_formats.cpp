// The line formats of kaleno-solve: a line of either format, read, solved and answered.
//
// A plain line must be accepted exactly when, blanks around it dropped, it is 81 of
// "123456789.0"; a JSON line that is accepted must give texts that survive being written back
// as JSON and read again. Every JSON answer must be one line that parses back as an object with
// its four keys in order, telling what the outcome holds.

#include "fast_engine.h"
#include "fuzz_check.h"
#include "line_formats.h"
#include "solve_core.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace kaleno;
using kaleno::fuzz::fail;
using kaleno::fuzz::quoted;
using kaleno::fuzz::require;

namespace {

std::string text(const QByteArray &bytes)
{
    return quoted(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QJsonObject parsedObject(const QByteArray &answer)
{
    if (answer.contains('\n') || answer.contains('\r'))
        fail("a JSON answer spans several lines: " + text(answer));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(answer, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        fail("a JSON answer does not parse as an object: " + text(answer));
    return document.object();
}

void checkJsonAnswer(const SolveOutcome &outcome)
{
    const QByteArray answer = jsonAnswer(outcome);
    const QJsonObject object = parsedObject(answer);
    const QStringList keys {QStringLiteral("outcome"), QStringLiteral("texts"),
        QStringLiteral("orange"), QStringLiteral("error_cell")};
    QStringList found = object.keys();
    found.sort();
    QStringList sortedKeys = keys;
    sortedKeys.sort();
    if (found != sortedKeys)
        fail("the JSON answer's keys are not the four expected: " + text(answer));
    // QJsonObject forgets the order; the answer's text keeps it, and a key's quotes cannot
    // stand unescaped inside the texts' strings.
    qsizetype previous = -1;
    for (const QString &key : keys) {
        const qsizetype at = answer.indexOf("\"" + key.toLatin1() + "\":");
        if (at <= previous)
            fail("the JSON answer's keys are out of order: " + text(answer));
        previous = at;
    }

    QByteArray word = outcomeWords(outcome.kind);
    word.replace(' ', '_');
    if (object.value(QStringLiteral("outcome")).toString() != QString::fromLatin1(word))
        fail("the JSON answer's outcome is not " + text(word) + ": " + text(answer));

    const QJsonValue texts = object.value(QStringLiteral("texts"));
    require(texts.isArray() && texts.toArray().size() == CellCount,
        "the JSON answer's texts are not an array of 81");
    for (int cell = 0; cell < CellCount; ++cell) {
        const QJsonValue value = texts.toArray().at(cell);
        if (!value.isString()
            || value.toString()
                != QString::fromStdString(outcome.texts[static_cast<std::size_t>(cell)]))
            fail("the JSON answer's text of cell " + std::to_string(cell)
                + " is not the outcome's: " + text(answer));
    }

    const QJsonValue orange = object.value(QStringLiteral("orange"));
    require(orange.isArray(), "the JSON answer's orange is not an array");
    std::bitset<CellCount> cells;
    int last = -1;
    for (const QJsonValue &value : orange.toArray()) {
        const int cell = value.toInt(-1);
        if (!value.isDouble() || cell <= last || cell >= CellCount)
            fail("the JSON answer's orange is not a rising list of cells: " + text(answer));
        cells.set(static_cast<std::size_t>(cell));
        last = cell;
    }
    require(cells == outcome.orange, "the JSON answer's orange cells are not the outcome's");

    const QJsonValue errorCell = object.value(QStringLiteral("error_cell"));
    if (outcome.errorCell ? errorCell.toInt(-1) != *outcome.errorCell || !errorCell.isDouble()
                          : !errorCell.isNull())
        fail("the JSON answer's error_cell is not the outcome's: " + text(answer));
}

void checkCountAnswers(const CellTexts &texts, const SolveOutcome &outcome)
{
    const GridReading reading = readCells(texts);
    const int completions = reading.ok() ? countCompletions(reading.givens, 2) : 0;
    const QByteArray plain = plainCountAnswer(reading, completions);
    const QJsonObject json = parsedObject(jsonCountAnswer(reading, completions));
    const QString jsonOutcome = json.value(QStringLiteral("outcome")).toString();
    if (!reading.ok()) {
        require(outcome.kind == OutcomeKind::InputError,
            "the count reads an input error, the solve not");
        require(plain == "input error" && jsonOutcome == QLatin1String("input_error"),
            "the count answers of an input error say otherwise");
        return;
    }
    require(
        outcome.kind != OutcomeKind::InputError, "the solve reads an input error, the count not");
    require((completions == 0) == (outcome.kind == OutcomeKind::NoSolution),
        "the count and the solve disagree on whether a completion exists");
    const QByteArray expected
        = completions >= 2 ? QByteArray("2+") : QByteArray::number(completions);
    require(plain == expected, "the plain count answer is not the count");
    require(jsonOutcome == QLatin1String("counted")
            && json.value(QStringLiteral("completions")).toString().toLatin1() == expected,
        "the JSON count answer is not the count");
}

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void checkPlainLine(const QByteArray &line)
{
    std::string_view cells(line.constData(), static_cast<std::size_t>(line.size()));
    while (!cells.empty() && isAsciiSpace(cells.front()))
        cells.remove_prefix(1);
    while (!cells.empty() && isAsciiSpace(cells.back()))
        cells.remove_suffix(1);
    const bool wellFormed = cells.size() == CellCount
        && cells.find_first_not_of("123456789.0") == std::string_view::npos;

    QString error;
    const std::optional<CellTexts> texts = parsePlainLine(line, &error);
    if (texts.has_value() != wellFormed)
        fail("parsePlainLine " + std::string(texts ? "accepted " : "refused ") + text(line));
    if (!texts) {
        require(!error.isEmpty(), "parsePlainLine refused a line without saying why");
        return;
    }
    for (std::size_t cell = 0; cell < CellCount; ++cell) {
        const char c = cells[cell];
        const std::string expected = c == '.' || c == '0' ? std::string() : std::string(1, c);
        if ((*texts)[cell] != expected)
            fail("parsePlainLine gave cell " + std::to_string(cell) + " the text "
                + quoted((*texts)[cell]) + " from " + text(line));
    }

    const SolveOutcome outcome = solveCells(*texts);
    const QByteArray plain = plainAnswer(outcome);
    if (outcome.kind == OutcomeKind::Solved) {
        bool digits = plain.size() == CellCount;
        for (qsizetype cell = 0; digits && cell < CellCount; ++cell) {
            const char c = cells[static_cast<std::size_t>(cell)];
            digits = plain[cell] >= '1' && plain[cell] <= '9'
                && (c == '.' || c == '0' || c == plain[cell]);
        }
        if (!digits)
            fail("the plain answer is not the 81 digits of a completion of the line: "
                + text(plain));
    } else if (plain != outcomeWords(outcome.kind)) {
        fail("the plain answer is not the outcome in words: " + text(plain));
    }
    checkJsonAnswer(outcome);
    checkCountAnswers(*texts, outcome);
}

void checkJsonLine(const QByteArray &line)
{
    QString error;
    const std::optional<CellTexts> texts = parseJsonLine(line, &error);
    if (!texts) {
        require(!error.isEmpty(), "parseJsonLine refused a line without saying why");
        return;
    }

    QJsonArray array;
    for (const std::string &cell : *texts)
        array.append(QString::fromStdString(cell));
    const QByteArray again = QJsonDocument(array).toJson(QJsonDocument::Compact);
    const std::optional<CellTexts> back = parseJsonLine(again, &error);
    if (!back || *back != *texts)
        fail("the texts of " + text(line) + " do not read back the same from " + text(again));

    const SolveOutcome outcome = solveCells(*texts);
    checkJsonAnswer(outcome);
    checkCountAnswers(*texts, outcome);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray line(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkPlainLine(line);
    checkJsonLine(line);
    return 0;
}

#include "json_lines.h"

#include "answer_words.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QStringDecoder>

#include <algorithm>

namespace kaleno {

std::optional<CellTexts> parseJsonLine(std::string_view line, std::string &error)
{
    const QByteArray bytes(line.data(), static_cast<qsizetype>(line.size()));
    // JSON text is UTF-8; the parser would quietly replace a bad sequence instead of failing.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(bytes));
    if (utf8.hasError()) {
        error = "not valid UTF-8";
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON: %1 at offset %2")
                    .arg(parseError.errorString())
                    .arg(parseError.offset)
                    .toStdString();
        return std::nullopt;
    }
    if (!document.isArray() || document.array().size() != CellCount) {
        error = "expected a JSON array of 81 strings";
        return std::nullopt;
    }
    const QJsonArray array = document.array();
    CellTexts texts;
    for (int cell = 0; cell < CellCount; ++cell) {
        const QJsonValue value = array.at(cell);
        if (!value.isString()) {
            error = "element " + std::to_string(cell) + " is not a string";
            return std::nullopt;
        }
        texts[cell] = value.toString().toStdString();
    }
    return texts;
}

namespace {

std::string compact(const QJsonArray &array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}

// An answer up to its outcome: {"outcome":"no_solution"
std::string answerOpened(Tally tally)
{
    return std::string("{\"outcome\":\"") + answerWords(tally).json + '"';
}

std::string cellOrNull(const std::optional<int> &cell)
{
    return cell ? std::to_string(*cell) : std::string("null");
}

} // namespace

std::string jsonAnswer(const SolveOutcome &outcome)
{
    QJsonArray texts;
    for (const auto &text : outcome.texts)
        texts.append(QString::fromStdString(text));
    QJsonArray orange;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (outcome.orange.test(static_cast<std::size_t>(cell)))
            orange.append(cell);
    }
    // QJsonObject would sort the keys; the answer keeps them in the order people read them.
    return answerOpened(tallyOf(outcome.kind)) + ",\"texts\":" + compact(texts) + ",\"orange\":"
        + compact(orange) + ",\"error_cell\":" + cellOrNull(outcome.errorCell) + '}';
}

std::string jsonCountAnswer(const GridReading &reading, int completions)
{
    if (!reading.ok())
        return answerOpened(Tally::InputError) + ",\"error_cell\":" + cellOrNull(reading.errorCell)
            + '}';
    const Tally tally = completionsTally(completions);
    return answerOpened(tally) + ",\"completions\":\"" + answerWords(tally).plain + "\"}";
}

std::string jsonInvalidLine()
{
    return answerOpened(Tally::InvalidLine) + '}';
}

} // namespace kaleno

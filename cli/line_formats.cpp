#include "line_formats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QStringDecoder>

namespace kaleno {

std::optional<CellTexts> parsePlainLine(const QByteArray &line, QString *error)
{
    const QByteArray grid = line.trimmed();
    if (grid.size() != CellCount) {
        *error = QStringLiteral("expected 81 cells, found %1 bytes").arg(grid.size());
        return std::nullopt;
    }
    CellTexts texts;
    for (int cell = 0; cell < CellCount; ++cell) {
        const char c = grid[cell];
        if (c >= '1' && c <= '9') {
            texts[cell] = std::string(1, c);
        } else if (c != '.' && c != '0') {
            *error = QStringLiteral("cell %1 is not one of 1-9, '.' or '0'").arg(cell + 1);
            return std::nullopt;
        }
    }
    return texts;
}

std::optional<CellTexts> parseJsonLine(const QByteArray &line, QString *error)
{
    // JSON text is UTF-8; the parser would quietly replace a bad sequence instead of failing.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(line));
    if (utf8.hasError()) {
        *error = QStringLiteral("not valid UTF-8");
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not JSON: %1 at offset %2")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    if (!document.isArray() || document.array().size() != CellCount) {
        *error = QStringLiteral("expected a JSON array of 81 strings");
        return std::nullopt;
    }
    const QJsonArray array = document.array();
    CellTexts texts;
    for (int cell = 0; cell < CellCount; ++cell) {
        const QJsonValue value = array.at(cell);
        if (!value.isString()) {
            *error = QStringLiteral("element %1 is not a string").arg(cell);
            return std::nullopt;
        }
        texts[cell] = value.toString().toStdString();
    }
    return texts;
}

const char *outcomeWords(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Solved:
        return "solved";
    case OutcomeKind::NoSolution:
        return "no solution";
    case OutcomeKind::InputError:
        return "input error";
    case OutcomeKind::StepLimit:
        return "step limit";
    }
    return "";
}

QByteArray plainAnswer(const SolveOutcome &outcome)
{
    if (outcome.kind != OutcomeKind::Solved)
        return outcomeWords(outcome.kind);
    QByteArray digits;
    digits.reserve(CellCount);
    for (const auto &text : outcome.texts)
        digits += QByteArray::fromStdString(text);
    return digits;
}

QByteArray jsonAnswer(const SolveOutcome &outcome)
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
    auto compact = [](const QJsonArray &array) {
        return QJsonDocument(array).toJson(QJsonDocument::Compact);
    };
    QByteArray answer = "{\"outcome\":\"";
    answer += QByteArray(outcomeWords(outcome.kind)).replace(' ', '_');
    answer += "\",\"texts\":" + compact(texts);
    answer += ",\"orange\":" + compact(orange);
    answer += ",\"error_cell\":";
    answer += outcome.errorCell ? QByteArray::number(*outcome.errorCell) : QByteArray("null");
    answer += '}';
    return answer;
}

namespace {

QByteArray completionsText(int completions)
{
    return completions >= 2 ? QByteArray("2+") : QByteArray::number(completions);
}

} // namespace

QByteArray plainCountAnswer(const GridReading &reading, int completions)
{
    return reading.ok() ? completionsText(completions) : QByteArray("input error");
}

QByteArray jsonCountAnswer(const GridReading &reading, int completions)
{
    if (reading.ok())
        return "{\"outcome\":\"counted\",\"completions\":\"" + completionsText(completions) + "\"}";
    return "{\"outcome\":\"input_error\",\"error_cell\":"
        + (reading.errorCell ? QByteArray::number(*reading.errorCell) : QByteArray("null")) + '}';
}

QByteArray jsonInvalidLine()
{
    return "{\"outcome\":\"invalid_line\"}";
}

} // namespace kaleno

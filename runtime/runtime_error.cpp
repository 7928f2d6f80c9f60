#include "runtime_error.h"

#include <algorithm>
#include <string>

namespace kaleno {

namespace {

std::string message(ErrorNumber number)
{
    const auto *row = std::find_if(RuntimeErrors.begin(), RuntimeErrors.end(),
        [number](const ErrorDescription &entry) { return entry.number == number; });
    // Every ErrorNumber has its row.
    return "Erreur d'exécution '" + std::to_string(static_cast<int>(number)) + "' :\n\n"
        + std::string(row->text);
}

} // namespace

RuntimeError::RuntimeError(ErrorNumber number)
    : std::runtime_error(message(number)), m_number(number)
{ }

} // namespace kaleno

#pragma once

#include <array>
#include <stdexcept>
#include <string_view>

namespace kaleno {

/// The numbered failures that the runtime raises.
enum class ErrorNumber {
    Overflow = 6, ///< a value does not fit a signed 16-bit integer
    SubscriptOutOfRange = 9, ///< an array index outside its bounds
};

/// Every error number with its description, as the runtime's message names it (UTF-8).
struct ErrorDescription
{
    ErrorNumber number;
    std::string_view text;
};
inline constexpr std::array<ErrorDescription, 2> RuntimeErrors = {{
    {ErrorNumber::Overflow, "Dépassement de capacité"},
    {ErrorNumber::SubscriptOutOfRange, "L'indice n'appartient pas à la plage"},
}};

/// A run-time error: travels up to the nearest handler that traps it, carrying its number.
/// what() is the runtime's message for it, UTF-8: "Erreur d'exécution '6' :", a blank line, and
/// the description of RuntimeErrors.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(ErrorNumber number);

    /// 6 or 9, as the enum says.
    int number() const noexcept { return static_cast<int>(m_number); }

private:
    ErrorNumber m_number;
};

} // namespace kaleno

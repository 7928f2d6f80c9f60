#pragma once

#include <stdexcept>

namespace kaleno {

/// The numbered failures that the solve command traps and turns into its input-error message.
enum class ErrorNumber {
    Overflow = 6, ///< a value does not fit a signed 16-bit integer
    SubscriptOutOfRange = 9, ///< an array index outside its bounds
};

/// A run-time error: travels up to the nearest handler that traps it, carrying its number.
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

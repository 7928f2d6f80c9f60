#include "runtime_error.h"

namespace kaleno {

namespace {

const char *describe(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::Overflow:
        return "run-time error 6: overflow";
    case ErrorNumber::SubscriptOutOfRange:
        return "run-time error 9: subscript out of range";
    }
    return "run-time error";
}

} // namespace

RuntimeError::RuntimeError(ErrorNumber number)
    : std::runtime_error(describe(number)), m_number(number)
{ }

} // namespace kaleno

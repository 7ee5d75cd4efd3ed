#pragma once
// Conversions with the program's numeric rules: counts round halves to even
// and overflow a 16-bit integer as a run-time error; a value stored as a 32-bit
// float overflows when it is out of the float range; non-finite values are
// invalid.
#include <cstdint>

namespace kelvara {

// Round half to even into a 16-bit integer; raises Overflow outside
// -32768..32767 and for NaN/inf.
int16_t CInt(double value);
// Round half to even into a 32-bit integer; raises Overflow when out of range.
int32_t CLng(double value);
// Store as a 32-bit float; raises Overflow when the magnitude exceeds the float
// range or the value is not finite.
float CSng(double value);
// Division with the program's rules: x/0 is a division by zero, 0/0 (and
// NaN/0) an overflow, a quotient that is not finite an overflow.
double Div(double a, double b);
// Banker's rounding of a double to a whole number (no range check).
double RoundHalfEven(double value);

} // namespace kelvara

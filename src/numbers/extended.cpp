// The program's arithmetic: the implementation that the build chose, named by
// KOBRANT_EXTENDED_IMPLEMENTATION (x87 or software; src/numbers/CMakeLists.txt).

#include "numbers/extended_implementations.h"

namespace kobrant {

namespace chosen = KOBRANT_EXTENDED_IMPLEMENTATION;

Extended Add(Extended a, Extended b) { return chosen::Add(a, b); }
Extended Subtract(Extended a, Extended b) { return chosen::Subtract(a, b); }
Extended Multiply(Extended a, Extended b) { return chosen::Multiply(a, b); }
Extended Divide(Extended a, Extended b) { return chosen::Divide(a, b); }
Order Compare(Extended a, Extended b) { return chosen::Compare(a, b); }
Extended FromSingle(float value) { return chosen::FromSingle(value); }
float ToSingle(Extended value) { return chosen::ToSingle(value); }
Extended FromInteger(std::int64_t value) { return chosen::FromInteger(value); }
std::int32_t ToInt32(Extended value) { return chosen::ToInt32(value); }
std::int64_t ToInt64(Extended value) { return chosen::ToInt64(value); }

}  // namespace kobrant

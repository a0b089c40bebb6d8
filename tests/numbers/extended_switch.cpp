// The differential test's own program arithmetic: Extended's operations go to the x87
// or to the software implementation, as the test says. The test binary links this in
// place of the program's arithmetic (its KOBRANT_ARITHMETIC property).

#include "numbers/extended_switch.h"

namespace kobrant {
namespace {

ExtendedImplementation gImplementation = ExtendedImplementation::X87;

template <auto x87Operation, auto softwareOperation, typename... Arguments>
auto Either(Arguments... arguments) {
    return gImplementation == ExtendedImplementation::X87 ? x87Operation(arguments...) : softwareOperation(arguments...);
}

}  // namespace

void UseExtendedImplementation(ExtendedImplementation implementation) { gImplementation = implementation; }

Extended Add(Extended a, Extended b) { return Either<x87::Add, software::Add>(a, b); }
Extended Subtract(Extended a, Extended b) { return Either<x87::Subtract, software::Subtract>(a, b); }
Extended Multiply(Extended a, Extended b) { return Either<x87::Multiply, software::Multiply>(a, b); }
Extended Divide(Extended a, Extended b) { return Either<x87::Divide, software::Divide>(a, b); }
Order Compare(Extended a, Extended b) { return Either<x87::Compare, software::Compare>(a, b); }
Extended FromSingle(float value) { return Either<x87::FromSingle, software::FromSingle>(value); }
float ToSingle(Extended value) { return Either<x87::ToSingle, software::ToSingle>(value); }
Extended FromInteger(std::int64_t value) { return Either<x87::FromInteger, software::FromInteger>(value); }
std::int32_t ToInt32(Extended value) { return Either<x87::ToInt32, software::ToInt32>(value); }
std::int64_t ToInt64(Extended value) { return Either<x87::ToInt64, software::ToInt64>(value); }

}  // namespace kobrant

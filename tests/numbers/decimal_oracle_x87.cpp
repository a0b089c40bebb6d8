// The C library's conversions of the x87 long double (glibc's and MinGW-w64's own
// strtold and printf round correctly).

#include "numbers/decimal_oracle.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kobrant {

Extended NearestExtended(const std::string& decimal) {
    const long double value = std::strtold(decimal.c_str(), nullptr);
    Extended x;
    std::memcpy(&x.significand, &value, 8);
    std::memcpy(&x.signExponent, reinterpret_cast<const unsigned char*>(&value) + 8, 2);
    return x;
}

DecimalForm PrintedDigits(Extended value) {
    long double number = 0;
    std::memcpy(&number, &value.significand, 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&number) + 8, &value.signExponent, 2);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", number);
    return ReadPrintedDigits(buffer);
}

}  // namespace kobrant

#pragma once
// Failure messages show long double values in hexadecimal ("0xc.8p+0"): exact, so two
// values one unit in the last place apart never print alike.

#include <cstdio>
#include <string>

namespace kobrant {

inline std::string Hex(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%La", value);
    return buffer;
}

}  // namespace kobrant

// The time of one field conversion: the worked example's nine texts converted 2000
// times over, with the arithmetic this program was linked with (KOBRANT_ARITHMETIC_NAME).
//   bench_field_conversion_x87      -> one field conversion, x87: 1500 ns
//   bench_field_conversion_software -> one field conversion, software: 5600 ns

#include <chrono>
#include <cstdio>
#include <string>

#include "numbers/float_state.h"
#include "station/field_conversion.h"

int main() {
    using namespace kobrant;
    const FieldTexts typed = {"270", "5", "8", "20", "1", "1,5", "25,4", "65", "1013,2"};
    constexpr int kRounds = 2000;
    SetFloatingPointState();
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (Field field : kFields) {
            std::string text = typed[FieldIndex(field)];
            ConvertField(field, text);
        }
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("one field conversion, %s: %.0f ns\n", KOBRANT_ARITHMETIC_NAME,
                elapsed.count() / (kRounds * static_cast<double>(kFieldCount)));
    return 0;
}

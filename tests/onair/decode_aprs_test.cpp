// Every value text the conversion makes, read by decode_aprs as a receiver reads it: a
// few thousand data lines made with ConvertField from typed texts (fixed seed), each in
// the packet Dire Wolf sends for it (direwolf_posix_test.cpp shows that it sends exactly
// that), all fed to one decode_aprs; every value must read as what was typed, in the
// report's unit, with the same checks as the on-air test (aprs_weather.h).
//
// The typed values are chosen so that every whole number each field of width 3 can hold
// comes out (-99 to 999), and the first one past each end; for the humidity -9 to 99,
// 100 (written 00) and one past each end; for the pressure a spread over 01000 to 99999
// and past it; and, in every 13th text, an empty or blank field, texts too large for
// single precision or for the rounding (1E+30, 1e39, the settings file's 1E+400), or
// no number at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "onair/aprs_weather.h"
#include "support/processes_posix.h"
#include "station/field_conversion.h"
#include "station/weather_record.h"
#include "support/files.h"
#include "support/worked_example.h"

namespace kobrant::onair {
namespace {

constexpr std::size_t kLines = 4000;
constexpr std::size_t kSpecialEvery = 13;

const std::vector<std::string> kSpecialTexts = {"",       " ",     "      ", "1E+30",   "-1E+30", "1e39",
                                               "-1e39",  "1E+400", "-1E+400", "abc",   "0",      "-0,4"};

// The typed number that converts to about this value of the report's unit.
double TypedFor(Field field, double value) {
    switch (field) {
        case Field::WindSpeed:
        case Field::Gust:
            return value / (3.6 * 0.62);
        case Field::Temperature:
            return (value - 32) * 5 / 9;
        case Field::RainHour:
        case Field::Rain24h:
        case Field::RainToday:
            return value * 0.254;
        case Field::Pressure:
            return value / 10;
        default:
            return value;
    }
}

std::string TypedText(double number, int decimals, bool comma, bool exponent) {
    char text[64];
    if (exponent) {
        std::snprintf(text, sizeof text, "%.*E", decimals + 2, number);
    } else {
        std::snprintf(text, sizeof text, "%.*f", decimals, number);
    }
    std::string typed = text;
    if (comma) std::replace(typed.begin(), typed.end(), '.', ',');
    return typed;
}

// The whole numbers to cycle through, shuffled: those the width holds and one past each end.
std::vector<int> Targets(Field field, std::mt19937_64& random) {
    const int smallest = field == Field::Humidity ? -10 : -100;
    const int largest = field == Field::Humidity ? 101 : 1000;
    std::vector<int> targets(static_cast<std::size_t>(largest - smallest + 1));
    std::iota(targets.begin(), targets.end(), smallest);
    std::shuffle(targets.begin(), targets.end(), random);
    return targets;
}

class Typist {
public:
    explicit Typist(std::mt19937_64& random) : random_(random) {
        for (Field field : kFields) {
            if (field != Field::Pressure) targets_[FieldIndex(field)] = Targets(field, random_);
        }
    }

    std::string Next(Field field, std::size_t line) {
        const std::size_t index = FieldIndex(field);
        if ((line + 3 * index) % kSpecialEvery == 0) {
            return kSpecialTexts[(line / kSpecialEvery + index) % kSpecialTexts.size()];
        }
        const std::size_t k = drawn_[index]++;
        std::uniform_real_distribution<double> fraction(-0.3, 0.3);
        double target = 0;
        if (field == Field::Pressure) {
            static const double kEdges[] = {1000, 99999, 100000, 99990, 1001, 100010};
            target = k % 50 == 0 ? kEdges[(k / 50) % std::size(kEdges)]
                                 : std::uniform_int_distribution<int>(900, 100010)(random_) + fraction(random_);
        } else {
            const std::vector<int>& targets = targets_[index];
            target = targets[k % targets.size()] + fraction(random_);
        }
        const double number = TypedFor(field, target);
        const int decimals = static_cast<int>(random_() % 4);
        const bool comma = random_() % 2 == 0;
        const bool exponent = random_() % 10 == 0;
        std::string typed = TypedText(number, decimals, comma, exponent);
        // Fewer decimals may move the value to the next whole number; every whole number
        // of the width must come out, so such a text is typed with more decimals instead.
        if (field != Field::Pressure && std::fabs(ExpectedValue(field, typed).value - std::round(target)) >= 0.45) {
            typed = TypedText(number, 4, comma, false);
        }
        return typed;
    }

private:
    std::mt19937_64& random_;
    std::array<std::vector<int>, kFieldCount> targets_;
    std::array<std::size_t, kFieldCount> drawn_{};
};

TEST(DecodeAprs, EveryValueTextTheConversionMakesReadsAsTyped) {
    ASSERT_TRUE(test::OnPath("decode_aprs")) << "decode_aprs is not installed: it comes with Debian's direwolf, which "
                                          "tools/test installs";
    std::mt19937_64 random(11);
    Typist typist(random);
    std::vector<std::array<std::string, kFieldCount>> typed(kLines);
    std::vector<std::string> packets;
    std::array<std::set<std::string>, kFieldCount> made;
    for (std::size_t line = 0; line < kLines; ++line) {
        ValueTexts values;
        for (Field field : kFields) {
            const std::size_t index = FieldIndex(field);
            typed[line][index] = typist.Next(field, line);
            std::string text = typed[line][index];
            values[index] = ConvertField(field, text);
            made[index].insert(values[index]);
        }
        packets.push_back(Packet(DataLine(values)));
    }

    // Every whole number of the width (and the missing mark) came out of the conversion.
    for (Field field : kFields) {
        const std::set<std::string>& texts = made[FieldIndex(field)];
        if (field == Field::Humidity) {
            EXPECT_EQ(texts.size(), 9u + 100u + 1u) << "-9 to -1, 00 to 99 and ..";
        } else if (field == Field::Pressure) {
            for (const char* text : {"01000", "01001", "99999", "....."}) EXPECT_EQ(texts.count(text), 1u) << text;
            EXPECT_GT(texts.size(), 2000u);
        } else {
            EXPECT_EQ(texts.size(), 99u + 1000u + 1u) << "field " << FieldIndex(field) << ": -99 to 999 and ...";
        }
    }

    test::TestDirectory dir;
    std::string output, why;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(RunDecodeAprs(packets, dir.Path(), output, why)) << why;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::vector<Reading> readings = ReadDecodeAprsOutput(output, packets);

    std::size_t failures = 0, hidden = 0;
    for (std::size_t line = 0; line < kLines; ++line) {
        const Comparison comparison = Compare(typed[line], readings[line]);
        if (comparison.directionHidden) ++hidden;
        if (comparison.mismatches.empty()) continue;
        if (++failures <= 20) {
            std::string all;
            for (const std::string& mismatch : comparison.mismatches) all += "\n  " + mismatch;
            ADD_FAILURE() << packets[line] << "\n  decode_aprs: " << readings[line].weatherLine << all;
        }
    }
    EXPECT_EQ(failures, 0u) << "packets that do not read as typed";
    std::size_t valueTexts = 0;
    for (const std::set<std::string>& texts : made) valueTexts += texts.size();
    std::printf("%zu packets, %zu different value texts, read by decode_aprs in %.2f s; the direction could not be "
                "seen for want of a wind speed in %zu\n",
                packets.size(), valueTexts, seconds, hidden);
}

// decode_aprs's lines as it prints them (colours included), read back.
TEST(AprsWeather, ReadsDecodeAprsOutput) {
    const std::vector<std::string> packets = {Packet("270/011g018t068r000p006P008h65b10132"),
                                              Packet(".../...g...t...r...p...P...h..b....."),
                                              Packet("270/011g018t-+9r000p006P008h65b10132")};
    const std::string output =
        "\x1b[48;2;255;255;255m\x1b[0J\x1b[38;2;0;0;0m\n" + packets[0] +
        "\n\x1b[38;2;0;0;255mWeather Report, WEATHER Station (blue), DireWolf, WB2OSZ\n"
        "N 52 31.0000, E 013 24.0000\n"
        "wind 12.7 mph, direction 270, gust 18, temperature 68, rain 0.00 in last hour, rain 0.06 in last 24 "
        "hours, rain 0.08 since midnight, humidity 65, barometer 29.92, \"\"\n\n" +
        packets[1] +
        "\nWeather Report, WEATHER Station (blue), DireWolf, WB2OSZ\nN 52 31.0000, E 013 24.0000\n, \"\"\n\n" +
        packets[2] +
        "\nDidn't find temperature in form t999.\nWeather Report, WEATHER Station (blue), DireWolf, WB2OSZ\n"
        "N 52 31.0000, E 013 24.0000\nwind 12.7 mph, direction 270, gust 18, \"t-+9r000p006P008h65b10132\"\n";
    const std::vector<Reading> readings = ReadDecodeAprsOutput(output, packets);
    ASSERT_EQ(readings.size(), 3u);

    const FieldTexts& example = test::worked_example::kTyped;
    EXPECT_TRUE(readings[0].complaints.empty());
    EXPECT_FALSE(readings[0].leftover);
    EXPECT_NEAR(*readings[0].values[FieldIndex(Field::WindSpeed)], 11.0, 0.05) << "12.7 mph shown for 11 knots";
    EXPECT_NEAR(*readings[0].values[FieldIndex(Field::Pressure)], 10132, 1.7) << "29.92 inHg";
    EXPECT_EQ(*readings[0].values[FieldIndex(Field::Rain24h)], 6);
    EXPECT_TRUE(Compare(example, readings[0]).mismatches.empty());

    const std::array<std::string, kFieldCount> empty{};
    for (const std::optional<double>& value : readings[1].values) EXPECT_FALSE(value);
    EXPECT_TRUE(Compare(empty, readings[1]).mismatches.empty());
    EXPECT_FALSE(Compare(example, readings[1]).mismatches.empty()) << "values read as missing";
    EXPECT_FALSE(Compare(empty, readings[0]).mismatches.empty()) << "missing values read as values";

    EXPECT_EQ(readings[2].complaints.size(), 1u);
    EXPECT_EQ(readings[2].leftover, "t-+9r000p006P008h65b10132");
    EXPECT_EQ(Compare(example, readings[2]).mismatches.size(), 2u + 6u) << "a complaint, the leftover, six values lost";

    // A packet decode_aprs did not show at all.
    EXPECT_FALSE(ReadDecodeAprsOutput("", {packets[0]})[0].complaints.empty());
}

// The examples of aprs_weather.h, and the edges of the widths.
TEST(AprsWeather, ExpectedValues) {
    using Kind = Expected::Kind;
    struct Case {
        Field field;
        const char* typed;
        Kind kind;
        double value;
    };
    const Case cases[] = {
        {Field::Temperature, "20", Kind::kValue, 68},         {Field::WindSpeed, "5", Kind::kValue, 11.16},
        {Field::Humidity, "101", Kind::kMissing, 101},        {Field::WindDirection, "", Kind::kMissing, 0},
        {Field::Pressure, "50", Kind::kValue, 1000},          {Field::WindDirection, "999,5", Kind::kEither, 999.5},
        {Field::WindDirection, "-99,6", Kind::kMissing, -99.6}, {Field::Humidity, "100,4", Kind::kValue, 100.4},
        {Field::Pressure, "10000", Kind::kMissing, 100000},   {Field::Rain24h, "1E+400", Kind::kMissing, 0},
        {Field::Temperature, "      ", Kind::kMissing, 0},    {Field::Temperature, "       ", Kind::kValue, 32},
        {Field::Temperature, "abc", Kind::kValue, 32},
    };
    for (const Case& c : cases) {
        const Expected expected = ExpectedValue(c.field, c.typed);
        EXPECT_EQ(expected.kind, c.kind) << "typed=\"" << c.typed << "\"";
        if (std::isfinite(expected.value) && c.value != 0) {
            EXPECT_NEAR(expected.value, c.value, 1e-9 * std::fabs(c.value)) << "typed=\"" << c.typed << "\"";
        }
    }
}

}  // namespace
}  // namespace kobrant::onair

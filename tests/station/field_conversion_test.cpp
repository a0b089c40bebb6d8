#include "station/field_conversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>


namespace kobrant {
namespace {

using F = Field;

const char* Name(Field field) {
    static const char* const kNames[] = {"WindDirection", "WindSpeed", "Gust",     "Temperature", "RainHour",
                                         "Rain24h",       "RainToday", "Humidity", "Pressure"};
    return kNames[static_cast<std::size_t>(field)];
}

std::size_t Width(Field field) {
    if (field == F::Humidity) return 2;
    return field == F::Pressure ? 5 : 3;
}

std::string Convert(Field field, std::string_view typed) {
    std::string text(typed);
    return ConvertField(field, text);
}

struct Case {
    Field field;
    std::string_view typed;
    std::string_view expected;
};

void CheckCases(const Case* begin, const Case* end) {
    for (const Case* c = begin; c != end; ++c) {
        EXPECT_EQ(c->expected, Convert(c->field, c->typed)) << Name(c->field) << " typed=\"" << c->typed << "\"";
    }
}

// The example rows of the conversion rules. Rows that differ from the rules as first
// written, because the report they gave was wrong:
// - Temperature -20,6 gives -05, not 0-5 (a negative value keeps its sign in front);
// - an empty Humidity gives "..", an empty Pressure "....." (missing values keep the
//   field's width).
TEST(ConvertField, RuleExamples) {
    const Case cases[] = {
        {F::WindDirection, "270", "270"}, {F::WindDirection, "5", "005"}, {F::WindSpeed, "5", "011"},
        {F::WindSpeed, "1", "002"},       {F::WindSpeed, "0", "000"},     {F::Gust, "8", "018"},
        {F::Temperature, "20", "068"},    {F::Temperature, "0", "032"},   {F::Temperature, "2,5", "036"},
        {F::Temperature, "-25", "-13"},   {F::Temperature, "-20,6", "-05"},
        {F::RainHour, "1", "004"},        {F::Rain24h, "1,5", "006"},     {F::RainToday, "25,4", "100"},
        {F::Humidity, "65", "65"},        {F::Humidity, "0", "01"},       {F::Humidity, "100", "00"},
        {F::Humidity, "5", "05"},         {F::Pressure, "1013,2", "10132"}, {F::Pressure, "999", "09990"},
        {F::Pressure, "50", "01000"},     {F::WindDirection, "", "..."},  {F::WindSpeed, "", "..."},
        {F::Gust, "", "..."},             {F::Temperature, "", "..."},    {F::RainHour, "", "..."},
        {F::Rain24h, "", "..."},          {F::RainToday, "", "..."},      {F::Humidity, "", ".."},
        {F::Pressure, "", "....."},
        // texts that hold no number read as a typed 0
        {F::Temperature, "abc", "032"},   {F::Humidity, "abc", "01"},     {F::Pressure, "abc", "01000"},
        {F::WindSpeed, "x", "000"},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

// The examples written in field_conversion.h, line by line.
TEST(ConvertField, CommentExamples) {
    const Case cases[] = {
        {F::WindDirection, "270", "270"},  {F::WindDirection, "5", "005"},  {F::WindDirection, "45,5", "046"},
        {F::WindDirection, "1000", "E+3"}, {F::WindSpeed, "5", "011"},      {F::Gust, "8", "018"},
        {F::Temperature, "20", "068"},     {F::Temperature, "2,5", "036"},  {F::Temperature, "-25", "-13"},
        {F::Temperature, "-20,6", "-05"},  {F::Rain24h, "1,5", "006"},      {F::RainToday, "25,4", "100"},
        {F::Humidity, "65", "65"},         {F::Humidity, "0", "01"},        {F::Humidity, "100", "00"},
        {F::Humidity, "45,5", "46"},       {F::Pressure, "1013,2", "10132"}, {F::Pressure, "50", "01000"},
        {F::Pressure, "999,95", "10000"},  {F::WindSpeed, "", "..."},       {F::Temperature, "      ", "..."},
        {F::Humidity, "", ".."},           {F::Pressure, "", "....."},      {F::Temperature, "abc", "032"},
        {F::Pressure, "abc", "01000"},
    };
    CheckCases(std::begin(cases), std::end(cases));

    struct TextCase {
        std::string_view typed, cleaned;
    };
    const TextCase texts[] = {{"12,5", "12.5"}, {"1,2,3", "1.2.3"}, {"5\"", "5'"}, {" 5", " 5"}};
    for (const TextCase& c : texts) {
        std::string text(c.typed);
        ConvertField(F::WindDirection, text);
        EXPECT_EQ(c.cleaned, text) << "typed=\"" << c.typed << "\"";
    }

    EXPECT_EQ("00000005", PadValueText(" 5"));
    EXPECT_EQ("000000-5", PadValueText("-5"));
    EXPECT_EQ("00000001E+3", PadValueText(" 1E+3"));
}

// A negative value used to be cut from its zero-filled text, "000000-5" -> "0-5", which
// readers of the report take for 0: now "-" comes first and the size fills the rest.
TEST(ConvertField, NegativeValueSignComesFirst) {
    const Case cases[] = {
        {F::Temperature, "-20,6", "-05"}, {F::Temperature, "-25", "-13"},  {F::Temperature, "-18,1", "-01"},
        {F::Temperature, "-18", "000"},  // -0.4 deg F rounds to 0, which has no sign
        {F::Temperature, "-40", "-40"},   {F::Temperature, "-73", "-99"},  {F::Temperature, "-74", "-01"},
        {F::WindSpeed, "-1", "-02"},      {F::WindDirection, "-45", "-45"}, {F::WindDirection, "-5", "-05"},
        {F::RainHour, "-1", "-04"},       {F::Humidity, "-5", "-5"},       {F::Humidity, "-45", "-5"},
        // a size beyond the width is cut like a positive one, after the sign
        {F::Temperature, "-1000", "-+3"},
        // beyond the 32-bit range the whole number is -2147483648; its size still spells
        {F::Temperature, "-1e30", "-+9"}, {F::Humidity, "-1e30", "-9"}, {F::Pressure, "1e39", "-5E+9"},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

// Wind direction, humidity and pressure used to keep their fractions, and the cut to
// the width then kept a fraction's tail: 45,5 gave 5.5 and a pressure of 999,95 gave
// 999.5, a tenth of the real value. Now every field is a whole number.
TEST(ConvertField, EveryFieldIsAWholeNumber) {
    const Case cases[] = {
        {F::WindDirection, "45,5", "046"},  {F::WindDirection, "44,5", "044"}, {F::WindDirection, "359,6", "360"},
        {F::WindDirection, "0,4", "000"},   {F::WindDirection, "1000", "E+3"},  // the exponent form survives
        {F::Humidity, "45,5", "46"},        {F::Humidity, "0,4", "01"},        {F::Humidity, "0,5", "01"},
        {F::Humidity, "0,6", "01"},         {F::Humidity, "99,5", "00"},       {F::Humidity, "100,4", "00"},
        {F::Humidity, "101", "01"},         {F::Humidity, "1,5", "02"},
        {F::Pressure, "999,95", "10000"},   {F::Pressure, "1013,2", "10132"},  {F::Pressure, "1013,25", "10132"},
        {F::Pressure, "99,9", "01000"},     {F::Pressure, "-5", "01000"},      {F::Pressure, "0", "01000"},
        {F::Pressure, "100,05", "01000"},   {F::Pressure, "9999,9", "99999"},  {F::Pressure, "10000", "01E+5"},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

// Missing values used to be "..." in every field, so a missing humidity made the data
// line one character longer and readers lost the pressure behind it.
TEST(ConvertField, MissingValuesKeepTheFieldWidth) {
    for (Field field : kFields) {
        const std::string dots(Width(field), '.');
        for (std::string_view typed : {"", " ", "   ", "      ", "\t5", "\t"}) {
            EXPECT_EQ(dots, Convert(field, typed)) << Name(field) << " typed=\"" << typed << "\"";
        }
        // seven blanks, or a blank before a digit, are present (and read as 0 or 5)
        for (std::string_view typed : {"       ", " 5", "      5", "-"}) {
            EXPECT_EQ(Width(field), Convert(field, typed).size()) << Name(field) << " typed=\"" << typed << "\"";
            EXPECT_EQ(std::string::npos, Convert(field, typed).find('.')) << Name(field) << " typed=\"" << typed << "\"";
        }
    }
    EXPECT_EQ("005", Convert(F::WindDirection, " 5"));
    EXPECT_EQ("000", Convert(F::WindDirection, "       "));
}

// Every value text has its field's width, so the data line is always 36 characters.
TEST(ConvertField, ValueTextsHaveTheFieldWidth) {
    std::mt19937_64 random(36);
    const std::string_view pieces[] = {"0", "1", "5", "9", ",", ".", "-", "+", "e", "E3", " ", "&H", "F", "\"", "x"};
    for (int i = 0; i < 5000; ++i) {
        std::string typed;
        const int count = static_cast<int>(random() % 9);
        for (int k = 0; k < count; ++k) typed += pieces[random() % std::size(pieces)];
        std::size_t lineLength = 8;  // the eight keys behind the first value
        for (Field field : kFields) {
            const std::string value = Convert(field, typed);
            ASSERT_EQ(Width(field), value.size()) << Name(field) << " typed=\"" << typed << "\" value=" << value;
            lineLength += value.size();
        }
        ASSERT_EQ(36u, lineLength) << "typed=\"" << typed << "\"";
    }
}

// A double quote used to stay in the field text; the settings file then could not read
// the line back, and every later item shifted. It becomes an apostrophe, after the
// comma-to-point step; the value text is the same either way.
TEST(ConvertField, CleaningReplacesCommasThenDoubleQuotes) {
    struct TextCase {
        Field field;
        std::string_view typed, cleaned, value;
    };
    const TextCase cases[] = {
        {F::Temperature, "12,5", "12.5", "054"}, {F::Temperature, "12.5", "12.5", "054"},
        {F::WindDirection, "1,2,3", "1.2.3", "001"}, {F::WindDirection, "5\"", "5'", "005"},
        {F::WindDirection, "5'", "5'", "005"},   {F::WindDirection, "\"5\"", "'5'", "000"},
        {F::Humidity, "a,\"b", "a.'b", "01"},    {F::Pressure, "   ", "   ", "....."},
        {F::Pressure, "\"", "'", "01000"},       {F::RainHour, ",5", ".5", "002"},
        {F::Gust, "B\xF6" "e 12", "B\xF6" "e 12", "000"},
    };
    for (const TextCase& c : cases) {
        std::string text(c.typed);
        EXPECT_EQ(c.value, ConvertField(c.field, text)) << Name(c.field) << " typed=\"" << c.typed << "\"";
        EXPECT_EQ(c.cleaned, text) << Name(c.field) << " typed=\"" << c.typed << "\"";
        // converting the cleaned text again changes nothing
        std::string again = text;
        EXPECT_EQ(c.value, ConvertField(c.field, again)) << Name(c.field) << " cleaned=\"" << text << "\"";
        EXPECT_EQ(text, again);
    }
}

// Each step is computed in extended precision and stored as single; these inputs give
// another report if any of those roundings is skipped or merged.
TEST(ConvertField, SingleAndExtendedRoundingSteps) {
    const Case cases[] = {
        // halfway in deg F once stored as single: ties go to the even whole number
        {F::Temperature, "2,5", "036"},    {F::Temperature, "7,5", "046"},    {F::Temperature, "12,5", "054"},
        {F::Temperature, "17,5", "064"},   {F::Temperature, "-12,5", "010"},  {F::Temperature, "-17,5", "000"},
        // the speed factors as two roundings: 153.49998 (one factor 3.6 x 0.62 gives 153.5 -> 154)
        {F::WindSpeed, "68,7724", "153"},
        // 167.5 -> 168 (one factor gives 167.49998 -> 167)
        {F::Gust, "75,0448", "168"},
        // 139.5 -> 140 (the factor 2.232 stored as single gives 139.49998 -> 139)
        {F::WindSpeed, "62,5", "140"},
        // the divisor is the single 0.2540000081: 5.4999995 (0.254 exactly gives 5.5 -> 6)
        {F::RainHour, "1,397", "005"},     {F::Rain24h, "1,905", "007"},
        // the typed value is stored as single first: 15.5 -> 16 (unrounded: 15.499999 -> 15)
        {F::RainToday, "3,937", "016"},    {F::RainHour, "8,001", "032"},
        // 1013.35 as single is 1013.3499756; x 10 stores as 10133.5, a tie -> 10134
        {F::Pressure, "1013,35", "10134"}, {F::Pressure, "1013,25", "10132"},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

// Whole typed numbers against plain integer arithmetic (no floating point involved):
// deg F = (9 t + 160) / 5 never lies halfway, a direction or a pressure stays exact.
TEST(ConvertField, WholeTypedValuesMatchIntegerArithmetic) {
    char expected[16];
    for (int t = -99; t <= 99; ++t) {
        const int tenTimes = 2 * (9 * t + 160);  // ten times deg F, a whole even number
        const int fahrenheit = (tenTimes >= 0 ? tenTimes + 5 : tenTimes - 5) / 10;  // the nearest whole number
        if (fahrenheit >= 0) {
            std::snprintf(expected, sizeof expected, "%03d", fahrenheit % 1000);
        } else {
            std::snprintf(expected, sizeof expected, "-%02d", -fahrenheit % 100);
        }
        EXPECT_EQ(expected, Convert(F::Temperature, std::to_string(t))) << "typed=" << t;
    }
    for (int degrees = 0; degrees <= 999; degrees += 7) {
        std::snprintf(expected, sizeof expected, "%03d", degrees);
        EXPECT_EQ(expected, Convert(F::WindDirection, std::to_string(degrees))) << "typed=" << degrees;
    }
    for (int percent = 1; percent <= 99; ++percent) {
        std::snprintf(expected, sizeof expected, "%02d", percent);
        EXPECT_EQ(expected, Convert(F::Humidity, std::to_string(percent))) << "typed=" << percent;
    }
    for (int hectopascal = 100; hectopascal <= 9999; hectopascal += 13) {
        std::snprintf(expected, sizeof expected, "%05d", hectopascal * 10);
        EXPECT_EQ(expected, Convert(F::Pressure, std::to_string(hectopascal))) << "typed=" << hectopascal;
    }
}

}  // namespace
}  // namespace kobrant

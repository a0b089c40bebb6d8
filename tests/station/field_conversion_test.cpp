#include "station/field_conversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "station/settings_file.h"
#include "station/weather_record.h"
#include "support/files.h"

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
    EXPECT_EQ(ValueWidth(F::WindDirection), 3u);
    EXPECT_EQ(ValueWidth(F::Humidity), 2u);
    EXPECT_EQ(ValueWidth(F::Pressure), 5u);
    const Case cases[] = {
        {F::WindDirection, "270", "270"},   {F::WindDirection, "5", "005"},    {F::WindDirection, "45,5", "046"},
        {F::WindSpeed, "5", "011"},         {F::Gust, "8", "018"},             {F::Temperature, "20", "068"},
        {F::Temperature, "2,5", "036"},     {F::Temperature, "-25", "-13"},    {F::Temperature, "-20,6", "-05"},
        {F::Rain24h, "1,5", "006"},         {F::RainToday, "25,4", "100"},     {F::Humidity, "65", "65"},
        {F::Humidity, "0", "01"},           {F::Humidity, "100", "00"},        {F::Humidity, "45,5", "46"},
        {F::Pressure, "1013,2", "10132"},   {F::Pressure, "50", "01000"},      {F::Pressure, "999,95", "10000"},
        // values at the ends of the widths and past them
        {F::WindDirection, "999", "999"},   {F::WindDirection, "1000", "..."}, {F::Temperature, "-73", "-99"},
        {F::Temperature, "-90", "..."},     {F::Rain24h, "253,8", "999"},      {F::Rain24h, "300", "..."},
        {F::Humidity, "-9", "-9"},          {F::Humidity, "101", ".."},        {F::Pressure, "9999,9", "99999"},
        {F::Pressure, "10000", "....."},    {F::WindSpeed, "1E+30", "..."},    {F::Pressure, "1e39", "....."},
        {F::Gust, "1E+400", "..."},
        // missing values, and texts that hold no number
        {F::WindSpeed, "", "..."},          {F::Temperature, "      ", "..."}, {F::Humidity, "", ".."},
        {F::Pressure, "", "....."},         {F::Temperature, "abc", "032"},    {F::Pressure, "abc", "01000"},
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
        {F::Temperature, "-40", "-40"},   {F::Temperature, "-73", "-99"},
        {F::WindSpeed, "-1", "-02"},      {F::WindDirection, "-45", "-45"}, {F::WindDirection, "-5", "-05"},
        {F::RainHour, "-1", "-04"},       {F::Humidity, "-5", "-5"},       {F::Humidity, "-45", ".."},
        // a size beyond the width used to be cut after the sign ("-01" for -101 deg F,
        // "-+3" for -1000, "-+9" for -2147483648): now it is missing (ValuesTheWidthCannotHoldAreMissing)
        {F::Temperature, "-74", "..."},   {F::Temperature, "-1000", "..."}, {F::Temperature, "-1e30", "..."},
        {F::Humidity, "-1e30", ".."},     {F::Pressure, "1e39", "....."},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

// Wind direction, humidity and pressure used to keep their fractions, and the cut to
// the width then kept a fraction's tail: 45,5 gave 5.5 and a pressure of 999,95 gave
// 999.5, a tenth of the real value. Now every field is a whole number.
TEST(ConvertField, EveryFieldIsAWholeNumber) {
    const Case cases[] = {
        {F::WindDirection, "45,5", "046"},  {F::WindDirection, "44,5", "044"}, {F::WindDirection, "359,6", "360"},
        {F::WindDirection, "0,4", "000"},   {F::WindDirection, "1000", "..."},  // too wide: missing
        {F::Humidity, "45,5", "46"},        {F::Humidity, "0,4", "01"},        {F::Humidity, "0,5", "01"},
        {F::Humidity, "0,6", "01"},         {F::Humidity, "99,5", "00"},       {F::Humidity, "100,4", "00"},
        {F::Humidity, "101", ".."},         {F::Humidity, "1,5", "02"},
        {F::Pressure, "999,95", "10000"},   {F::Pressure, "1013,2", "10132"},  {F::Pressure, "1013,25", "10132"},
        {F::Pressure, "99,9", "01000"},     {F::Pressure, "-5", "01000"},      {F::Pressure, "0", "01000"},
        {F::Pressure, "100,05", "01000"},   {F::Pressure, "9999,9", "99999"},  {F::Pressure, "10000", "....."},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

// A whole number too wide for its field used to be cut to its last characters, and the
// cut made wrong numbers that receivers take at face value ("E+3" for a direction of
// 1000, "-30" for -130 deg F, "01" for a humidity of 101) or texts no decoder reads past
// ("-+9" when the rounding fails). Now such a value is missing, and everything that fits
// is as it was. Each field at its largest and smallest value that fits, then the first
// typed value past each end (one more decimal step, or the tie that rounds away).
TEST(ConvertField, ValuesTheWidthCannotHoldAreMissing) {
    const Case cases[] = {
        // degrees, as typed: -99 to 999
        {F::WindDirection, "999", "999"},    {F::WindDirection, "999,4", "999"},  {F::WindDirection, "999,5", "..."},
        {F::WindDirection, "-99", "-99"},    {F::WindDirection, "-99,4", "-99"},  {F::WindDirection, "-99,5", "..."},
        // m/s x 2.232: 447,8 gives 999.49 mph, 447,9 999.71; -44,5 gives -99.32, -44,6 -99.55
        {F::WindSpeed, "447,8", "999"},      {F::WindSpeed, "447,9", "..."},      {F::WindSpeed, "-44,5", "-99"},
        {F::WindSpeed, "-44,6", "..."},      {F::Gust, "447,8", "999"},           {F::Gust, "447,9", "..."},
        {F::Gust, "-44,5", "-99"},           {F::Gust, "-44,6", "..."},
        // deg C: 537,4 gives 999.3 deg F, 537,5 exactly 999.5, which rounds to the even 1000
        {F::Temperature, "537,4", "999"},    {F::Temperature, "537,5", "..."},    {F::Temperature, "-73", "-99"},
        {F::Temperature, "-73,1", "..."},
        // mm / 0.254: 253,8 gives 999.2 hundredths of an inch, 253,9 999.6
        {F::RainHour, "253,8", "999"},       {F::RainHour, "253,9", "..."},       {F::RainHour, "-25,2", "-99"},
        {F::RainHour, "-25,3", "..."},       {F::Rain24h, "253,8", "999"},        {F::Rain24h, "253,9", "..."},
        {F::Rain24h, "-25,2", "-99"},        {F::Rain24h, "-25,3", "..."},        {F::RainToday, "253,8", "999"},
        {F::RainToday, "253,9", "..."},      {F::RainToday, "-25,2", "-99"},      {F::RainToday, "-25,3", "..."},
        // percent: 100 is written 00, and 100,5 rounds to the even 100; -9,5 rounds to -10
        {F::Humidity, "99", "99"},           {F::Humidity, "100,5", "00"},        {F::Humidity, "100,6", ".."},
        {F::Humidity, "-9", "-9"},           {F::Humidity, "-9,4", "-9"},         {F::Humidity, "-9,5", ".."},
        // hPa x 10: 9999,95 gives 99999.5, which rounds to the even 100000; below the floor
        // of 100 hPa every value is 01000, so the pressure has no lower end to pass
        {F::Pressure, "9999,9", "99999"},    {F::Pressure, "9999,95", "....."},   {F::Pressure, "-1e39", "01000"},
        // values whose cut used to look right: 300 mm of rain is 1181 hundredths of an inch,
        // -90 deg C -130 deg F
        {F::WindDirection, "1000", "..."},   {F::Rain24h, "300", "..."},          {F::Temperature, "-90", "..."},
        {F::Humidity, "101", ".."},
    };
    CheckCases(std::begin(cases), std::end(cases));

    // Too large for single precision (1e39), or for RoundToInteger (1E+30), and the
    // settings file's 1E+400 (six characters, more than a field takes by typing): the
    // rounding fails, and every field is missing; their negatives are missing too, but
    // for the pressure, whose floor makes them 01000.
    for (Field field : kFields) {
        const std::string dots(Width(field), '.');
        for (std::string_view typed : {"1E+30", "1e39", "1E+400", "-1E+30", "-1e39", "-1E+400"}) {
            const bool floor = field == F::Pressure && typed[0] == '-';
            std::string text(typed);
            EXPECT_EQ(floor ? "01000" : dots, ConvertField(field, text)) << Name(field) << " typed=\"" << typed << "\"";
            EXPECT_EQ(typed, text) << "the field text keeps what was typed";
        }
    }
}

// A settings file holding 1E+400 in every field used to give -+9/-+9g-+9t-+9r-+9p-+9P-+9h-9b-5E+9,
// which decoders cannot read past the gust: the data line is now nine missing
// marks, and the settings file keeps the texts.
TEST(ConvertField, SettingsFileTextTooLargeForEveryFieldGivesMissingMarks) {
    test::TestDirectory dir;
    const std::string path = dir.File("kobrant.ctl");
    std::string line;
    for (std::size_t i = 0; i < kFieldCount; ++i) line += "\"1E+400\",";
    line += "5,5\r\n";
    test::WriteBytes(path, line);
    Settings settings;
    FileError error;
    ASSERT_TRUE(LoadOrCreateSettings(path, settings, error));
    ValueTexts values;
    for (Field field : kFields) values[FieldIndex(field)] = ConvertField(field, settings.fieldTexts[FieldIndex(field)]);
    EXPECT_EQ(".../...g...t...r...p...P...h..b.....", DataLine(values));
    for (const std::string& text : settings.fieldTexts) EXPECT_EQ("1E+400", text);
    EXPECT_EQ(line, test::ReadBytes(path)) << "loading changed the file";
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

// Digits, or "-" and digits, or only "." (the missing mark): nothing a decoder stops at.
bool IsWholeNumberOrMissing(const std::string& value) {
    if (value.find_first_not_of('.') == std::string::npos) return true;
    const std::size_t digits = value[0] == '-' ? 1 : 0;
    return digits < value.size() && value.find_first_not_of("0123456789", digits) == std::string::npos;
}

// Every value text has its field's width, so the data line is always 36 characters,
// and is a whole number or the missing mark.
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
            ASSERT_TRUE(IsWholeNumberOrMissing(value)) << Name(field) << " typed=\"" << typed << "\" value=" << value;
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
// Past the ends of the width (-99 and 999) the value is missing.
TEST(ConvertField, WholeTypedValuesMatchIntegerArithmetic) {
    char expected[16];
    for (int t = -120; t <= 600; ++t) {
        const int tenTimes = 2 * (9 * t + 160);  // ten times deg F, a whole even number
        const int fahrenheit = (tenTimes >= 0 ? tenTimes + 5 : tenTimes - 5) / 10;  // the nearest whole number
        if (fahrenheit > 999 || fahrenheit < -99) {
            std::snprintf(expected, sizeof expected, "...");
        } else if (fahrenheit >= 0) {
            std::snprintf(expected, sizeof expected, "%03d", fahrenheit);
        } else {
            std::snprintf(expected, sizeof expected, "-%02d", -fahrenheit);
        }
        EXPECT_EQ(expected, Convert(F::Temperature, std::to_string(t))) << "typed=" << t;
    }
    for (int degrees = -120; degrees <= 1100; degrees += 7) {
        if (degrees > 999 || degrees < -99) {
            std::snprintf(expected, sizeof expected, "...");
        } else if (degrees >= 0) {
            std::snprintf(expected, sizeof expected, "%03d", degrees);
        } else {
            std::snprintf(expected, sizeof expected, "-%02d", -degrees);
        }
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

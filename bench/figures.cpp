#include "bench/figures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kobrant::bench {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// The blank-separated words of text.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(kBlanks, at)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(kBlanks, at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// Field n (counted from 1 as in proc(5)) of /proc/PID/stat; fields 1 and 2 are the
// pid and the command name, so the words after the last ')' are fields 3 onwards.
std::optional<std::uint64_t> StatField(std::string_view stat, std::size_t n) {
    const std::size_t close = stat.rfind(')');
    if (close == std::string_view::npos || n < 3) return std::nullopt;
    const std::vector<std::string_view> words = Words(stat.substr(close + 1));
    if (words.size() < n - 2) return std::nullopt;
    return ParseUnsigned(words[n - 3]);
}

// What follows name and the mark in the first entry that begins so, the entries
// separated by separator: "VmHWM:\t 8632 kB" gives "\t 8632 kB" for VmHWM and ':'.
std::optional<std::string_view> ValueAfter(std::string_view entries, char separator, std::string_view name,
                                           char mark) {
    for (std::size_t at = 0; at < entries.size();) {
        const std::size_t end = std::min(entries.find(separator, at), entries.size());
        const std::string_view entry = entries.substr(at, end - at);
        at = end + 1;
        if (entry.size() > name.size() && entry.substr(0, name.size()) == name && entry[name.size()] == mark) {
            return entry.substr(name.size() + 1);
        }
    }
    return std::nullopt;
}

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// "412 (398-450)": the median, then the lowest and the highest sample.
std::string FiguresText(const std::vector<double>& samples, int decimals) {
    if (samples.empty()) return "-";
    const auto [lowest, highest] = std::minmax_element(samples.begin(), samples.end());
    const std::string range = " (" + Number(*lowest, decimals) + "-" + Number(*highest, decimals) + ")";
    return Number(Median(samples), decimals) + (samples.size() > 1 ? range : "");
}

std::string TargetText(const Row& row) {
    if (row.judged == Judged::ByRatio) return "<= " + Number(row.limit, 2) + "x";
    if (row.judged == Judged::NotJudged) return "-";
    return "<= " + Number(row.limit, row.decimals) + (row.unit.empty() ? "" : " " + row.unit);
}

}  // namespace

double Median(std::vector<double> samples) {
    if (samples.empty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    if (samples.size() % 2 == 1) return samples[middle];
    return (samples[middle - 1] + samples[middle]) / 2;
}

std::optional<std::uint64_t> CpuTicksFromStat(std::string_view stat) {
    const auto user = StatField(stat, 14);
    const auto system = StatField(stat, 15);
    if (!user || !system) return std::nullopt;
    return *user + *system;
}

std::optional<std::uint64_t> StartTicksFromStat(std::string_view stat) { return StatField(stat, 22); }

std::optional<std::uint64_t> NanosecondsFromSchedstat(std::string_view schedstat) {
    const std::vector<std::string_view> words = Words(schedstat);
    if (words.empty()) return std::nullopt;
    return ParseUnsigned(words.front());
}

std::optional<std::uint64_t> KibFromStatus(std::string_view status, std::string_view name) {
    const std::optional<std::string_view> value = ValueAfter(status, '\n', name, ':');
    if (!value) return std::nullopt;
    const std::vector<std::string_view> words = Words(*value);
    if (words.size() != 2 || words[1] != "kB") return std::nullopt;
    return ParseUnsigned(words[0]);
}

std::optional<std::string> EnvironmentValue(std::string_view environment, std::string_view name) {
    const std::optional<std::string_view> value = ValueAfter(environment, '\0', name, '=');
    if (!value) return std::nullopt;
    return std::string(*value);
}

std::string CommandNameOf(std::string_view fileName) { return std::string(fileName.substr(0, 15)); }

std::vector<std::string> ForeignImports(const std::vector<std::string>& dlls) {
    static constexpr std::string_view kSystemDlls[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll",
                                                       "msvcrt.dll"};
    std::vector<std::string> foreign;
    for (const std::string& dll : dlls) {
        std::string lower = dll;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::find(std::begin(kSystemDlls), std::end(kSystemDlls), lower) == std::end(kSystemDlls)) {
            foreign.push_back(dll);
        }
    }
    return foreign;
}

std::string RatioText(double program, double baseline) {
    if (std::isnan(program) || std::isnan(baseline) || baseline == 0) return "-";
    return Number(program / baseline, 2) + "x";
}

std::string Verdict(const Row& row) {
    const double program = Median(row.program);
    const double baseline = Median(row.sameUi);
    if (std::isnan(program) || row.judged == Judged::NotJudged) return "-";
    if (row.judged == Judged::ByLimit) return program <= row.limit ? "yes" : "no";
    if (std::isnan(baseline) || baseline == 0) return "-";
    return program / baseline <= row.limit ? "yes" : "no";
}

std::string TableText(const Report& report) {
    const bool three = !report.emptyDialogColumn.empty();
    std::string text = "### " + report.title + "\n\n";
    text += "| figure | " + report.programColumn + " | " + report.sameUiColumn + " | ratio | " +
            (three ? report.emptyDialogColumn + " | ratio (reference) | " : "") + "target | met |\n";
    text += three ? "|---|---|---|---|---|---|---|---|\n" : "|---|---|---|---|---|---|\n";
    const auto baselineText = [](const Row& row, const std::vector<double>& samples) {
        return samples.empty() && !row.baselineNote.empty() ? row.baselineNote : FiguresText(samples, row.decimals);
    };
    for (const Row& row : report.rows) {
        const double program = Median(row.program);
        text += "| " + row.figure + " | " + FiguresText(row.program, row.decimals) + " | " +
                baselineText(row, row.sameUi) + " | " + RatioText(program, Median(row.sameUi)) + " | " +
                (three ? baselineText(row, row.emptyDialog) + " | " + RatioText(program, Median(row.emptyDialog)) +
                             " | "
                       : "") +
                TargetText(row) + " | " + Verdict(row) + " |\n";
    }
    for (const TextRow& row : report.textRows) {
        text += "| " + row.figure + " | " + row.program + " | " + row.sameUi + " | - | " +
                (three ? row.emptyDialog + " | - | " : "") + row.target + " | " + (row.met ? "yes" : "no") + " |\n";
    }
    if (!report.notes.empty()) {
        text += "\n";
        for (const std::string& note : report.notes) text += note + "\n";
    }
    return text;
}

}  // namespace kobrant::bench

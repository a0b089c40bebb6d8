// The Linux program's entry: the arguments and the terminal checked, then start-up's
// steps as on Windows, with the terminal form's header line in place of the message box.

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/startup.h"
#include "terminal/shown_text.h"
#include "terminal/terminal_form.h"
#include "numbers/float_state.h"

namespace kobrant {
namespace {

constexpr int kUsageError = 2;

constexpr char kHelp[] =
    "Aufruf: kobrant [--help | --version]\n"
    "\n"
    "Neun Wetterwerte in ein Formular: \"Enter\" schreibt den APRS-Wetterbericht\n"
    "WX-DATA.txt und die Werte in kobrant.ctl, beide in den Ordner, in dem kobrant\n"
    "gestartet wurde. \"CLEAR\" leert die Felder.\n"
    "\n"
    "Tasten: Tab, Pfeil ab, Return: weiter; Umschalt+Tab, Pfeil auf: zur\xFC" "ck;\n"
    "Return oder Leertaste auf einem Knopf: dr\xFC" "cken; F10 oder Strg+C: Ende.\n"
    "\n"
    "  --help     diese Hilfe\n"
    "  --version  die Version\n";

// getcwd under GetCurrentDirectoryA's rules (startup.h's DirectoryReader).
std::uint32_t ReadCurrentDirectory(char* buffer, std::uint32_t size) {
    std::vector<char> directory(256);
    while (getcwd(directory.data(), directory.size()) == nullptr) {
        if (errno != ERANGE) return 0;
        directory.resize(directory.size() * 2);
    }
    const std::size_t length = std::strlen(directory.data());
    if (length + 1 > size) return static_cast<std::uint32_t>(length + 1);
    std::memcpy(buffer, directory.data(), length + 1);
    return static_cast<std::uint32_t>(length);
}

void Print(std::FILE* stream, std::string_view windows1252) {
    const std::string bytes = LocaleBytes(windows1252);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

int Refuse(const std::string& why) {
    Print(stderr, "kobrant: " + why + "\n");
    return kUsageError;
}

}  // namespace

int RunProgram(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the terminal's encoding, before curses starts
    if (argc > 1) {
        const std::string_view argument = argv[1];
        if (argc == 2 && argument == "--help") {
            Print(stdout, kHelp);
            return 0;
        }
        if (argc == 2 && argument == "--version") {
            Print(stdout, "kobrant " KOBRANT_VERSION "\n");
            return 0;
        }
        // The argument in the locale's encoding, its control characters replaced.
        Print(stderr, "kobrant: unbekanntes Argument \"");
        const std::string shown = LocaleBytesOf(ShownSystemText(argument));
        std::fwrite(shown.data(), 1, shown.size(), stderr);
        Print(stderr, "\" (kobrant --help nennt die Aufrufe)\n");
        return kUsageError;
    }
    // Before anything is written: the form needs a terminal to draw on and to read keys from.
    if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
        return Refuse("Standardeingabe und Standardausgabe m\xFCssen ein Terminal sein");
    }
    std::string why;
    if (!StartTerminal(why)) return Refuse(why);

    SetFloatingPointState();
    ProgramValues values = LoadStartValues(CurrentDirectoryFrom(ReadCurrentDirectory));
    return RunTerminalForm(values);
}

}  // namespace kobrant

int main(int argc, char** argv) { return kobrant::RunProgram(argc, argv); }

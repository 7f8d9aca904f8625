#include "console.h"

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace venturon::cli {

#ifdef _WIN32

namespace {

bool is_console(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

} // namespace

ConsoleOutput::ConsoleOutput() {
    // Text mode would write CR LF for each LF: a redirected report, CSV or JSON
    // would differ from the same run on Linux.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (is_console(STD_OUTPUT_HANDLE) || is_console(STD_ERROR_HANDLE)) {
        const UINT code_page = GetConsoleOutputCP();
        if (code_page != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
            saved_code_page_ = code_page;
        }
    }
}

ConsoleOutput::~ConsoleOutput() {
    if (saved_code_page_ != 0) {
        std::fflush(stdout);
        std::fflush(stderr);
        SetConsoleOutputCP(saved_code_page_);
    }
}

#else

ConsoleOutput::ConsoleOutput() = default;
ConsoleOutput::~ConsoleOutput() = default;

#endif

} // namespace venturon::cli

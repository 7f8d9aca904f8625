#pragma once

namespace venturon::cli {

// For the life of the tool, standard output and standard error carry its UTF-8
// text byte for byte, as on Linux: on Windows the C runtime puts no CR before
// each LF, and a console shows the text as UTF-8 (the console's code page is
// put back when the object goes). Elsewhere it does nothing.
class ConsoleOutput {
public:
    ConsoleOutput();
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

private:
    [[maybe_unused]] unsigned saved_code_page_ = 0; // Windows: 0 when nothing is to be put back
};

} // namespace venturon::cli

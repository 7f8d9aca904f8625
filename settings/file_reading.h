#pragma once

// Reading a file someone hands the program (a driver file, a design): only a
// regular file, and never more than a limit, so that a huge file or a device
// cannot exhaust memory or block.

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace venturon {

enum class ReadProblem {
    none,
    missing,     // nothing at the path
    folder,      // a folder
    not_regular, // a device, a pipe, a socket
    unreadable,  // no permission, an error while reading
    too_large,   // more than the limit: not read at all
};

struct LimitedRead {
    std::optional<QByteArray> bytes; // when problem is none
    ReadProblem problem = ReadProblem::none;
    qint64 size = 0; // the file's size, for too_large
};

// The whole file when it is a regular file of at most `limit` bytes. A larger one
// is refused from its size before anything is read (and, should it grow while it
// is read, after limit + 1 bytes).
LimitedRead read_limited_file(const QString& path, qint64 limit);

// The problem in words, after the file's name: "there is no such file", "is a
// folder; give a <what>", "is not a regular file", "cannot be read", "is 104857600
// bytes, more than a <what> holds (at most 1048576)".
std::string read_problem_text(const LimitedRead& read, std::string_view what, qint64 limit);

} // namespace venturon

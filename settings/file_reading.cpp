#include "file_reading.h"

#include <QFile>
#include <QFileInfo>

namespace venturon {

LimitedRead read_limited_file(const QString& path, qint64 limit) {
    LimitedRead out;
    const QFileInfo info(path);
    if (!info.exists()) {
        out.problem = ReadProblem::missing;
        return out;
    }
    if (info.isDir()) {
        out.problem = ReadProblem::folder;
        return out;
    }
    // Only regular files: opening a FIFO or a device could block or never end.
    if (!info.isFile()) {
        out.problem = ReadProblem::not_regular;
        return out;
    }
    out.size = info.size();
    if (out.size > limit) {
        out.problem = ReadProblem::too_large;
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.problem = ReadProblem::unreadable;
        return out;
    }
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        out.problem = ReadProblem::unreadable;
        return out;
    }
    if (bytes.size() > limit) {
        out.size = qMax(out.size, qint64(bytes.size()));
        out.problem = ReadProblem::too_large;
        return out;
    }
    out.bytes = std::move(bytes);
    return out;
}

std::string read_problem_text(const LimitedRead& read, std::string_view what, qint64 limit) {
    switch (read.problem) {
    case ReadProblem::none:
        break;
    case ReadProblem::missing:
        return "there is no such file";
    case ReadProblem::folder:
        return "is a folder; give a " + std::string(what);
    case ReadProblem::not_regular:
        return "is not a regular file";
    case ReadProblem::unreadable:
        return "cannot be read";
    case ReadProblem::too_large:
        return "is " + std::to_string(read.size) + " bytes, more than a " + std::string(what) +
               " holds (at most " + std::to_string(limit) + ")";
    }
    return {};
}

} // namespace venturon

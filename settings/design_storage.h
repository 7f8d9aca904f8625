#pragma once

// Designs and the recent designs' list on disk: read with a size limit, written
// through the one writer (file_writing.h).

#include "design_file.h"
#include "file_writing.h"

#include <QString>

#include <string>
#include <variant>
#include <vector>

namespace venturon {

// A design is a few kilobytes: a larger file is refused from its size, unread.
inline constexpr qint64 design_file_read_limit = qint64{1024} * 1024;

// The design in the file at path; a file that cannot be read or is not a good
// design gives one line saying why (without the file's name), and nothing else.
std::variant<Design, DesignProblem> read_design_file(const QString& path);

// Writes the design as write_file does: the whole file or, should that fail, the
// old one as it was.
FileWrite write_design_file(const QString& path, const Design& design);

// "box.design: line 12: vb_l: \"abc\" is not a number"
std::string design_file_message(const QString& path, const DesignProblem& problem);

// venturon-recent-designs.txt in the settings folder, beside venturon.ini (which
// keeps its 17 lines); an empty directory gives the bare name.
QString recent_designs_file_path(const QString& directory);

// The list kept there; an empty one when there is no file or it cannot be read.
RecentDesigns read_recent_designs(const QString& directory);
// Writes it there; false when it was not written.
bool write_recent_designs(const QString& directory, const RecentDesigns& recent);

// What the window's recent designs' menu shows: the list kept in the settings
// folder `directory`, newest first, at most RecentDesigns::default_capacity, the
// paths whose file is gone left out (and the list rewritten without them).
std::vector<QString> recent_designs(const QString& directory);

// After a design is saved or opened: puts its path first in the list (it moves
// there when listed already; the oldest beyond the capacity drop off) and writes
// the list; false when it was not written or the path cannot be kept.
bool remember_design(const QString& directory, const QString& path);

} // namespace venturon

#pragma once

#include <QByteArray>
#include <QString>

namespace venturon {

// How a write went. `problem` is one line for a message ("no space left on the
// device"), empty on success.
struct FileWrite {
    bool written = false;
    QString problem;
};

// Every file the programs write goes through here. A regular file (or a link to
// one, which stays a link) is replaced atomically: afterwards either the whole new
// content is there or the old file is untouched, byte for byte; every write and
// the flush are checked, and the old file's owner, group and permission bits are
// kept. When the folder refuses the temporary file that needs but the file itself
// can be written, the file is rewritten in place, and put back as it was should
// that fail. A character device or a FIFO at the path (such as a link to
// /dev/null) is written into directly when it takes the bytes at once, and never
// replaced; any other kind of file is left alone. On Windows, a file with the
// read-only attribute is refused and left as it is, and a file that another
// program holds open (so that it cannot be renamed over) is rewritten in place
// when the holder allows it, else left as it was.
FileWrite write_file(const QString& path, const QByteArray& bytes);

} // namespace venturon

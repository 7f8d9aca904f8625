#pragma once

#include <QByteArray>
#include <QByteArrayView>
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
//
// `filler` is what the file's format ignores at its end (blank lines, blanks after
// an XML document's root element, bytes after a PNG's last chunk): a rewrite in
// place that makes the file shorter first pads the new content with it to the old
// length and only then cuts the file, so that the file is never the new content
// followed by the old one's tail. Empty: no padding.
FileWrite write_file(const QString& path, const QByteArray& bytes, QByteArrayView filler = "\n");

// What a rewrite in place puts in a file of old_size bytes before cutting it to the
// new length: bytes, then filler repeated (the last repetition cut short) up to
// old_size. Just bytes when they are not shorter or filler is empty.
QByteArray padded_content(const QByteArray& bytes, qint64 old_size, QByteArrayView filler);

} // namespace venturon

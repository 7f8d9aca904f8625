// The one file writer on Windows: the read-only attribute, a file that another
// program holds open, line ends kept byte for byte, names outside any ANSI code
// page. Sharing is decided per open handle, so a handle of this process stands
// for the other program.
#include "file_writing.h"
#include "settings_file.h"
#include "support/isolation.h"
#include "support/row_names.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <windows.h>

using namespace venturon;
using namespace venturon::testing;

namespace {

const QByteArray old_bytes("cruise_off\r\n 152.4\r\n2\r\n");
const QByteArray new_bytes = QByteArray(" 100\r\n").repeated(17);

std::wstring wide(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

DWORD attributes(const QString& path) {
    return GetFileAttributesW(wide(path).c_str());
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// An open handle on a file, as another program would hold it.
class Holder {
public:
    Holder(const QString& path, DWORD share)
        : handle_(CreateFileW(wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~Holder() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool open() const { return handle_ != INVALID_HANDLE_VALUE; }
    // What the holder reads now, from the start.
    QByteArray read_all() const {
        SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
        char buffer[4096];
        DWORD n = 0;
        ReadFile(handle_, buffer, sizeof buffer, &n, nullptr);
        return QByteArray(buffer, int(n));
    }

private:
    HANDLE handle_;
};

struct WindowsFileWriting : ::testing::Test {
    QTemporaryDir dir;
    QString path() const { return dir.filePath("venturon.ini"); }
};

} // namespace

TEST_F(WindowsFileWriting, ReadOnlyAttributeIsRespected) {
    ASSERT_TRUE(put(path(), old_bytes));
    ASSERT_TRUE(SetFileAttributesW(wide(path()).c_str(), FILE_ATTRIBUTE_READONLY));
    const FileWrite w = write_file(path(), new_bytes);
    EXPECT_FALSE(w.written);
    EXPECT_FALSE(w.problem.isEmpty());
    EXPECT_EQ(contents(path()), old_bytes);
    EXPECT_TRUE(attributes(path()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(entries(dir.path()), QStringList{"venturon.ini"}); // no temporary file left
    ASSERT_TRUE(SetFileAttributesW(wide(path()).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(write_file(path(), new_bytes).written);
    EXPECT_EQ(contents(path()), new_bytes);
}

namespace {

struct HeldOpen {
    const char* name;
    DWORD share;  // what the holder lets others do
    bool written; // whether the writer can get the new bytes in
};

void PrintTo(const HeldOpen& row, std::ostream* os) {
    *os << row.name;
}

const HeldOpen held_open[] = {
    {"shared_for_writing", FILE_SHARE_READ | FILE_SHARE_WRITE, true},
    {"shared_for_everything", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
    {"shared_for_reading_only", FILE_SHARE_READ, false},
    {"not_shared", 0, false},
};

class HeldOpenFile : public WindowsFileWriting, public ::testing::WithParamInterface<HeldOpen> {};

} // namespace

// Whole or not at all, whatever the other program allows; nothing left beside it.
TEST_P(HeldOpenFile, IsWrittenWhereTheHolderAllowsItElseKept) {
    ASSERT_TRUE(put(path(), old_bytes));
    {
        const Holder holder(path(), GetParam().share);
        ASSERT_TRUE(holder.open());
        const FileWrite w = write_file(path(), new_bytes);
        EXPECT_EQ(w.written, GetParam().written) << w.problem.toStdString();
        EXPECT_EQ(w.problem.isEmpty(), GetParam().written);
        if (GetParam().written && GetParam().share & FILE_SHARE_DELETE) {
            // Either replaced (the holder keeps the old file) or rewritten in place.
            const QByteArray seen = holder.read_all();
            EXPECT_TRUE(seen == old_bytes || seen == new_bytes);
        } else if (GetParam().written) {
            EXPECT_EQ(holder.read_all(), new_bytes); // rewritten where it stands
        }
    }
    EXPECT_EQ(contents(path()), GetParam().written ? new_bytes : old_bytes);
    EXPECT_EQ(entries(dir.path()), QStringList{"venturon.ini"});
}

INSTANTIATE_TEST_SUITE_P(Sharing, HeldOpenFile, ::testing::ValuesIn(held_open), RowName());

// Line ends go out as given: the settings' CR LF never becomes CR CR LF, and a
// lone LF stays one.
TEST_F(WindowsFileWriting, LineEndsAreWrittenAndReadByteForByte) {
    const QByteArray mixed("a\r\nb\nc\rd\r\n");
    for (const QByteArray& bytes : {new_bytes, mixed}) {
        ASSERT_TRUE(write_settings_file(path(), bytes));
        EXPECT_EQ(contents(path()), bytes);
        EXPECT_EQ(read_settings_file(path()), bytes);
    }
}

TEST_F(WindowsFileWriting, NamesOutsideTheAnsiCodePage) {
    const QString folder = dir.filePath(QStringLiteral("\u0413\u0440\u043e\u043c\u043a\u043e "
                                                       "\u65e5\u672c \U0001F50A"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = settings_file_path(folder);
    EXPECT_TRUE(write_settings_file(file, old_bytes));
    EXPECT_TRUE(write_settings_file(file, new_bytes)); // and replaced
    EXPECT_EQ(read_settings_file(file), new_bytes);
    EXPECT_EQ(entries(folder), QStringList{"venturon.ini"});
    // The same file through the wide Windows API: the name was not mangled on the way.
    EXPECT_NE(attributes(file), INVALID_FILE_ATTRIBUTES);
}

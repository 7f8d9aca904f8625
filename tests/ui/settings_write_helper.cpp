// Helper program of the settings-write tests: makes a condition in which the
// settings file cannot be written, starts the main window on a settings folder,
// changes the port count and closes the window, as a user would. Mounts and
// limits stay in this process; the tests' own process, which holds a
// QApplication, never forks.
//
//   settings_write_helper CONDITION FOLDER
//
// CONDITION is one of
//   plain            the folder as it is
//   read-only        a tmpfs of this process's own at FOLDER, holding the example
//                    settings file, mounted read-only
//   full-disk        the same tmpfs, writable but full to the last byte
//   file-size-limit  no file can grow beyond 100 bytes
//
// Exit status: 0 when the window closed without a word (and, on the private
// tmpfs, the old file is still there byte for byte with nothing left beside it);
// 77 when the condition cannot be made here; any other status says what went
// wrong, which is also written on standard error.
#include "designed_names.h"
#include "main_window.h"
#include "recording_interaction.h"
#include "settings_file.h"
#include "support/isolation.h"
#include "support/settings_examples.h"
#include "text_box.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace venturon;
using namespace venturon::testing;

namespace {

int failed(int status, const char* what) {
    std::fprintf(stderr, "settings_write_helper: %s\n", what);
    return status;
}

// Starts the program on settings_directory, changes the port count and closes it.
int close_after_a_change(const QString& settings_directory) {
    ProgramState program;
    RecordingInteraction interaction;
    {
        MainWindow window(program, interaction, settings_directory);
        window.show();
        auto* ports =
            window.findChild<QLineEdit*>(QString::fromLatin1(designed::main::port_count_field));
        if (!ports) {
            return failed(14, "the window has no port count field");
        }
        ports->setText(QStringLiteral("3"));
        window.close();
        if (window.isVisible()) {
            return failed(10, "the window is still open after closing");
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!interaction.messages.empty() || !interaction.unexpected_dialogs.isEmpty()) {
        return failed(11, "closing showed a message or a dialog");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string condition = argc == 3 ? argv[1] : "";
    const bool private_disk = condition == "read-only" || condition == "full-disk";
    if (!private_disk && condition != "plain" && condition != "file-size-limit") {
        return failed(1, "usage: settings_write_helper plain|read-only|full-disk|file-size-limit "
                         "FOLDER");
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString target = settings_file_path(folder);
    const QByteArray old_file = QByteArray::fromStdString(example_settings_file);

    // Mounts come first, while this process has a single thread.
    if (private_disk) {
        if (!mount_private_tmpfs(folder, "64k")) {
            return failed(child_skipped, "cannot mount a tmpfs here");
        }
        if (!put(target, old_file)) {
            return failed(2, "cannot write the old settings file");
        }
        if (condition == "read-only" ? !remount(folder, true) : !fill_disk(folder)) {
            return failed(2, "cannot make the disk read-only or full");
        }
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication app(argc, argv);
    if (condition == "file-size-limit" && !limit_file_size(100)) {
        return failed(child_skipped, "cannot limit the file size");
    }

    if (const int closed = close_after_a_change(folder); closed != 0) {
        return closed;
    }
    if (private_disk) {
        if (contents(target) != old_file) {
            return failed(12, "the old settings file changed");
        }
        const QStringList expected = condition == "full-disk"
                                         ? QStringList{"filler", "venturon.ini"}
                                         : QStringList{"venturon.ini"};
        if (QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) !=
            expected) {
            return failed(13, "files were left beside the settings file");
        }
    }
    return 0;
}

#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace venturon {

// Reading stops after this many bytes: 17 lines never need more, and a stray huge
// file must not exhaust memory at start-up.
inline constexpr qint64 settings_read_limit = qint64{64} * 1024 * 1024;

// The bytes of the settings file (at most settings_read_limit of them); nullopt
// when there is no regular file at path or it cannot be read.
std::optional<QByteArray> read_settings_file(const QString& path);

// Replaces the file at path with bytes, as write_file does (atomically, keeping
// its owner and mode; a link to a device or FIFO is written into, never
// replaced). Returns false when the new content is not all there. Never reports
// anything itself.
bool write_settings_file(const QString& path, const QByteArray& bytes);

// How long a window that closes waits for another one to finish writing its pair
// of files (which takes a few milliseconds).
inline constexpr std::chrono::milliseconds settings_lock_wait{5000};

// Writes venturon.ini and, when given, venturon-enclosure.ini in directory as one
// pair: each as write_settings_file does, while holding venturon.ini.lock beside
// them, so that two windows closing together leave both files of one of them,
// never one file of each. A lock left behind by a program that crashed is taken
// over; one that cannot be made, or that another program holds for longer than
// `wait`, does not stop the writing. Returns false when a file was not written.
bool write_settings_pair(const QString& directory, const QByteArray& settings,
                         const std::optional<QByteArray>& enclosure_inputs,
                         std::chrono::milliseconds wait = settings_lock_wait);

// venturon.ini in a directory; an empty directory gives the bare name.
QString settings_file_path(const QString& directory);

// venturon-enclosure.ini, the enclosure designer's inputs, beside venturon.ini.
QString enclosure_file_path(const QString& directory);

// Where the settings file lives: the program's directory when it already holds
// venturon.ini or a file can really be created there (a portable installation),
// otherwise the user's configuration directory, created when missing. A program
// installed into a system prefix always uses the user's configuration directory,
// even where it could write beside itself (as root can in /usr/bin).
QString choose_settings_directory(const QString& program_dir, const QString& user_config_dir,
                                  bool installed = false);

// The user's configuration folder for Venturon: $XDG_CONFIG_HOME/venturon, or
// ~/.config/venturon when that is unset, empty or relative (the XDG base directory
// rules say a relative value is to be ignored). On Windows the application's
// folder in %APPDATA% as QStandardPaths gives it (%APPDATA%\venturon for the
// program, which names itself application_name and sets no organisation).
// Elsewhere, the system's own per-user configuration folder.
QString user_config_directory();

// The Windows installer's uninstaller, which it puts beside the programs
// (packaging/windows names it too).
inline constexpr char windows_uninstaller_name[] = "Uninstall.exe";

// Whether the program in program_dir was installed with its desktop entry
// (<prefix>/bin beside <prefix>/share/applications/<desktop_file_name>), or on
// Windows by the installer (its uninstaller beside the program). A copy from the
// portable zip has neither.
bool installed_program(const QString& program_dir, const QString& desktop_file_name);

} // namespace venturon

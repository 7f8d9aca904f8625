#pragma once

// Starts a program as a separate process, as a shell user or a desktop would,
// and waits for it to end.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <string>

namespace venturon::testing {

// How a run ended: the exit status (-1 when the program crashed, could not start
// or did not end) and what it printed.
struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// The generous wait guards against a program that hangs; it is no measure of speed.
inline Outcome
run_program(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
            const QString& working_directory = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!working_directory.isEmpty()) {
        process.setWorkingDirectory(working_directory);
    }
    process.start(program, arguments);
    Outcome o;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        o.err = "did not end: " + process.errorString().toStdString();
        return o;
    }
    o.out = process.readAllStandardOutput().toStdString();
    o.err = process.readAllStandardError().toStdString();
    if (process.exitStatus() == QProcess::NormalExit) {
        o.status = process.exitCode();
    }
    return o;
}

} // namespace venturon::testing

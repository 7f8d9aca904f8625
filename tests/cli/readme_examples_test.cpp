// Every venturon-calc example the README shows runs and prints exactly what the
// README says it prints: the documented figures are the tool's.
#include "options.h"
#include "support/run_program.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace venturon::testing;

namespace {

struct Example {
    QStringList arguments;
    std::string output;
};

// A file an example reads: a block whose fence names it ("```ini file=woofer.txt").
struct ExampleFile {
    QString name;
    QByteArray text;
};

// The README's console blocks: a "$ ./build/cli/venturon-calc ..." command (lines
// ending in a backslash go on), then what it prints up to the next command; and
// the files they read, each written before the examples run.
std::vector<Example> readme_examples(std::vector<ExampleFile>& files) {
    QFile file(QStringLiteral(VENTURON_README_PATH));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    std::vector<Example> out;
    bool in_console = false;
    ExampleFile* named = nullptr;
    Example* example = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(QLatin1String("```"))) {
            in_console = line == QLatin1String("```console");
            example = nullptr;
            named = nullptr;
            const auto at = line.indexOf(QLatin1String(" file="));
            if (at > 0) {
                files.push_back({line.mid(at + 6).trimmed(), {}});
                named = &files.back();
            }
            continue;
        }
        if (named) {
            named->text += line.toUtf8() + '\n';
            continue;
        }
        if (!in_console) {
            continue;
        }
        if (line.startsWith(QLatin1String("$ "))) {
            QString command = line.mid(2);
            while (command.endsWith(QLatin1Char('\\')) && i + 1 < lines.size()) {
                command.chop(1);
                command += lines[++i];
            }
            QStringList words =
                command.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
            words.removeFirst(); // the program
            out.push_back({words, {}});
            example = &out.back();
        } else if (example) {
            example->output += line.toStdString() + "\n";
        }
    }
    return out;
}

} // namespace

TEST(ReadmeExamples, PrintWhatTheReadmeShows) {
    std::vector<ExampleFile> files;
    const auto examples = readme_examples(files);
    ASSERT_GE(examples.size(), 4u);
    QTemporaryDir dir; // where the examples' files and graph files go
    ASSERT_TRUE(dir.isValid());
    for (const ExampleFile& f : files) {
        QFile out(dir.filePath(f.name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << f.name.toStdString();
        out.write(f.text);
    }
    for (const Example& e : examples) {
        SCOPED_TRACE(e.arguments.join(' ').toStdString());
        if (!venturon::cli::graph_output_available() &&
            e.arguments.filter(QStringLiteral("graph")).size() > 0) {
            continue; // a build without the window draws no graphs
        }
        const Outcome o = run_program(QStringLiteral(VENTURON_CALC_PATH), e.arguments,
                                      QProcessEnvironment::systemEnvironment(), dir.path());
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, e.output);
    }
}

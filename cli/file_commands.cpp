// The commands of corvane-scenes that work on files only: show, diff, export, import.
#include <QCommandLineParser>
#include <QFile>
#include <string>

#include "cli/command_line.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/scene_csv.h"
#include "cli/scene_printing.h"
#include "cli/standard_output.h"
#include "cli/table_files.h"
#include "document/plain_reason.h"

namespace corvane::cli {

int Show(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("show"),
        QStringLiteral(
            "Prints a scene of FILE (every scene without --scene) as the editor shows it."),
        QStringLiteral("FILE"));
    const QCommandLineOption scene(QStringLiteral("scene"),
                                   QStringLiteral("The scene to print, 1 to 64."),
                                   QStringLiteral("S"));
    const QCommandLineOption levels(QStringLiteral("levels"),
                                    QStringLiteral("Print raw levels 0 to 255, not percentages."));
    cmd.parser.addOption(scene);
    cmd.parser.addOption(levels);
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;

    if (!CheckStandardOutput(QStringLiteral("show"), {cmd.positional(0)}, &status)) return status;
    int first = 0;
    int last = kSceneCount - 1;
    if (cmd.parser.isSet(scene)) {
        bool numeric = false;
        const int s = cmd.parser.value(scene).toInt(&numeric, 10);
        if (!numeric || s < 1 || s > kSceneCount)
            return complain(kUsage, "--scene takes a scene number from 1 to 64, not \"" +
                                        text(cmd.parser.value(scene)) + "\"");
        first = last = s - 1;
    }
    SceneTable table;
    if (!LoadTable(cmd.positional(0), table, &status)) return status;
    const LevelFormat format = cmd.parser.isSet(levels) ? LevelFormat::Raw : LevelFormat::Percent;
    for (int s = first; s <= last; ++s) {
        if (s != first) out.write("\n");
        out.write(PrintScene(table, s, format));
    }
    return kDone;
}

int Diff(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("diff"),
        QStringLiteral(
            "Lists every scene and dimmer whose level differs between scene files A and B. "
            "Exit status 0 when they hold the same levels, 1 when they differ."),
        QStringLiteral("A B"));
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status) ||
        !CheckStandardOutput(QStringLiteral("diff"), {cmd.positional(0), cmd.positional(1)},
                             &status))
        return status;
    SceneTable a;
    SceneTable b;
    if (!LoadTable(cmd.positional(0), a, &status) || !LoadTable(cmd.positional(1), b, &status))
        return status;
    int differences = 0;
    out.write(PrintDifferences(a, b, "Scene      Dimmer            A       B", &differences));
    return differences == 0 ? kDone : kNoAnswer;
}

int Export(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("export"),
        QStringLiteral(
            "Prints the scene file FILE as CSV: a header row of dimmer names, then one row "
            "per scene."),
        QStringLiteral("FILE"));
    int status = kDone;
    if (!cmd.parse(arguments, 1, out, &status)) return status;
    if (!CheckStandardOutput(QStringLiteral("export"), {cmd.positional(0)}, &status)) return status;
    SceneTable table;
    if (!LoadTable(cmd.positional(0), table, &status)) return status;
    out.write(WriteSceneCsv(table));
    return kDone;
}

int Import(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("import"),
        QStringLiteral(
            "Reads CSV as written by export (or by a spreadsheet, with commas or semicolons "
            "between fields) and writes it to FILE as a scene file."),
        QStringLiteral("CSV FILE"));
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status)) return status;
    const QString csvPath = cmd.positional(0);
    const QString target = cmd.positional(1);
    if (!CheckWriteName(QStringLiteral("import"), target, {csvPath}, true, &status)) return status;
    const std::string notWritten = "; " + text(target) + " was not written.";
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        return complain(kFileError, "Could not read " + text(csvPath) + ": " +
                                        text(PlainReason(csv.errorString())) + notWritten);
    const QByteArray content = csv.readAll();
    SceneTable table;
    std::string error;
    if (!ReadSceneCsv(std::string_view(content.constData(), static_cast<size_t>(content.size())),
                      table, &error))
        return complain(kFileError, "Could not read " + text(csvPath) + ": " + error + notWritten);
    return SaveTable(target, table, &status) ? kDone : status;
}

}  // namespace corvane::cli

// corvane-scenes picture: a whole show, or where two shows differ, as one PNG picture.
#include <QBuffer>
#include <QByteArray>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QImage>

#include "cli/command_line.h"
#include "cli/command_set.h"
#include "cli/exit_codes.h"
#include "cli/show_picture.h"
#include "cli/standard_output.h"
#include "cli/table_files.h"
#include "document/scene_file.h"

namespace corvane::cli {

int Picture(const QStringList& arguments, StandardOutput& out) {
    CommandLine cmd(
        QStringLiteral("picture"),
        QStringLiteral(
            "Draws the scene file FILE as the PNG picture OUT.png: 64 scenes by 64 dimmers, "
            "each cell as bright as its level, with a legend of the percent scale. With "
            "--diff, the levels that differ from OTHER are marked in red and the equal ones "
            "drawn dimmed; the caption counts them. The exit status is 0 whenever the "
            "picture was written (diff tells by its status whether files differ)."),
        QStringLiteral("FILE OUT.png"));
    const QCommandLineOption diff(
        QStringLiteral("diff"),
        QStringLiteral("Mark the levels that differ from the scene file OTHER."),
        QStringLiteral("OTHER"));
    cmd.parser.addOption(diff);
    int status = kDone;
    if (!cmd.parse(arguments, 2, out, &status)) return status;
    const QString file = cmd.positional(0);
    const QString target = cmd.positional(1);
    // "picture a.SCN b.SCN", meant as a comparison, would draw over the show in b.SCN.
    if (!target.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return complain(kUsage,
                        "picture: \"" + text(target) +
                            "\" is not a .png file name; the picture's name comes second, the file "
                            "to compare with after --diff (see --help)");

    const bool comparing = cmd.parser.isSet(diff);
    QStringList sources{file};
    if (comparing) sources << cmd.parser.value(diff);
    if (!CheckWriteName(QStringLiteral("picture"), target, sources, false, &status)) return status;
    SceneTable table;
    SceneTable other;
    if (!LoadTable(file, table, &status)) return status;
    if (comparing && !LoadTable(cmd.parser.value(diff), other, &status)) return status;
    if (!CheckTarget(target, &status)) return status;

    const QString name = QFileInfo(file).fileName();
    const QImage image =
        comparing ? DrawDifference(table, name, other, QFileInfo(cmd.parser.value(diff)).fileName())
                  : DrawShow(table, name);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return complain(kFileError,
                        "Could not save " + text(target) + ": the picture could not be made.");
    QString error;
    if (!SaveFileBytes(target, png, &error)) return complain(kFileError, text(error));
    return kDone;
}

}  // namespace corvane::cli

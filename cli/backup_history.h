// A backup folder's history: DIR/node-N.SCN holds what the controller held at the last backup, and
// DIR/history/node-N/STAMP.SCN each earlier version that differed, STAMP being the time that
// version was saved.
#pragma once

#include <QDateTime>
#include <QString>
#include <string>

#include "document/scene_table.h"

namespace corvane::cli {

inline constexpr int kDefaultKeep = 30;

// What a backup did with one controller's file.
struct KeptBackup {
    enum class Kind { New, Unchanged, Changed };
    Kind kind = Kind::New;
    // Changed: how many levels differ from the previous backup, -1 when it could not be read.
    int differences = 0;
    QDateTime previous;  // Changed: when the previous backup was saved
};

// "2026-12-08T03-00-00": a time as the history names its files (no colons, sortable).
QString HistoryStamp(const QDateTime& time);

// Saves scenes as DIR/node-N.SCN. When that file holds other levels, it moves to the node's history
// first, so that at every moment DIR/node-N.SCN exists: the new file is written beside it, the old
// one is linked into the history, and the new one then renamed over it. When it holds the same
// levels, it is left alone, its time too. Then the history keeps only the newest keep versions.
// False with the reason in *error when the new file could not take the old one's place (the old
// one then stays).
bool KeepBackup(const QString& dir, int node, const SceneTable& scenes, int keep,
                KeptBackup* result, QString* error);

// The node's line: "Node: 03 unchanged", "Node: 03 new", "Node: 03 changed: 12 levels differ from
// the backup of 2026-12-07 03:00".
std::string DescribeKept(int node, const KeptBackup& kept);

}  // namespace corvane::cli

// The system's error sentences in words a technician can act on.
#include "document/plain_reason.h"

#include <QtGlobal>
#include <cerrno>

namespace corvane {

QString PlainReason(const QString& systemText) {
    struct Known {
        int code;
        const char* words;
    };
    static constexpr Known kKnown[] = {
        {EACCES, "permission denied"},
        {EPERM, "permission denied"},
        {ENOSPC, "no room left on the disk"},
#ifdef EDQUOT
        {EDQUOT, "the disk quota is used up"},
#endif
        {EROFS, "the disk is read-only"},
        {EFBIG, "the file is larger than the system allows"},
        {ENOENT, "the file or its folder does not exist"},
        {EIO, "the disk reported a read or write error"},
    };
    for (const Known& k : kKnown) {
        if (systemText == qt_error_string(k.code)) return QString::fromLatin1(k.words);
    }
    if (systemText.isEmpty()) return QStringLiteral("an unknown error");
    QString text = systemText;
    text[0] = text[0].toLower();
    return text;
}

QString PlainReasonFor(int errorCode) {
    return PlainReason(qt_error_string(errorCode));
}

}  // namespace corvane

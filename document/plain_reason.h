// The system's error sentences in words a technician can act on.
#pragma once

#include <QString>

namespace corvane {

// Qt's text for a system error ("No space left on device"); the common ones get plain words
// ("no room left on the disk"), the rest start in lower case to follow a colon.
QString PlainReason(const QString& systemText);

// The same for an errno value.
QString PlainReasonFor(int errorCode);

}  // namespace corvane

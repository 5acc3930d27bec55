// Where the tool's windows open.
#pragma once

class QWidget;

namespace corvane {

// Centres the window, frame included, on the screen it is on; the windows open there the first
// time they are shown.
void CentreOnScreen(QWidget& window);

}  // namespace corvane

#include "Topmost.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include "WindowPlacement.h"
#endif

namespace surftally {

void MakeTopmost(QWidget& window) {
#ifdef Q_OS_WIN
    MakeTopmost(static_cast<std::uintptr_t>(window.winId()));
#else
    window.raise();
#endif
}

}  // namespace surftally

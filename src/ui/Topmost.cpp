#include "Topmost.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace surftally {

void MakeTopmost(QWidget& window) {
#ifdef Q_OS_WIN
    SetWindowPos(reinterpret_cast<HWND>(window.winId()), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
#else
    window.raise();
#endif
}

}  // namespace surftally

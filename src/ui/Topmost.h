#pragma once

class QWidget;

namespace surftally {

// Puts a window above every other window without moving, sizing or activating it. The window
// carries Qt::WindowStaysOnTopHint; on Windows this is SetWindowPos with HWND_TOPMOST.
void MakeTopmost(QWidget& window);

}  // namespace surftally

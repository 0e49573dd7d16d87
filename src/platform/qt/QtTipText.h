#pragma once

#include <QString>

#include "platform/TrayShell.h"

namespace surftally {

// The record's tip as text, empty without NotifyFlag::Tip. The 63-byte cut may split a UTF-8
// sequence; the broken tail is dropped rather than shown as a replacement character.
QString TipText(const NotifyIconData& data);

// `text` for a tool tip, shown as these characters: Qt, and the Qt-based hosts of D-Bus
// notification items, draw a tip that looks like markup as rich text, so such a tip goes
// escaped, its blanks kept.
QString ToolTipOf(const QString& text);

}  // namespace surftally

#pragma once

#include <QString>

#include "TrayShell.h"

namespace surftally {

// The record's tip as text, empty without NIF_TIP. The 63-byte cut may split a UTF-8
// sequence; the broken tail is dropped rather than shown as a replacement character.
QString TipText(const NotifyIconData& data);

}  // namespace surftally

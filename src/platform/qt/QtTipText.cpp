#include "platform/qt/QtTipText.h"

#include <QTextDocument>

#include <cstring>

namespace surftally {

QString TipText(const NotifyIconData& data) {
    if ((data.uFlags & NotifyFlag::Tip) == 0) {
        return {};
    }
    std::size_t length = strnlen(data.szTip, sizeof data.szTip);
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(data.szTip[start - 1]) & 0xC0) == 0x80) {
        --start;
    }
    if (start > 0) {
        const auto lead = static_cast<unsigned char>(data.szTip[start - 1]);
        const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (lead >= 0xC0 && length - (start - 1) < need) {
            length = start - 1;
        }
    }
    return QString::fromUtf8(data.szTip, static_cast<qsizetype>(length));
}

QString ToolTipOf(const QString& text) {
    if (!Qt::mightBeRichText(text)) {
        return text;
    }
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

}  // namespace surftally

#include "platform/qt/QtIconRecord.h"

#include "platform/qt/QtIconImage.h"

namespace surftally {

std::optional<QIcon> QtIconRecord::take(const NotifyIconData& data) {
    hasCallback = (data.uFlags & NotifyFlag::Message) != 0;
    if (hasCallback) {
        callbackMessage = data.uCallbackMessage;
    }
    if ((data.uFlags & NotifyFlag::Icon) == 0 || data.hIcon == shownIcon) {
        return std::nullopt;
    }
    QIcon picture = QtIconImage::find(data.hIcon);
    if (picture.isNull() && data.hIcon != 0) {
        return std::nullopt;
    }
    shownIcon = data.hIcon;
    return picture;
}

void QtIconRecord::post(const QtMessageWindows& windows, std::uint32_t mouseMessage) const {
    if (!hasCallback) {
        return;
    }
    TrayMessage message;
    message.Msg = callbackMessage;
    message.WParam = uID;
    message.LParam = static_cast<std::intptr_t>(mouseMessage);
    windows.post(window, message);
}

}  // namespace surftally

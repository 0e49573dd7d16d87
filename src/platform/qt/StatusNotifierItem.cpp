#include "platform/qt/StatusNotifierItem.h"

#include <dbus/dbus.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

namespace surftally {

namespace {

const char* const kPropertiesInterface = "org.freedesktop.DBus.Properties";

enum class Kind { Text, Int, Bool, Pixmaps, ToolTip };
struct Property {
    const char* name;
    Kind kind;
};
// In the order of the interface's description.
constexpr Property kProperties[] = {
    {"Category", Kind::Text},
    {"Id", Kind::Text},
    {"Title", Kind::Text},
    {"Status", Kind::Text},
    {"WindowId", Kind::Int},
    {"IconThemePath", Kind::Text},
    {"IconName", Kind::Text},
    {"IconPixmap", Kind::Pixmaps},
    {"OverlayIconName", Kind::Text},
    {"OverlayIconPixmap", Kind::Pixmaps},
    {"AttentionIconName", Kind::Text},
    {"AttentionIconPixmap", Kind::Pixmaps},
    {"AttentionMovieName", Kind::Text},
    {"ToolTip", Kind::ToolTip},
    {"ItemIsMenu", Kind::Bool},
};

const char* signatureOf(Kind kind) {
    switch (kind) {
        case Kind::Text:
            return "s";
        case Kind::Int:
            return "i";
        case Kind::Bool:
            return "b";
        case Kind::Pixmaps:
            return "a(iiay)";
        case Kind::ToolTip:
            return "(sa(iiay)ss)";
    }
    return "s";
}

const Property* findProperty(const char* name) {
    for (const Property& property : kProperties) {
        if (std::strcmp(property.name, name) == 0) {
            return &property;
        }
    }
    return nullptr;
}

void appendText(DBusMessageIter* to, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const char* data = utf8.constData();
    dbus_message_iter_append_basic(to, DBUS_TYPE_STRING, &data);
}

void appendPixmaps(DBusMessageIter* to, const SniPixmapList& pixmaps) {
    DBusMessageIter array;
    dbus_message_iter_open_container(to, DBUS_TYPE_ARRAY, "(iiay)", &array);
    for (const SniPixmap& pixmap : pixmaps) {
        DBusMessageIter entry;
        dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &entry);
        const dbus_int32_t width = pixmap.width;
        const dbus_int32_t height = pixmap.height;
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_INT32, &width);
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_INT32, &height);
        DBusMessageIter bytes;
        dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "y", &bytes);
        const char* data = pixmap.pixels.constData();
        dbus_message_iter_append_fixed_array(&bytes, DBUS_TYPE_BYTE, &data,
                                             static_cast<int>(pixmap.pixels.size()));
        dbus_message_iter_close_container(&entry, &bytes);
        dbus_message_iter_close_container(&array, &entry);
    }
    dbus_message_iter_close_container(to, &array);
}

// What the host reads, taken at once so that one answer is consistent.
struct Values {
    const QString& id;
    const QString& title;
    SniPixmapList pixmaps;
    QString tip;
};

void appendValue(DBusMessageIter* to, const Property& property, const Values& values) {
    DBusMessageIter variant;
    dbus_message_iter_open_container(to, DBUS_TYPE_VARIANT, signatureOf(property.kind), &variant);
    const std::string_view name = property.name;
    switch (property.kind) {
        case Kind::Text:
            appendText(&variant, name == "Category" ? QStringLiteral("ApplicationStatus")
                                 : name == "Id"     ? values.id
                                 : name == "Title"  ? values.title
                                 : name == "Status" ? QStringLiteral("Active")
                                                    : QString());
            break;
        case Kind::Int: {
            const dbus_int32_t none = 0;
            dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT32, &none);
            break;
        }
        case Kind::Bool: {
            const dbus_bool_t no = FALSE;
            dbus_message_iter_append_basic(&variant, DBUS_TYPE_BOOLEAN, &no);
            break;
        }
        case Kind::Pixmaps:
            appendPixmaps(&variant, name == "IconPixmap" ? values.pixmaps : SniPixmapList());
            break;
        case Kind::ToolTip: {
            // Icon name, icon pictures, title, description: the tip is the title.
            DBusMessageIter tip;
            dbus_message_iter_open_container(&variant, DBUS_TYPE_STRUCT, nullptr, &tip);
            appendText(&tip, QString());
            appendPixmaps(&tip, {});
            appendText(&tip, values.tip);
            appendText(&tip, QString());
            dbus_message_iter_close_container(&variant, &tip);
            break;
        }
    }
    dbus_message_iter_close_container(to, &variant);
}

DBusHandlerResult onMessage(DBusConnection*, DBusMessage* message, void* item) {
    return static_cast<StatusNotifierItem*>(item)->answer(message)
               ? DBUS_HANDLER_RESULT_HANDLED
               : DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
}

const char kIntrospection[] =
    R"xml(<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
 <interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconThemePath" type="s" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/>
  <signal name="NewIcon"/>
  <signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/>
  <signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
  <method name="Set"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="in"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>
)xml";

}  // namespace

StatusNotifierItem::StatusNotifierItem(const QString& address, QString service, QString id,
                                       QString title, RequestHandler onRequest)
    : service_(std::move(service)),
      id_(std::move(id)),
      title_(std::move(title)),
      onRequest_(std::move(onRequest)) {
    dbus_threads_init_default();
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* connection =
        address.isEmpty() ? dbus_bus_get_private(DBUS_BUS_SESSION, &error)
                          : dbus_connection_open_private(address.toUtf8().constData(), &error);
    if (connection != nullptr) {
        dbus_connection_set_exit_on_disconnect(connection, FALSE);
    }
    if (connection != nullptr && !address.isEmpty() && !dbus_bus_register(connection, &error)) {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
        connection = nullptr;
    }
    const DBusObjectPathVTable table{nullptr, &onMessage, nullptr, nullptr, nullptr, nullptr};
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (connection == nullptr || wakeFd_ < 0 ||
        dbus_bus_request_name(connection, service_.toUtf8().constData(),
                              DBUS_NAME_FLAG_DO_NOT_QUEUE,
                              &error) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER ||
        !dbus_connection_try_register_object_path(connection, kPath, &table, this, &error)) {
        if (connection != nullptr) {
            dbus_connection_close(connection);
            dbus_connection_unref(connection);
        }
        dbus_error_free(&error);
        return;
    }
    connection_ = connection;
    thread_ = std::thread([this] { serve(); });
}

StatusNotifierItem::~StatusNotifierItem() {
    if (thread_.joinable()) {
        stopping_ = true;
        wake();
        thread_.join();
    }
    if (connection_ != nullptr) {
        dbus_connection_close(connection_);
        dbus_connection_unref(connection_);
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

void StatusNotifierItem::serve() {
    int socket = -1;
    dbus_connection_get_unix_fd(connection_, &socket);
    while (!stopping_) {
        while (dbus_connection_dispatch(connection_) == DBUS_DISPATCH_DATA_REMAINS) {
        }
        pollfd watched[2] = {{socket, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (dbus_connection_has_messages_to_send(connection_)) {
            watched[0].events |= POLLOUT;
        }
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &count, sizeof count);
        }
        if (watched[0].revents != 0 && !dbus_connection_read_write(connection_, 0)) {
            return;  // the bus went
        }
    }
}

void StatusNotifierItem::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

bool StatusNotifierItem::setPixmaps(const SniPixmapList& pixmaps) {
    const std::lock_guard lock(mutex_);
    if (pixmaps == pixmaps_) {
        return false;
    }
    pixmaps_ = pixmaps;
    return true;
}

bool StatusNotifierItem::setTip(const QString& tip) {
    const std::lock_guard lock(mutex_);
    if (tip == tip_) {
        return false;
    }
    tip_ = tip;
    return true;
}

void StatusNotifierItem::announce(const char* signal) {
    if (connection_ == nullptr) {
        return;
    }
    DBusMessage* message = dbus_message_new_signal(kPath, kInterface, signal);
    if (message == nullptr) {
        return;
    }
    // Written here and now when the socket takes it; else the item's thread writes the rest.
    dbus_connection_send(connection_, message, nullptr);
    dbus_message_unref(message);
    if (dbus_connection_has_messages_to_send(connection_)) {
        wake();
    }
}

bool StatusNotifierItem::answer(DBusMessage* message) {
    const auto at = Clock::now();
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL) {
        return false;
    }
    const char* interface = dbus_message_get_interface(message);
    const std::string_view in = interface != nullptr ? interface : "";
    const std::string_view member = dbus_message_get_member(message);
    DBusMessage* reply = nullptr;
    if (in == kPropertiesInterface) {
        reply = properties(message);
    } else if (in == "org.freedesktop.DBus.Introspectable" && member == "Introspect") {
        reply = dbus_message_new_method_return(message);
        const char* text = kIntrospection;
        dbus_message_append_args(reply, DBUS_TYPE_STRING, &text, DBUS_TYPE_INVALID);
    } else if (in.empty() || in == kInterface) {
        const auto request = [&](Request kind) {
            onRequest_(kind, at);
            return dbus_message_new_method_return(message);
        };
        if (member == "Activate") {
            reply = request(Request::Activate);
        } else if (member == "SecondaryActivate") {
            reply = request(Request::SecondaryActivate);
        } else if (member == "ContextMenu") {
            reply = request(Request::ContextMenu);
        } else if (member == "Scroll") {
            reply = dbus_message_new_method_return(message);
        }
    }
    if (reply == nullptr) {
        return false;  // the library answers that there is no such method
    }
    if (!dbus_message_get_no_reply(message)) {
        dbus_connection_send(connection_, reply, nullptr);
    }
    dbus_message_unref(reply);
    return true;
}

DBusMessage* StatusNotifierItem::properties(DBusMessage* message) {
    const std::string_view member = dbus_message_get_member(message);
    DBusError error;
    dbus_error_init(&error);
    const char* interface = nullptr;
    const char* name = nullptr;
    const bool get = member == "Get";
    const bool parsed = get ? dbus_message_get_args(message, &error, DBUS_TYPE_STRING, &interface,
                                                    DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID)
                        : member == "GetAll"
                            ? dbus_message_get_args(message, &error, DBUS_TYPE_STRING, &interface,
                                                    DBUS_TYPE_INVALID)
                            : false;
    dbus_error_free(&error);
    if (member == "Set") {
        return dbus_message_new_error(message, DBUS_ERROR_PROPERTY_READ_ONLY,
                                      "The item's properties are read-only");
    }
    if (!parsed) {
        return get || member == "GetAll"
                   ? dbus_message_new_error(message, DBUS_ERROR_INVALID_ARGS, "Bad arguments")
                   : nullptr;
    }
    if (*interface != '\0' && std::strcmp(interface, kInterface) != 0) {
        return dbus_message_new_error(message, DBUS_ERROR_UNKNOWN_INTERFACE, "No such interface");
    }
    const Property* property = get ? findProperty(name) : nullptr;
    if (get && property == nullptr) {
        return dbus_message_new_error(message, DBUS_ERROR_UNKNOWN_PROPERTY, "No such property");
    }
    Values values{id_, title_, {}, {}};
    {
        const std::lock_guard lock(mutex_);
        values.pixmaps = pixmaps_;
        values.tip = tip_;
    }
    DBusMessage* reply = dbus_message_new_method_return(message);
    DBusMessageIter out;
    dbus_message_iter_init_append(reply, &out);
    if (get) {
        appendValue(&out, *property, values);
        return reply;
    }
    DBusMessageIter all;
    dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sv}", &all);
    for (const Property& each : kProperties) {
        DBusMessageIter entry;
        dbus_message_iter_open_container(&all, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &each.name);
        appendValue(&entry, each, values);
        dbus_message_iter_close_container(&all, &entry);
    }
    dbus_message_iter_close_container(&out, &all);
    return reply;
}

}  // namespace surftally

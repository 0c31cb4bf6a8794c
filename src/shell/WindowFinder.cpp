#include "shell/WindowFinder.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string windowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    if (property == XCB_ATOM_NONE) {
        return {};
    }
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr),
        &std::free);
    if (!reply || reply->format != 8) {
        return {};
    }
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(data, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

struct TitleSearch {
    xcb_connection_t* connection;
    xcb_atom_t netWmName;
    std::string title;

    bool matches(xcb_window_t window) const {
        return windowProperty(connection, window, netWmName) == title ||
               windowProperty(connection, window, XCB_ATOM_WM_NAME) == title;
    }

    // Top-level windows are the root's children, or their children where a window manager
    // has put its frames in between.
    bool searchChildren(xcb_window_t parent, int depth) const {
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
        if (!tree) {
            return false;
        }
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        for (int i = 0; i < count; ++i) {
            if (matches(children[i]) || (depth > 1 && searchChildren(children[i], depth - 1))) {
                return true;
            }
        }
        return false;
    }
};

} // namespace

bool topLevelWindowWithTitleExists(const QString& title) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    const TitleSearch search{connection, internAtom(connection, "_NET_WM_NAME"), title.toStdString()};
    for (auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection)); roots.rem > 0;
         xcb_screen_next(&roots)) {
        if (search.searchChildren(roots.data->root, 2)) {
            return true;
        }
    }
    return false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ScreenProfile.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "viewer/ColourTransform.h"

namespace pictaria {

namespace {

struct ReplyFree {
    void operator()(void* reply) const { std::free(reply); }
};

// The property's atom, asked of the server once per connection (only the window's thread asks).
xcb_atom_t profileAtom(xcb_connection_t* connection) {
    static constexpr char kName[] = "_ICC_PROFILE";
    static xcb_connection_t* askedOn = nullptr;
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (askedOn != connection) {
        const std::unique_ptr<xcb_intern_atom_reply_t, ReplyFree> reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr));
        atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        askedOn = reply ? connection : nullptr;
    }
    return atom;
}

xcb_connection_t* x11Connection() {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 =
        application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A round trip to the X server.
ColourProfile readScreenProfile() {
    xcb_connection_t* connection = x11Connection();
    if (!connection || xcb_connection_has_error(connection)) {
        return {};
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t atom = profileAtom(connection);
    if (!screen || atom == XCB_ATOM_NONE) {
        return {};
    }
    // A profile larger than any a picture may carry is not read at all (bytes_after tells).
    const std::unique_ptr<xcb_get_property_reply_t, ReplyFree> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, screen->root, atom, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         kMaxEmbeddedProfileBytes / 4),
        nullptr));
    if (!reply || reply->format != 8 || reply->bytes_after != 0) {
        return {};
    }
    const int length = xcb_get_property_value_length(reply.get());
    if (length <= 0) {
        return {};
    }
    return ColourProfile(std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                     static_cast<std::size_t>(length)));
}

}  // namespace

ColourProfile screenColourProfile() {
    constexpr auto kReadAgainAfter = std::chrono::seconds(1);
    static ColourProfile profile;
    static std::optional<std::chrono::steady_clock::time_point> readAt;
    const auto now = std::chrono::steady_clock::now();
    if (!readAt || now - *readAt >= kReadAgainAfter) {
        readAt = now;
        if (ColourProfile fresh = readScreenProfile(); !(fresh == profile)) {
            profile = std::move(fresh);  // an unchanged one keeps its bytes, shared by requests
        }
    }
    return profile;
}

}  // namespace pictaria

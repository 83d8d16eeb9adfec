// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/windowmanager.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace ui {

namespace {

    // A reply or error of xcb, which the caller frees.
    struct FreeReply {
        void operator()(void* reply) const { std::free(reply); }
    };
    template <typename T> using Owned = std::unique_ptr<T, FreeReply>;

    // Qt's X connection, or null when the program is not on X11.
    xcb_connection_t* connection()
    {
        const auto* x11
            = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        return x11 ? x11->connection() : nullptr;
    }

    // The atoms of these names, all asked for before the first answer is read: one
    // round trip. XCB_ATOM_NONE for a name that no client has used yet when
    // onlyIfExists is set, and for one that cannot be had.
    template <std::size_t N>
    std::array<xcb_atom_t, N> intern(
        xcb_connection_t* c, const std::array<const char*, N>& names, bool onlyIfExists)
    {
        std::array<xcb_intern_atom_cookie_t, N> cookies {};
        for (std::size_t i = 0; i < N; ++i)
            cookies[i] = xcb_intern_atom(
                c, onlyIfExists, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
        std::array<xcb_atom_t, N> atoms {};
        for (std::size_t i = 0; i < N; ++i) {
            xcb_generic_error_t* error = nullptr;
            const Owned<xcb_intern_atom_reply_t> reply(
                xcb_intern_atom_reply(c, cookies[i], &error));
            std::free(error);
            atoms[i] = reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
        }
        return atoms;
    }

    // The 32-bit values of a property of the given type; none when the property is
    // missing, of another type or format, or the window does not exist. Errors are
    // taken here, so Qt never reports them.
    std::vector<std::uint32_t> values(
        xcb_connection_t* c, xcb_get_property_cookie_t cookie, xcb_atom_t type)
    {
        xcb_generic_error_t* error = nullptr;
        const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, &error));
        std::free(error);
        if (!reply || reply->type != type || reply->format != 32)
            return {};
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        return { data, data + xcb_get_property_value_length(reply.get()) / 4 };
    }

    xcb_get_property_cookie_t askProperty(
        xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        return xcb_get_property(c, 0, window, name, type, 0, 1024);
    }

} // namespace

FrameWatch* FrameWatch::make(QObject* parent)
{
    xcb_connection_t* c = connection();
    if (!c)
        return nullptr;
    enum { Supported, Check, Request, Extents };
    const auto atoms = intern<4>(c,
        { "_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_REQUEST_FRAME_EXTENTS",
            "_NET_FRAME_EXTENTS" },
        false);
    if (std::find(atoms.begin(), atoms.end(), XCB_ATOM_NONE) != atoms.end())
        return nullptr;
    // The screen that DISPLAY names, where Qt opens its windows.
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        screen = 0;
    std::free(host);
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (; roots.rem > 1 && screen > 0; --screen)
        xcb_screen_next(&roots);
    if (!roots.rem)
        return nullptr;
    const xcb_window_t root = roots.data->root;

    // A running window manager names, on the root window, a window of its own that
    // names itself; what it supports is listed on the root window too. A list left
    // behind by a window manager that has ended names a window that is gone.
    const auto checkCookie = askProperty(c, root, atoms[Check], XCB_ATOM_WINDOW);
    const auto listCookie = askProperty(c, root, atoms[Supported], XCB_ATOM_ATOM);
    const std::vector<std::uint32_t> check = values(c, checkCookie, XCB_ATOM_WINDOW);
    const std::vector<std::uint32_t> supported = values(c, listCookie, XCB_ATOM_ATOM);
    bool canAsk = !check.empty()
        && std::find(supported.begin(), supported.end(), atoms[Request]) != supported.end();
    if (canAsk) {
        const std::vector<std::uint32_t> self
            = values(c, askProperty(c, check[0], atoms[Check], XCB_ATOM_WINDOW), XCB_ATOM_WINDOW);
        canAsk = !self.empty() && self[0] == check[0];
    }
    return new FrameWatch(root, atoms[Request], atoms[Extents], canAsk, parent);
}

FrameWatch::FrameWatch(std::uint32_t root, std::uint32_t requestAtom, std::uint32_t extentsAtom,
    bool canAsk, QObject* parent)
    : QObject(parent)
    , m_root(root)
    , m_requestAtom(requestAtom)
    , m_extentsAtom(extentsAtom)
    , m_canAsk(canAsk)
{
}

void FrameWatch::watch(QWindow& window, bool ask)
{
    xcb_connection_t* c = connection();
    if (m_window || !c || !window.handle())
        return;
    m_window = &window;
    m_id = static_cast<xcb_window_t>(window.winId());
    // Before the question goes out, so that no answer is missed.
    QCoreApplication::instance()->installNativeEventFilter(this);
    if (!ask || !m_canAsk)
        return;
    m_asked = true;
    // As the Extended Window Manager Hints have it: to the root window, for the window.
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = m_id;
    message.type = m_requestAtom;
    xcb_send_event(c, 0, m_root,
        XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
        reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

FrameWatch::~FrameWatch() { QCoreApplication::instance()->removeNativeEventFilter(this); }

bool FrameWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!m_window || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
    if (notify->window != m_id || notify->atom != m_extentsAtom
        || notify->state != XCB_PROPERTY_NEW_VALUE)
        return false;

    const QMargins frame = readFrame();
    // Reported once Qt has taken the event too: it reads the frame anew for the
    // window's frame geometry.
    QMetaObject::invokeMethod(
        this,
        [this, frame] {
            m_frame = frame;
            emit frameSet(frame);
        },
        Qt::QueuedConnection);
    return false;
}

QMargins FrameWatch::readFrame() const
{
    // Left, right, top, bottom, in device pixels.
    xcb_connection_t* c = connection();
    const std::vector<std::uint32_t> sides
        = values(c, askProperty(c, m_id, m_extentsAtom, XCB_ATOM_CARDINAL), XCB_ATOM_CARDINAL);
    if (sides.size() != 4 || !std::all_of(sides.begin(), sides.end(), [](std::uint32_t side) {
            return side <= MaxSide;
        }))
        return {};
    const qreal ratio = m_window->devicePixelRatio();
    const auto logical = [ratio](std::uint32_t side) { return qRound(side / ratio); };
    return { logical(sides[0]), logical(sides[2]), logical(sides[1]), logical(sides[3]) };
}

void skipTaskLists(QWindow& window)
{
    xcb_connection_t* c = connection();
    if (!c || !window.handle())
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    enum { State, SkipTaskbar, SkipPager };
    const auto atoms = intern<3>(
        c, { "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" }, false);
    if (std::find(atoms.begin(), atoms.end(), XCB_ATOM_NONE) != atoms.end())
        return;
    std::vector<std::uint32_t> states
        = values(c, askProperty(c, id, atoms[State], XCB_ATOM_ATOM), XCB_ATOM_ATOM);
    for (const xcb_atom_t skip : { atoms[SkipTaskbar], atoms[SkipPager] }) {
        if (std::find(states.begin(), states.end(), skip) == states.end())
            states.push_back(skip);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atoms[State], XCB_ATOM_ATOM, 32,
        static_cast<std::uint32_t>(states.size()), states.data());
    xcb_flush(c);
}

} // namespace ui

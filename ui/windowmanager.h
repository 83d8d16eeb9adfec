// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>

#include <cstdint>
#include <optional>

class QWindow;

namespace ui {

// What the program tells or asks an X11 window manager beyond what Qt does. On any
// other platform (Wayland, offscreen) nothing here does anything: there the window
// system alone decides. Every call goes over Qt's own X connection.

// What an X11 window manager says about the frame it puts around one window: the
// frame it will draw, asked before the window is first mapped where the window
// manager takes the question (_NET_REQUEST_FRAME_EXTENTS), and the frame it really
// draws, which it sets on the window (_NET_FRAME_EXTENTS) when it answers, once it
// has mapped the window, and whenever it frames the window anew. Every setting is
// seen in Qt's event stream. Deleting the watch stops it; nothing is reported after.
class FrameWatch final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // A watch, or null when the program is not on X11. Makes no window; a few round
    // trips to the X server.
    [[nodiscard]] static FrameWatch* make(QObject* parent);

    // Whether a running window manager takes the question: only then can the frame be
    // known before the window is mapped.
    [[nodiscard]] bool canAsk() const { return m_canAsk; }

    // Watches window, whose native window must exist, from now on; the first call only.
    // With ask, where canAsk(), also asks the question: the window must then never
    // have been mapped, and the caller bounds the wait for the answer.
    void watch(QWindow& window, bool ask);
    // Whether the question was asked.
    [[nodiscard]] bool asked() const { return m_asked; }

    ~FrameWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The frame last reported by frameSet(), none before.
    [[nodiscard]] std::optional<QMargins> frame() const { return m_frame; }

    // The widest frame side taken as meant, in device pixels; a wider one reads as no
    // frame at all.
    static constexpr int MaxSide = 1024;

signals:
    // From the event loop (so never before it runs), each time the window manager has
    // set the window's frame, the same or another: its width on each side in the
    // window's logical pixels (0 on every side for a frameless window, and for a frame
    // that makes no sense). Before the window is mapped this is the answer.
    void frameSet(QMargins frame);

private:
    FrameWatch(std::uint32_t root, std::uint32_t requestAtom, std::uint32_t extentsAtom,
        bool canAsk, QObject* parent);

    // The frame the window manager has set on the window now, as frameSet() gives it.
    [[nodiscard]] QMargins readFrame() const;

    // X ids: the root window, the atoms _NET_REQUEST_FRAME_EXTENTS and
    // _NET_FRAME_EXTENTS, and the window watched.
    const std::uint32_t m_root;
    const std::uint32_t m_requestAtom;
    const std::uint32_t m_extentsAtom;
    const bool m_canAsk;
    std::uint32_t m_id = 0;
    QWindow* m_window = nullptr;
    bool m_asked = false;
    std::optional<QMargins> m_frame;
};

// Keeps the window out of task bars and task switchers (_NET_WM_STATE_SKIP_TASKBAR
// and _NET_WM_STATE_SKIP_PAGER), adding both to the states already set on it. Call
// it before every showing of the window: a window manager may remove a window's
// states when the window is hidden, and Qt keeps the states it finds on a window
// it maps.
void skipTaskLists(QWindow& window);

} // namespace ui

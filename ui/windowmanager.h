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

// A question to the window manager: which frame will it put around a window that
// has never been mapped (_NET_REQUEST_FRAME_EXTENTS)? It answers by setting the
// window's _NET_FRAME_EXTENTS, which is seen in Qt's event stream. Deleting the
// request gives up waiting; the answer is then never reported.
class FrameRequest final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // A question to ask, or null when the program is not on X11 or no running window
    // manager supports the question: then no frame can be known before a window is
    // mapped. Makes no window; a few round trips to the X server.
    [[nodiscard]] static FrameRequest* make(QObject* parent);

    // Asks the question for window, whose native window must exist and never have
    // been mapped; once only. The caller bounds the wait for the answer.
    void send(QWindow& window);

    ~FrameRequest() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The answer, once answered() has been emitted.
    [[nodiscard]] std::optional<QMargins> answer() const { return m_answer; }

    // The widest frame side taken as meant, in device pixels; a wider one reads as no
    // frame at all.
    static constexpr int MaxSide = 1024;

signals:
    // Once, from the event loop (so never before it runs), when the window manager
    // has answered: the frame's width on each side in the window's logical pixels
    // (0 on every side for a frameless window, and for an answer that makes no sense).
    void answered(QMargins frame);
    // Each time the window manager sets the frame anew after its answer, as one whose
    // frames are drawn by a helper program does once the window is mapped (mutter 48
    // answers 0 on every side before then); from the event loop.
    void changed(QMargins frame);

private:
    FrameRequest(
        std::uint32_t root, std::uint32_t requestAtom, std::uint32_t extentsAtom, QObject* parent);

    // The frame the window manager has set on the window now, as answered() gives it.
    [[nodiscard]] QMargins frame() const;

    // X ids: the root window, the atoms _NET_REQUEST_FRAME_EXTENTS and
    // _NET_FRAME_EXTENTS, and the window asked about.
    const std::uint32_t m_root;
    const std::uint32_t m_requestAtom;
    const std::uint32_t m_extentsAtom;
    std::uint32_t m_id = 0;
    QWindow* m_window = nullptr;
    bool m_answered = false;
    std::optional<QMargins> m_answer;
};

// Keeps the window out of task bars and task switchers (_NET_WM_STATE_SKIP_TASKBAR
// and _NET_WM_STATE_SKIP_PAGER), adding both to the states already set on it. Call
// it before every showing of the window: a window manager may remove a window's
// states when the window is hidden, and Qt keeps the states it finds on a window
// it maps.
void skipTaskLists(QWindow& window);

} // namespace ui

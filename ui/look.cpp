// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPixmap>
#include <QProxyStyle>

namespace ui::fonts {

namespace {
    QFont face(const char* family, int pixelSize, bool bold)
    {
        QFont font(QString::fromLatin1(family));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(pixelSize);
        font.setBold(bold);
        return font;
    }
} // namespace

QFont letter() { return face("Liberation Sans", 21, false); }
QFont system() { return face("Liberation Sans", 14, true); }
QFont gameOver() { return face("Liberation Sans", 52, true); }
QFont smiley() { return face("DejaVu Sans Condensed", 27, false); }
QFont title() { return face("DejaVu Sans Condensed", 11, true); }
QFont aboutText() { return face("Liberation Sans", 13, false); }

} // namespace ui::fonts

// The icons are compiled into the static ui library, whose resource object the linker
// keeps only when something refers to it; this reference does, at global scope as
// Q_INIT_RESOURCE requires.
static void initResources() { Q_INIT_RESOURCE(resources); }

namespace ui::icons {

namespace {
    // Read once, by whichever thread asks first; a second thread waits for it.
    const QList<QImage>& windowPictures()
    {
        static const QList<QImage> pictures = [] {
            initResources();
            QList<QImage> read;
            for (const char* file : { ":/icons/window-16.png", ":/icons/window-32.png" }) {
                // The pictures are PNG; naming the format spares asking every image plugin.
                QImageReader reader(QString::fromLatin1(file), "png");
                reader.setAutoDetectImageFormat(false);
                read.append(reader.read());
            }
            return read;
        }();
        return pictures;
    }
} // namespace

QIcon window()
{
    QIcon icon;
    for (const QImage& picture : windowPictures())
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}

void prepare() { (void)windowPictures(); }

} // namespace ui::icons

namespace ui {

namespace {
    class GameStyle : public QProxyStyle {
    public:
        using QProxyStyle::QProxyStyle;

        QIcon standardIcon(
            StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override
        {
            if (icon == SP_ToolBarHorizontalExtensionButton)
                return {};
            return QProxyStyle::standardIcon(icon, option, widget);
        }
    };
} // namespace

QStyle* style(const QString& key) { return new GameStyle(key); }

} // namespace ui

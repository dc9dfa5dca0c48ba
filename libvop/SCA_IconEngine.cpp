// SPDX-License-Identifier: MIT
#include "libvop/SCA_IconEngine.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

SCA_IconEngine::SCA_IconEngine(const QString& path) : m_Path(path) {}

void SCA_IconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                           QIcon::State state) {
    const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
}

QPixmap SCA_IconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap SCA_IconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State,
                                     qreal scale) {
    // A list paints the icon of every row it shows at each repaint: drawing the vector image
    // each time would cost more than the rest of the row. The application's pixmap cache keeps
    // the drawings, bounded, for every engine of the same image (a QIcon copy clones its engine).
    const QString key = QStringLiteral("SCA_IconEngine:%1:%2x%3:%4:%5")
                            .arg(m_Path)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(static_cast<int>(mode))
                            .arg(scale);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = Draw(size, mode, scale);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QPixmap SCA_IconEngine::Draw(const QSize& size, QIcon::Mode mode, qreal scale) const {
    // QIcon hands over the size in device pixels already.
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(m_Path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    pixmap.setDevicePixelRatio(scale);
    // A selected row keeps its icon's colours: a status icon tinted by the selection would say
    // something else (the red cross of an error turns maroon). Only disabled actions grey out.
    if (mode == QIcon::Disabled) {
        // The style's own greying keeps disabled actions looking like the rest of the desktop.
        QStyleOption option;
        option.palette = QApplication::palette();
        QPixmap styled = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        if (!styled.isNull()) {
            return styled;
        }
    }
    return pixmap;
}

QIconEngine* SCA_IconEngine::clone() const {
    return new SCA_IconEngine(m_Path);
}

QString SCA_IconEngine::key() const {
    return QStringLiteral("SCA_IconEngine");
}

bool SCA_IconEngine::isNull() {
    return !QFile::exists(m_Path);
}

QIcon SCA_IconEngine::Load(const QString& path) {
    if (!QFile::exists(path)) {
        return QIcon();
    }
    return QIcon(new SCA_IconEngine(path));
}

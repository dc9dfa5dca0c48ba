// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QString>

// Draws an icon of the resource file from its vector drawing at whatever size and pixel ratio
// is asked, so that the same ":/images/..." name is sharp at 16, 32 and 48 pixels and on
// high-density screens. The names keep the ".png" of the windows that use them; the content
// is SVG.
class SCA_IconEngine : public QIconEngine {
public:
    explicit SCA_IconEngine(const QString& path);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override;

    // The icon of a resource path (":/images/save_16px.png"); a null icon when there is none.
    static QIcon Load(const QString& path);

private:
    QPixmap Draw(const QSize& size, QIcon::Mode mode, qreal scale) const;

    QString m_Path;
};

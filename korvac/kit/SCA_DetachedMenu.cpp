// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_DetachedMenu.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "korvac/kit/SCA_ViewerCommand.h"
#include "libvop/SCA_IconEngine.h"

void SCA_DetachedMenu::AddEntries(QMenu* menu, const char* text, const OpenOnScreen& open) {
    AddEntries(menu, text, QGuiApplication::screens().size(), open);
}

void SCA_DetachedMenu::AddEntries(QMenu* menu, const char* text, qsizetype screens,
                                  const OpenOnScreen& open) {
    const QIcon display = SCA_IconEngine::Load(QStringLiteral(":/images/display_16px.png"));
    const QString name = QString::fromLatin1(text);
    if (screens < 2) {
        QAction* action = menu->addAction(display, QStringLiteral("%1 ...").arg(name));
        QObject::connect(action, &QAction::triggered, menu,
                         [open] { open(SCA_ViewerCommand::kNoScreen); });
        return;
    }
    menu->addSeparator();
    for (qsizetype index = 0; index < screens; ++index) {
        const auto screen = static_cast<uint32_t>(index);
        QAction* action =
            menu->addAction(display, QStringLiteral("%1 on Monitor %2").arg(name).arg(screen + 1));
        action->setData(screen);
        QObject::connect(action, &QAction::triggered, menu, [open, screen] { open(screen); });
    }
}

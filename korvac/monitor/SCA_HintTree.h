// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTreeWidget>

// A list of the client's windows that says, while it has no rows, why it has none.
class SCA_HintTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    void SetHint(const QString& hint);
    const QString& GetHint() const { return m_Hint; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_Hint;
};

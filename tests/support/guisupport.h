#pragma once
// Helpers of the window tests: reading a list as lines and picking an item of a drop-down.

#include <QComboBox>
#include <QListWidget>
#include <QStringList>
#include <QTest>

namespace varnoth::test
{

inline QStringList listLines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

inline void pick(QComboBox* combo, const QString& text)
{
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
}

} // namespace varnoth::test

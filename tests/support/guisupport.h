#pragma once
// Helpers of the window tests: reading a list as lines and picking an item of a drop-down.

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

namespace varnoth::test
{

inline QStringList listLines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Answers the question box that `run` may open: `answer` gets the box once it is the active modal
// window. The box is looked for until `run` returns, not once: on a slow system (Windows under wine)
// events can be handled inside `run` before the box opens, and a single early look would miss it and
// leave the test waiting on the box for ever. Returns whether a box was answered.
inline bool answerQuestion(const std::function<void()>& run, const std::function<void(QWidget*)>& answer)
{
    bool asked = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || asked) return;
        asked = true;
        poll.stop();
        answer(box);
    });
    poll.start();
    run();
    poll.stop();
    return asked;
}

inline void pick(QComboBox* combo, const QString& text)
{
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
}

} // namespace varnoth::test

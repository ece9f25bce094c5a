#pragma once
// The read-me viewer: the topics beside the guide, one section at a time, printable.

#include "gui/main/SecondaryWindow.h"

class QAction;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace varnoth
{

class Form10 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form10(AppContext& context, QWidget* parent = nullptr);

    // Topics in the list, the whole guide in the text box.
    void setUp() override;
    // What the text box shows, lines joined by CR LF: the text that printing takes.
    QString text() const { return m_text; }
    QString printableText() const override { return m_text; }
    void showSection(const QString& heading);

    QMenuBar* menuBar;
    QMenu* mFile;
    QAction* mPrint;
    QAction* mClose;
    QListWidget* List1;
    QPlainTextEdit* Text1;

private:
    void setText(const QString& text);
    void print();
    QString m_text;
};

} // namespace varnoth

#pragma once
// The upstream dealers: the list in the bookmaker's order of preference, moved up or down; each
// dealer's terms per type (payout, discount, the most he takes on one number) added or changed; and a
// dealer's account of the draw, with the payments made with him and the text to paste into a chat.
// Every change goes through the ledger; the window shows what it returns.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace varnoth
{

class DealersWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit DealersWindow(AppContext& context, QWidget* parent = nullptr);
    void setUp() override { reload(); }
    QString printableText() const override;

    QListWidget* List1;      // the dealers, in the order of preference
    QLineEdit* Name1;        // the dealer's name
    QComboBox* Type1;        // the type whose terms are set
    QLineEdit* Payout1;
    QLineEdit* Discount1;
    QLineEdit* Cap1;
    QPushButton* Save1;      // add the dealer or set the type's terms
    QPushButton* Up1;
    QPushButton* Down1;
    QPushButton* Statement1; // the picked dealer's account
    QPushButton* Chat1;      // the account as a chat message, onto the clipboard
    QPushButton* Picture1;   // the account as a bill's picture, onto the clipboard
    QLineEdit* Amount1;      // a payment: empty for all that is due
    QPushButton* Pay1;
    QPlainTextEdit* Text1;   // the account
    QLabel* Message1;

    // The chat text last put on the clipboard (tests read it here too).
    QString chatText() const { return m_chat; }

private:
    void reload();
    QString pickedName() const;
    void showTerms();
    void save();
    void move(int by);
    void showStatement();
    void copyChat();
    void copyPicture();
    void pay();
    void say(const QStringList& lines);

    QString m_chat;
};

} // namespace varnoth

#pragma once
// Bets pasted from a chat message. Customers send their bets as free text ("123=50*50", "45 บน100
// ล่าง100", headings such as "บน" over a block of lines, "รวม 350" at the end); the reader turns each
// line into bets, or marks it as not understood. It never guesses: a line it cannot read whole gives
// no bet at all. The grammar is written down in docs/chat-format.md.

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

// One bet of a message: the type name, the number as stored (digits ascending on a permutation type)
// and the amount in whole baht (digits, no leading zero).
struct ChatBet {
    QString type;
    QString number;
    QString amount;
    bool operator==(const ChatBet& other) const = default;
};

enum class ChatLineKind {
    Empty,         // blank, or only words and signs that carry nothing (greetings, emoji)
    Customer,      // the customer's name on the first line
    Heading,       // sets the type for the lines below
    Total,         // the total the customer states
    Bets,          // understood: its bets
    NotUnderstood, // nothing of it is stored
};

// Why a line was not understood, for the operator who corrects it.
enum class ChatProblem {
    None,
    NoAmount,    // a number without an amount, or an amount without a number
    Width,       // a number of the wrong width for its type (or longer than three digits)
    NoType,      // one amount, and neither a heading nor a picked type says which type
    BadAmount,   // an amount of 0, a decimal amount, or one too long to be baht
    UnknownWord, // a word or a letter inside a number that the reader does not know
    Shape,       // the pieces do not make one of the known forms
    Ambiguous, // the line can be read in two ways ("ต." for ตรง or โต๊ด, a bare "รูด"), so it is not read
    Unclear,          // read from a picture, with a character the recogniser was not sure of
    DependsOnUnclear, // read from a picture: its bets change with a line that is unclear
};

struct ChatLine {
    QString text; // as pasted
    ChatLineKind kind = ChatLineKind::Empty;
    ChatProblem problem = ChatProblem::None;
    QList<ChatBet> bets;
};

struct ChatParse {
    QList<ChatLine> lines; // one per pasted line, in order
    QString customer;      // the cleaned name found on the first line, "" when none
    bool hasStatedTotal = false;
    double statedTotal = 0;
    double total = 0; // the sum of the amounts of every understood bet

    QList<ChatBet> bets() const;
    QStringList notUnderstood() const; // the lines as pasted
    bool totalMismatch() const { return hasStatedTotal && statedTotal != total; }
};

// Reads a pasted message. `pickedType` is the type chosen for the lines that carry one plain
// amount and no heading ("" when none is chosen). Pure: no file is read or written.
ChatParse parseChat(const QString& text, const QString& pickedType);

// A short Thai reason for the operator ("" for None).
QString chatProblemText(ChatProblem problem);

} // namespace varnoth

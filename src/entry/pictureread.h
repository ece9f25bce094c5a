#pragma once
// Bets read from a picture: the lines a text recogniser found in a screenshot or a photo of a slip,
// each word with its box and the recogniser's confidence, read by the chat reader. A wrong bet is
// worse than a missed one: a line whose reading rests on a character the recogniser was not sure
// of is never a bet. It is shown as not understood, beside its piece of the picture, for the
// operator to type, and so is every line whose bets would change without it (the bets under a
// doubtful heading, the numbers above a doubtful "ตัวละ 50"). Pure: no picture is read here.

#include "entry/chat.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

namespace varnoth
{

// One character as the recogniser read it, with the others it thought it might be.
struct PictureSymbol {
    QString text;         // one grapheme: a letter with its marks, a digit, a sign
    float confidence = 0; // 0 to 100
    struct Choice {
        QString text;
        float confidence = 0;
    };
    QList<Choice> choices; // the alternatives, the chosen one included or not
};

struct PictureWord {
    QString text;
    QRect box; // in the picture's own pixels
    float confidence = 0;
    QList<PictureSymbol> symbols;
};

struct PictureLine {
    QList<PictureWord> words;
    QRect box;
};

// How sure the recogniser must be before a line may carry bets. A character below `symbol`, a word
// below `word`, or a character with another reading at `rival` or more makes the line doubtful.
struct PictureDoubt {
    float symbol = 80;
    float word = 88;
    float rival = 5;
};

// Why a line of a picture is not read; the rest of the line's description is its ChatLine.
enum class PictureLineDoubt {
    None,
    Doubtful,  // a character the recogniser was not sure of
    DependsOn, // its bets change with a doubtful line (its heading, its "ตัวละ")
    Typed,     // typed by the operator: read as typed, never doubtful
};

struct PictureTextLine {
    QString text;
    QRect box;
    QList<QRect> wordBoxes;
    bool doubtful = false;
    bool typed = false; // the operator's own correction
    // When the doubt lies only in Thai letters and marks (every digit and sign sure), the texts the
    // line may have been, the one read first: "รุดหน้า" or "รูดหน้า". Empty otherwise.
    QStringList readings;
};

struct PictureParse {
    ChatParse chat; // one ChatLine per picture line; doubtful lines are NotUnderstood
    QList<PictureTextLine> lines;
    QList<PictureLineDoubt> doubts; // one per line
    int doubtfulCount() const;
};

// The text of a line, its words joined by one blank.
QString pictureLineText(const PictureLine& line);

// Whether the line's reading rests on a character the recogniser was not sure of.
bool isDoubtful(const PictureLine& line, const PictureDoubt& doubt = {});

// The lines as text with their boxes and doubt.
QList<PictureTextLine> pictureTextLines(const QList<PictureLine>& lines, const PictureDoubt& doubt = {});

// The texts a doubtful line may have been, when its doubt lies only in Thai letters and marks that
// the recogniser weighed against other Thai letters and marks ("ุ" or "ู"): every word sure enough,
// every digit and sign sure, every doubtful letter (not a mark) read sure but with a rival. The
// reading first is the one read. Empty when the doubt is elsewhere.
QStringList possibleReadings(const PictureLine& line, const PictureDoubt& doubt = {});

// Reads the lines as a chat message (`pickedType` as in parseChat) and takes every doubtful line,
// and every line whose bets depend on one, out of the bets. The total is that of the bets left.
// A doubtful line whose possible readings give exactly one that the chat reader understands, the
// others being nothing to it and changing no other line's bets, is read as that one when it differs
// from the reading first only in marks ("รุดหน้า 3 = 20" means nothing; "รูดหน้า 3 = 20" is a sweep):
// its digits, signs and letters were sure.
PictureParse parsePicture(const QList<PictureTextLine>& lines, const QString& pickedType);

// The line of the picture at a point, -1 where no line is.
int pictureLineAt(const QList<PictureTextLine>& lines, const QPoint& point);

} // namespace varnoth

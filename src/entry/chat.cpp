#include "entry/chat.h"

#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chattexts.h"
#include "entry/gates.h"

#include <QHash>
#include <QRegularExpression>

#include <optional>
#include <utility>

namespace varnoth
{

namespace
{

// --- words --------------------------------------------------------------------------------------------

enum class Word {
    Top,
    Bottom,
    Straight,
    StraightOrTote,
    Tote,
    Run,
    Reverse,
    Gate,
    Sweep,
    Front,
    Back,
    Each,
    Digits,
    TwoDigits,
    ThreeDigits,
    Hundred,
    Thousand,
    And,
    Total,
    Customer,
    Filler,
    Unknown
};

// What a bet's amount, a heading or a trailing word says about the type, as bits.
enum Kind : unsigned { KTop = 1, KBottom = 2, KStraight = 4, KTote = 8, KRun = 16 };

unsigned kindOf(Word w)
{
    switch (w) {
    case Word::Top:
        return KTop;
    case Word::Bottom:
        return KBottom;
    case Word::Straight:
        return KStraight;
    case Word::Tote:
        return KTote;
    case Word::Run:
        return KRun;
    default:
        return 0;
    }
}

struct Dictionary {
    QHash<QString, Word> words;
    qsizetype longest = 0;
    Dictionary()
    {
        auto add = [this](const auto& list, Word w) {
            for (const QString& s : list) {
                words.insert(s, w);
                longest = std::max(longest, s.size());
            }
        };
        add(chatword::Top, Word::Top);
        add(chatword::Bottom, Word::Bottom);
        add(chatword::Straight, Word::Straight);
        add(chatword::StraightOrTote, Word::StraightOrTote);
        add(chatword::Tote, Word::Tote);
        add(chatword::Run, Word::Run);
        add(chatword::Reverse, Word::Reverse);
        add(chatword::Gate, Word::Gate);
        add(chatword::Sweep, Word::Sweep);
        add(chatword::Front, Word::Front);
        add(chatword::Back, Word::Back);
        add(chatword::Each, Word::Each);
        add(chatword::Digits, Word::Digits);
        add(chatword::TwoDigits, Word::TwoDigits);
        add(chatword::ThreeDigits, Word::ThreeDigits);
        add(chatword::Hundred, Word::Hundred);
        add(chatword::Thousand, Word::Thousand);
        add(chatword::And, Word::And);
        add(chatword::Total, Word::Total);
        add(chatword::Customer, Word::Customer);
        add(chatword::Filler, Word::Filler);
    }
};

const Dictionary& dictionary()
{
    static const Dictionary d;
    return d;
}

// --- tokens -------------------------------------------------------------------------------------------

enum class Tk { Num, Word, Strong, Pair, Dash, At };

struct Token {
    Tk kind;
    Word word = Word::Unknown;
    QString text;
    bool glued = false;   // nothing stood between this token and the one before
    qsizetype end = 0;    // position after the token in the normalised line
    bool spelled = false; // "ร้อย": an amount written as a word, never a number to bet on
};

struct Tokens {
    QList<Token> list;
    bool decimal = false; // "12.5" (satang are no bet) or "12:30" (a time)
};

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isWordChar(QChar c)
{
    return c.isLetter() || c.isMark();
}

// The characters the reader sees: Thai and full-width digits as digits, full-width signs as their
// plain forms, letters in lower case, control characters as blanks, and the invisible format
// characters (zero-width spaces and joiners, direction marks and overrides) gone: "123=\u202e50" is
// shown reversed by a chat program but holds 50.
QString normalised(const QString& line)
{
    QString out;
    out.reserve(line.size());
    for (QChar c : line) {
        const char16_t u = c.unicode();
        if (u >= 0x0E50 && u <= 0x0E59)
            out += QChar(char16_t(u'0' + (u - 0x0E50)));
        else if (u >= 0xFF10 && u <= 0xFF19)
            out += QChar(char16_t(u'0' + (u - 0xFF10)));
        else if (u == 0xFF1D)
            out += QLatin1Char('=');
        else if (u == 0xFF0A || u == 0x00D7)
            out += QLatin1Char('*');
        else if (u == 0xFF0F)
            out += QLatin1Char('/');
        else if (u == 0xFF0B)
            out += QLatin1Char('+');
        else if (u == 0xFF0D || u == 0x2013 || u == 0x2014 || u == 0x2212)
            out += QLatin1Char('-');
        else if (c.category() == QChar::Other_Format)
            continue;
        else if (c.category() == QChar::Other_Control)
            out += QLatin1Char(' ');
        else
            out += c.toLower();
    }
    return out;
}

// A run of letters as dictionary words: the whole run, or Thai words of two letters or more, longest
// first. A one-letter short form ("บ", "ล") counts only standing alone, so that an unknown word is
// never read as a string of short forms.
QList<std::pair<QString, Word>> splitWords(const QString& run)
{
    const Dictionary& d = dictionary();
    if (auto it = d.words.constFind(run); it != d.words.constEnd()) return {{run, it.value()}};
    if (run == u"x") return {{run, Word::Unknown}}; // handled by the caller as a pair sign
    QList<std::pair<QString, Word>> out;
    qsizetype i = 0;
    while (i < run.size()) {
        qsizetype len = std::min(d.longest, run.size() - i);
        for (; len >= 2; --len) {
            const auto it = d.words.constFind(run.mid(i, len));
            if (it != d.words.constEnd()) {
                out.append({run.mid(i, len), it.value()});
                break;
            }
        }
        if (len < 2) return {{run, Word::Unknown}};
        i += len;
    }
    return out;
}

// The character at i is `sign`, with a digit on each side.
bool digitsAround(const QString& s, qsizetype i, QChar sign)
{
    return i > 0 && i + 1 < s.size() && s[i] == sign && isDigit(s[i - 1]) && isDigit(s[i + 1]);
}

qsizetype nextRunEnd(const QString& s, qsizetype i)
{
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

Tokens tokenize(const QString& s)
{
    Tokens t;
    bool glued = false;
    qsizetype i = 0;
    auto push = [&](Tk kind, const QString& text, qsizetype end, Word w = Word::Unknown) {
        t.list.append(Token{kind, w, text, glued, end});
        glued = true;
    };
    while (i < s.size()) {
        const QChar c = s[i];
        if (isDigit(c)) {
            qsizetype j = i;
            while (j < s.size() && isDigit(s[j]))
                ++j;
            QString digits = s.mid(i, j - i);
            // "1,000": a group of exactly three digits after a comma belongs to the same amount.
            while (digits.size() <= 9 && j + 3 < s.size() && s[j] == QLatin1Char(',') && isDigit(s[j + 1]) &&
                   isDigit(s[j + 2]) && isDigit(s[j + 3]) && (j + 4 == s.size() || !isDigit(s[j + 4]))) {
                digits += s.mid(j + 1, 3);
                j += 4;
            }
            if (digitsAround(s, j, QLatin1Char('.')) && !digitsAround(s, i - 1, QLatin1Char('.')) &&
                !digitsAround(s, nextRunEnd(s, j + 1), QLatin1Char('.')))
                t.decimal = true;                                       // "12.5"; "12.34.56" is a row of numbers
            if (digitsAround(s, j, QLatin1Char(':'))) t.decimal = true; // "12:30" is a time, not a bet
            push(Tk::Num, digits, j);
            i = j;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < s.size() && isWordChar(s[j]) && !isDigit(s[j]))
                ++j;
            const QString run = s.mid(i, j - i);
            if (run == u"x") {
                push(Tk::Pair, run, j);
            } else {
                for (const auto& [text, word] : splitWords(run)) {
                    if (word == Word::Hundred || word == Word::Thousand) {
                        push(Tk::Num, word == Word::Hundred ? QStringLiteral("100") : QStringLiteral("1000"), j);
                        t.list.last().spelled = true;
                    } else {
                        push(Tk::Word, text, j, word);
                    }
                }
            }
            i = j;
        } else {
            switch (c.unicode()) {
            case u'=':
                // "12==50": a doubled sign is one.
                if (glued && !t.list.isEmpty() && t.list.last().kind == Tk::Strong)
                    t.list.last().end = i + 1;
                else
                    push(Tk::Strong, QString(c), i + 1);
                break;
            case u'*':
            case u'/':
            case u'+':
                push(Tk::Pair, QString(c), i + 1);
                break;
            case u'-':
                push(Tk::Dash, QString(c), i + 1);
                break;
            case u'@':
                push(Tk::At, QString(c), i + 1);
                break;
            default:
                glued = false; // blanks, commas, dots, emoji and any other sign only separate
                break;
            }
            ++i;
        }
    }
    return t;
}

// --- headings -----------------------------------------------------------------------------------------

struct Heading {
    unsigned kinds = 0;
    int width = 0;        // "3ตัว": the numbers below have three digits
    QString exactType;    // a type's own name as heading
    bool unclear = false; // "ต.": a heading that may name two types, under which a plain amount has none
    bool set() const { return kinds != 0 || width != 0 || !exactType.isEmpty() || unclear; }
};

// The heading that tokens [from, to) form, or nothing when they form none.
std::optional<Heading> headingOf(const QList<Token>& toks, qsizetype from, qsizetype to)
{
    Heading h;
    bool any = false;
    for (qsizetype i = from; i < to; ++i) {
        const Token& t = toks[i];
        if (t.kind == Tk::Pair || t.kind == Tk::Dash || t.kind == Tk::Strong) continue;
        if (t.kind == Tk::Num) {
            // "3ตัว", "2 ตัว": the digit count, then "ตัว".
            if (t.text.size() != 1 || t.text[0] < QLatin1Char('1') || t.text[0] > QLatin1Char('3') || i + 1 >= to ||
                toks[i + 1].kind != Tk::Word || toks[i + 1].word != Word::Digits || h.width)
                return std::nullopt;
            h.width = t.text[0].unicode() - u'0';
            ++i;
            any = true;
            continue;
        }
        if (t.kind != Tk::Word) return std::nullopt;
        if (t.word == Word::Filler) continue;
        if (t.word == Word::TwoDigits || t.word == Word::ThreeDigits) {
            if (h.width) return std::nullopt;
            h.width = t.word == Word::TwoDigits ? 2 : 3;
            any = true;
            continue;
        }
        if (t.word == Word::StraightOrTote) {
            h.unclear = true;
            any = true;
            continue;
        }
        const unsigned k = kindOf(t.word);
        if (k == 0) return std::nullopt;
        h.kinds |= k;
        any = true;
    }
    if (!any) return std::nullopt;
    return h;
}

// --- bet lines ----------------------------------------------------------------------------------------

enum class SweepMode { None, Front, Back };

struct Subject {
    QString digits;
    SweepMode sweep = SweepMode::None;
    bool spelled = false;
};

struct Amount {
    QString digits;     // as written
    unsigned kinds = 0; // 0: a plain amount
};

struct Group {
    QList<Subject> subjects;
    QList<Amount> amounts;
};

struct LineParse {
    ChatProblem problem = ChatProblem::None;
    QList<Group> groups;
    bool reverse = false;
    bool gate19 = false;
    int reverseCount = 0;     // "6กลับ": the orders the customer counted, 0 when not written
    unsigned lineKinds = 0;   // type words standing after the amounts ("12=50 ล่าง")
    bool numbersOnly = false; // nothing but numbers: may be the numbers of an amount line below
    QList<Subject> numbers;   // those numbers
    bool blanksRow = false;   // numbers and amounts with blanks alone between them ("12 34")
    bool amountsOnly = false; // "ตัวละ 50", "=50", "บน50": the amount of the numbers above
    QList<Amount> amounts;    // that amount
};

enum class It { Num, Sweep, Amount, Strong, Pair, Dash, And };

struct Item {
    It kind;
    QString digits;
    unsigned kinds = 0;
    SweepMode sweep = SweepMode::None;
    bool spelled = false;
};

LineParse failed(ChatProblem p)
{
    LineParse r;
    r.problem = p;
    return r;
}

// How a loose "บ" after an amount is taken: "45=100 บ." is 100 baht or 100 on บน, and the line is read
// only when both give the same bets.
enum class Reading { ShortTop, Baht };

bool isLabel(const Token& t)
{
    return t.kind == Tk::Word && (kindOf(t.word) != 0 || t.word == Word::StraightOrTote);
}

// A "บ" standing apart after a number, with no number after it.
bool looseBaht(const QList<Token>& toks, qsizetype i)
{
    const Token& t = toks[i];
    return t.kind == Tk::Word && t.word == Word::Top && t.text == chatword::Top[1] && !t.glued && i > 0 &&
           toks[i - 1].kind == Tk::Num && !(i + 1 < toks.size() && toks[i + 1].kind == Tk::Num);
}

bool hasLooseBaht(const QList<Token>& toks)
{
    for (qsizetype i = 0; i < toks.size(); ++i)
        if (looseBaht(toks, i)) return true;
    return false;
}

// The tokens of a bet line as numbers, amounts and signs; the words that qualify a whole line set
// its flags.
std::optional<QList<Item>> itemsOf(const QList<Token>& toks, qsizetype from, LineParse& r, Reading reading)
{
    QList<Item> items;
    unsigned pendingKinds = 0;
    const auto ambiguous = [&r]() {
        r.problem = ChatProblem::Ambiguous;
        return std::nullopt;
    };
    // "ต" is ตรง or โต๊ด; on a line that names one of them in full ("128 ต50 โต๊ด50") and holds one "ต",
    // it is the other.
    int shortForms = 0;
    unsigned named = 0;
    for (qsizetype i = from; i < toks.size(); ++i) {
        shortForms += toks[i].kind == Tk::Word && toks[i].word == Word::StraightOrTote;
        if (toks[i].kind == Tk::Word && (toks[i].word == Word::Straight || toks[i].word == Word::Tote))
            named |= kindOf(toks[i].word);
    }
    const Word shortForm = shortForms != 1      ? Word::Unknown
                           : named == KTote     ? Word::Straight
                           : named == KStraight ? Word::Tote
                                                : Word::Unknown;
    for (qsizetype i = from; i < toks.size(); ++i) {
        const Token& t = toks[i];
        switch (t.kind) {
        case Tk::Num:
            if (pendingKinds) {
                items.append(Item{It::Amount, t.text, pendingKinds});
                pendingKinds = 0;
            } else {
                items.append(Item{It::Num, t.text, 0, SweepMode::None, t.spelled});
            }
            break;
        case Tk::Strong:
            if (!pendingKinds) items.append(Item{It::Strong, {}});
            break;
        case Tk::Pair:
            if (!pendingKinds) items.append(Item{It::Pair, {}}); // "บน+ล่าง100": the words go on
            break;
        case Tk::Dash:
            if (!pendingKinds) items.append(Item{It::Dash, {}});
            break;
        case Tk::At:
            return std::nullopt;
        case Tk::Word:
            switch (t.word == Word::StraightOrTote ? shortForm : t.word) {
            case Word::Filler:
                break;
            case Word::And:
                items.append(Item{It::And, {}});
                break;
            case Word::Unknown:
                if (t.word == Word::StraightOrTote) return ambiguous();
                r.problem = ChatProblem::UnknownWord;
                return std::nullopt;
            case Word::Each:
                // "บน50 ล่าง50 ทุกตัว": last on the line, it only says the amounts go to each number.
                if (std::all_of(toks.begin() + i + 1, toks.end(),
                                [](const Token& n) { return n.kind == Tk::Word && n.word == Word::Filler; }))
                    break;
                items.append(Item{It::Strong, {}});
                break;
            case Word::Reverse:
                // "345 6กลับ": the count of orders glued before the word, checked against the number.
                // Apart ("345 6 กลับ") the digit may as well be the amount.
                if (i > from && toks[i - 1].kind == Tk::Num && toks[i - 1].text.size() == 1 && items.size() >= 2 &&
                    items.last().kind == It::Num && items[items.size() - 2].kind == It::Num) {
                    if (!t.glued) return ambiguous();
                    r.reverseCount = toks[i - 1].text[0].unicode() - u'0';
                    items.removeLast();
                }
                r.reverse = true;
                break;
            case Word::Gate:
                if (items.isEmpty() || items.last().kind != It::Num || items.last().digits != u"19")
                    return std::nullopt;
                items.removeLast();
                r.gate19 = true;
                break;
            case Word::Sweep: {
                // "รูดหน้า 5" is 50–59 and "รูดหลัง 5" 05–95; a bare "รูด 5" is written for either.
                SweepMode mode = SweepMode::None;
                qsizetype j = i + 1;
                if (j < toks.size() && toks[j].kind == Tk::Word && toks[j].word == Word::Front) mode = SweepMode::Front;
                if (j < toks.size() && toks[j].kind == Tk::Word && toks[j].word == Word::Back) mode = SweepMode::Back;
                if (mode == SweepMode::None) return ambiguous();
                ++j;
                if (j >= toks.size() || toks[j].kind != Tk::Num || toks[j].text.size() != 1) return std::nullopt;
                items.append(Item{It::Sweep, toks[j].text, 0, mode});
                i = j;
                break;
            }
            case Word::Top:
            case Word::Bottom:
            case Word::Straight:
            case Word::Tote:
            case Word::Run: {
                // A type word glued after a plain number makes it an amount ("100บน"); otherwise it
                // names the amount after it ("บน100"), or, last on the line, the type of the line.
                const unsigned k = kindOf(t.word == Word::StraightOrTote ? shortForm : t.word);
                if (reading == Reading::Baht && looseBaht(toks, i)) break;
                // Glued on both sides ("ตรง50" in "123ตรง50"), it names the amount after it.
                const bool beforeNumber = i + 1 < toks.size() && toks[i + 1].kind == Tk::Num && toks[i + 1].glued;
                const bool afterNumber = t.glued && i > from && toks[i - 1].kind == Tk::Num && !beforeNumber;
                if (afterNumber && t.text == chatword::Top[1]) break; // "50บ": baht, not บน
                if (pendingKinds) {
                    // "บน ล่าง 100" leaves บน without an amount of its own; "บนล่าง", "บน+ล่าง" and
                    // "วิ่ง บน" name one amount.
                    const Token& before = toks[i - 1];
                    if (!t.glued && isLabel(before) && k != KRun && pendingKinds != KRun) return ambiguous();
                    pendingKinds |= k;
                } else if (afterNumber && !items.isEmpty() && items.last().kind == It::Num && t.text.size() > 1) {
                    items.last().kind = It::Amount;
                    items.last().kinds = k;
                } else if (t.glued && !items.isEmpty() && items.last().kind == It::Amount && i > from &&
                           toks[i - 1].kind == Tk::Word) {
                    items.last().kinds |= k; // "100บนล่าง", "100วิ่งบน"
                } else {
                    pendingKinds = k;
                }
                break;
            }
            default:
                return std::nullopt;
            }
            break;
        }
    }
    r.lineKinds = pendingKinds;
    return items;
}

bool validSubject(const Item& item)
{
    return item.kind == It::Num || item.kind == It::Sweep;
}

Subject subjectOf(const Item& item)
{
    return Subject{item.digits, item.sweep, item.spelled};
}

// "กับ" stands between two numbers.
bool joinsNumbers(const QList<Item>& items, qsizetype i)
{
    return i > 0 && i + 1 < items.size() && validSubject(items[i - 1]) && validSubject(items[i + 1]);
}

// Groups of numbers and their amounts, by the signs of the line.
LineParse groupsOf(const QList<Item>& items, LineParse r)
{
    bool strong = false, dash = false, pair = false, labelled = false;
    for (const Item& it : items) {
        strong |= it.kind == It::Strong;
        dash |= it.kind == It::Dash;
        pair |= it.kind == It::Pair;
        labelled |= it.kind == It::Amount;
    }

    if (labelled) {
        // Numbers, then amounts each with its type word; an "=" may stand between them.
        Group g;
        bool inAmounts = false;
        bool afterStrong = false;
        for (const Item& it : items) {
            if (it.kind == It::Amount) {
                inAmounts = true;
                afterStrong = false;
                g.amounts.append(Amount{it.digits, it.kinds});
            } else if (validSubject(it)) {
                if (inAmounts || afterStrong) return failed(ChatProblem::Shape);
                g.subjects.append(subjectOf(it));
            } else if (it.kind == It::Strong) {
                if (inAmounts) return failed(ChatProblem::Shape);
                afterStrong = true;
            } else if (it.kind == It::Pair && !inAmounts) {
                return failed(ChatProblem::Shape);
            }
        }
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i].kind == It::And && !joinsNumbers(items, i)) return failed(ChatProblem::Shape);
        if (r.lineKinds) return failed(ChatProblem::Shape);
        if (g.subjects.isEmpty()) {
            r.amountsOnly = true;
            r.amounts = g.amounts;
            r.problem = ChatProblem::NoAmount;
            return r;
        }
        r.groups.append(g);
        return r;
    }

    if (strong || dash) {
        // "12 34=50", "12=50 34=50", "123=50*50", "45-100", "123-50-50". Where an "=" is written, a
        // "-" between numbers only separates them.
        const bool dashIsStrong = !strong;
        Group g;
        bool inAmounts = false;
        bool lastPair = false;
        const auto close = [&]() -> bool {
            if (g.subjects.isEmpty() || g.amounts.isEmpty() || lastPair) return false;
            r.groups.append(g);
            g = Group{};
            return true;
        };
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Item& it = items[i];
            const bool isStrong = it.kind == It::Strong || (it.kind == It::Dash && dashIsStrong);
            if (!inAmounts) {
                if (validSubject(it)) {
                    g.subjects.append(subjectOf(it));
                } else if (isStrong) {
                    inAmounts = true;
                } else if (it.kind == It::Pair || it.kind == It::And) {
                    // "12/21=50": before the amount a sign between two numbers only separates them.
                    if (!joinsNumbers(items, i) || (it.kind == It::Pair && !strong)) return failed(ChatProblem::Shape);
                }
                continue;
            }
            if (it.kind == It::Num) {
                if (g.amounts.isEmpty() || (lastPair && g.amounts.size() == 1)) {
                    g.amounts.append(Amount{it.digits});
                    lastPair = false;
                } else {
                    if (!close()) return failed(ChatProblem::Shape);
                    inAmounts = false;
                    g.subjects.append(subjectOf(it));
                }
            } else if (it.kind == It::Sweep) {
                if (!close()) return failed(ChatProblem::Shape);
                inAmounts = false;
                g.subjects.append(subjectOf(it));
            } else if (it.kind == It::Pair || it.kind == It::Dash) {
                if (g.amounts.size() != 1 || lastPair) return failed(ChatProblem::Shape);
                lastPair = true;
            } else {
                return failed(ChatProblem::Shape);
            }
        }
        if (!inAmounts && r.groups.isEmpty() && g.subjects.isEmpty()) {
            return failed(ChatProblem::NoAmount);
        }
        if (inAmounts && g.subjects.isEmpty() && r.groups.isEmpty()) {
            // "=50", "ตัวละ 50": the amount of the numbers on the lines above.
            if (g.amounts.isEmpty() || lastPair) return failed(ChatProblem::NoAmount);
            r.amountsOnly = true;
            r.amounts = g.amounts;
            r.problem = ChatProblem::NoAmount;
            return r;
        }
        if (!close()) return failed(g.amounts.isEmpty() ? ChatProblem::NoAmount : ChatProblem::Shape);
        return r;
    }

    if (pair) {
        // "123 50x50": the last two numbers are the amounts.
        const qsizetype n = items.size();
        if (n < 4 || items[n - 1].kind != It::Num || items[n - 2].kind != It::Pair || items[n - 3].kind != It::Num)
            return failed(ChatProblem::Shape);
        Group g;
        for (qsizetype i = 0; i < n - 3; ++i) {
            if (!validSubject(items[i])) return failed(ChatProblem::Shape);
            g.subjects.append(subjectOf(items[i]));
        }
        g.amounts = {Amount{items[n - 3].digits}, Amount{items[n - 1].digits}};
        r.groups.append(g);
        return r;
    }

    // Blanks only: "123 50" is a number and its amount; a longer row of numbers waits for an amount
    // line below ("ตัวละ 50"), and is not understood without one.
    // A type word on such a row ("36 บน") has no amount beside it: the row waits for none. "12 กับ 50"
    // is two numbers.
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].kind != It::And)
            r.numbers.append(subjectOf(items[i]));
        else if (!joinsNumbers(items, i))
            return failed(ChatProblem::Shape);
    }
    r.numbersOnly = !items.isEmpty() && r.lineKinds == 0;
    r.blanksRow = true;
    if (items.size() == 2 && items[1].kind == It::Num) {
        r.groups.append(Group{{subjectOf(items[0])}, {Amount{items[1].digits}}});
        return r;
    }
    r.problem = ChatProblem::NoAmount;
    return r;
}

LineParse parseBetLine(const QList<Token>& toks, qsizetype from, Reading reading = Reading::ShortTop)
{
    LineParse r;
    const std::optional<QList<Item>> items = itemsOf(toks, from, r, reading);
    if (!items) return failed(r.problem == ChatProblem::None ? ChatProblem::Shape : r.problem);
    if (items->isEmpty()) return failed(ChatProblem::NoAmount);
    if (r.gate19 && r.reverse) return failed(ChatProblem::Shape);
    r = groupsOf(*items, r);
    // "ร้อย" is an amount; where the line would bet on it, the line does not read.
    const auto spelled = [](const QList<Subject>& subjects) {
        return std::any_of(subjects.begin(), subjects.end(), [](const Subject& s) { return s.spelled; });
    };
    bool onSpelled = spelled(r.numbers);
    for (const Group& g : r.groups)
        onSpelled |= spelled(g.subjects);
    return onSpelled ? failed(ChatProblem::Shape) : r;
}

// A row of numbers and nothing else ("12 34 56", "12-34-56", "5 19ประตู"), read as the numbers of an
// amount heading above it; `dashed` when a "-" stands between them, so that the row may also be a
// number and its amount.
struct BareNumbers {
    LineParse parse;
    bool dashed = false;
};

std::optional<BareNumbers> bareNumbersOf(const QList<Token>& toks)
{
    BareNumbers b;
    const std::optional<QList<Item>> items = itemsOf(toks, 0, b.parse, Reading::ShortTop);
    if (!items || items->isEmpty() || b.parse.lineKinds || (b.parse.gate19 && b.parse.reverse)) return std::nullopt;
    for (qsizetype i = 0; i < items->size(); ++i) {
        const Item& it = items->at(i);
        if (it.kind == It::Dash) {
            b.dashed = true;
        } else if (validSubject(it) && !it.spelled) {
            b.parse.numbers.append(subjectOf(it));
        } else if (it.kind != It::And || !joinsNumbers(*items, i)) {
            return std::nullopt;
        }
    }
    if (b.parse.numbers.isEmpty()) return std::nullopt;
    return b;
}

// --- types and bets -------------------------------------------------------------------------------------

const QString T3Straight = QStringLiteral("3ตัวตรง");
const QString T3Tote = QStringLiteral("3ตัวโต๊ด");
const QString T3Bottom = QStringLiteral("3ตัวล่าง");
const QString T2Top = QStringLiteral("2ตัวบน");
const QString T2Tote = QStringLiteral("คู่โต๊ด");
const QString T2Bottom = QStringLiteral("2ตัวล่าง");
const QString T1Top = QStringLiteral("วิ่งบน");
const QString T1Bottom = QStringLiteral("วิ่งล่าง");
const QString T3HeadStraight = QStringLiteral("3ตัวตรงหัว");
const QString T3HeadTote = QStringLiteral("3ตัวโต๊ดหัว");

// The types that type words name for a number of w digits; empty when one of them has no such width.
QStringList typesOf(unsigned kinds, int w)
{
    QStringList out;
    auto add = [&out](const QString& t) {
        if (!out.contains(t)) out << t;
    };
    if (kinds & KRun) {
        if (w != 1) return {};
        if (!(kinds & KBottom) || (kinds & KTop)) add(T1Top);
        if (kinds & KBottom) add(T1Bottom);
        return out;
    }
    if (kinds & KTop) add(w == 3 ? T3Straight : w == 2 ? T2Top : T1Top);
    if (kinds & KStraight) {
        if (w != 3) return {};
        add(T3Straight);
    }
    if (kinds & KBottom) add(w == 3 ? T3Bottom : w == 2 ? T2Bottom : T1Bottom);
    if (kinds & KTote) {
        if (w == 1) return {};
        add(w == 3 ? T3Tote : T2Tote);
    }
    return out;
}

// The numbers one subject stands for.
QStringList expand(const Subject& s, bool reverse, bool gate19)
{
    const auto list = [](const QString& gates) { return gates.split(QLatin1Char(' '), Qt::SkipEmptyParts); };
    switch (s.sweep) {
    case SweepMode::Front:
    case SweepMode::Back: {
        QStringList out;
        for (char d = '0'; d <= '9'; ++d)
            out << (s.sweep == SweepMode::Front ? s.digits + QLatin1Char(d) : QLatin1Char(d) + s.digits);
        return out;
    }
    case SweepMode::None:
        break;
    }
    if (gate19) return s.digits.size() == 1 ? list(GatesContaining(s.digits, 2)) : QStringList{};
    if (s.digits.isEmpty() || s.digits.size() > 3) return {};
    if (reverse) return list(GatesContaining(s.digits, static_cast<int>(s.digits.size())));
    return {s.digits};
}

// The amount in baht without leading zeros; "" for 0 or a figure too long to be an amount.
QString bahtOf(const QString& digits)
{
    qsizetype i = 0;
    while (i < digits.size() && digits[i] == QLatin1Char('0'))
        ++i;
    const QString amount = digits.mid(i);
    return amount.size() > 9 ? QString() : amount;
}

struct Context {
    Heading heading;
    QString picked;
};

ChatProblem betsOf(const LineParse& p, const Context& ctx, QList<ChatBet>& bets)
{
    const Heading& h = ctx.heading;
    // A heading that says the width ("2ตัว", "3ตัวโต๊ด") holds for every number under it, whatever
    // form its amounts take: "5=50*50" under "2ตัวบน" is a number with a digit missing, not วิ่ง.
    const int headingWidth = h.width ? h.width : h.exactType.isEmpty() ? 0 : classifyType(h.exactType).digits;
    // With the window on a head type, a word that names ตรง or โต๊ด of three digits may mean the head
    // type or the plain one.
    const bool headWindow = h.exactType.isEmpty() && (ctx.picked == T3HeadStraight || ctx.picked == T3HeadTote);
    for (const Group& g : p.groups) {
        for (const Amount& a : g.amounts)
            if (bahtOf(a.digits).isEmpty()) return ChatProblem::BadAmount;
        const bool pair = g.amounts.size() == 2 && g.amounts[0].kinds == 0 && g.amounts[1].kinds == 0;
        if (g.amounts.size() > 2 && !pair) {
            for (const Amount& a : g.amounts)
                if (a.kinds == 0) return ChatProblem::Shape;
        }
        if (g.amounts.size() == 2 && !pair && (g.amounts[0].kinds == 0 || g.amounts[1].kinds == 0))
            return ChatProblem::Shape;
        if (pair && p.lineKinds) return ChatProblem::Shape;
        for (const Subject& s : g.subjects) {
            const QStringList numbers = expand(s, p.reverse, p.gate19);
            if (numbers.isEmpty()) return ChatProblem::Width;
            if (p.reverseCount && numbers.size() != p.reverseCount) return ChatProblem::Ambiguous;
            for (const QString& n : numbers) {
                const int w = static_cast<int>(n.size());
                if (headingWidth && w != headingWidth) return ChatProblem::Width;
                QList<std::pair<QString, QString>> targets; // type, amount
                if (pair) {
                    // Two plain amounts: straight and permutation on three digits, top and bottom
                    // on two or one, whatever the heading or the picked type.
                    const QString& context = h.exactType.isEmpty() ? ctx.picked : h.exactType;
                    const bool head = context == T3HeadStraight || context == T3HeadTote;
                    if (w == 3 && headWindow && (h.kinds || h.width)) return ChatProblem::Ambiguous;
                    const QString first = w == 3 ? (head ? T3HeadStraight : T3Straight) : w == 2 ? T2Top : T1Top;
                    const QString second = w == 3 ? (head ? T3HeadTote : T3Tote) : w == 2 ? T2Bottom : T1Bottom;
                    targets = {{first, g.amounts[0].digits}, {second, g.amounts[1].digits}};
                } else {
                    for (const Amount& a : g.amounts) {
                        unsigned kinds = a.kinds ? a.kinds : p.lineKinds ? p.lineKinds : h.kinds;
                        if (kinds == 0 && a.kinds == 0 && p.lineKinds == 0) {
                            if (h.unclear) return ChatProblem::Ambiguous;
                            QString type = h.exactType;
                            if (type.isEmpty() && h.width) {
                                kinds = h.width == 3 ? KStraight : h.width == 2 ? KTop : KRun;
                            } else if (type.isEmpty()) {
                                type = ctx.picked;
                                if (type.isEmpty()) return ChatProblem::NoType;
                            }
                            if (!type.isEmpty()) {
                                if (classifyType(type).digits != w) return ChatProblem::Width;
                                targets.append({type, a.digits});
                                continue;
                            }
                        }
                        const QStringList types = typesOf(kinds, w);
                        if (types.isEmpty()) return ChatProblem::Width;
                        if (headWindow && (types.contains(T3Straight) || types.contains(T3Tote)))
                            return ChatProblem::Ambiguous;
                        for (const QString& t : types)
                            targets.append({t, a.digits});
                    }
                }
                for (const auto& [type, amount] : targets) {
                    const bool perm = isPermutationType(type);
                    if (perm && p.reverse) return ChatProblem::Shape; // every order of a permutation is one bet
                    bets.append(ChatBet{type, perm ? SortDigits(n) : n, bahtOf(amount)});
                }
            }
        }
    }
    return ChatProblem::None;
}

// --- the special lines -------------------------------------------------------------------------------

// The name written after the customer word or "@": its letters and digits.
QString nameAfter(const QString& line, qsizetype from)
{
    QString name;
    for (qsizetype i = from; i < line.size(); ++i)
        if (isWordChar(line[i]) || isDigit(line[i])) name += line[i];
    return customerName(name);
}

std::optional<QString> customerOf(const QString& line, const QList<Token>& toks)
{
    if (toks.isEmpty()) return std::nullopt;
    if (toks[0].kind == Tk::At || (toks[0].kind == Tk::Word && toks[0].word == Word::Customer)) {
        // Words after it, digits only as part of a word ("@somchai99"): a line with bets is no name.
        for (qsizetype i = 1; i < toks.size(); ++i) {
            const Token& t = toks[i];
            const bool word = t.kind == Tk::Word && (t.word == Word::Unknown || t.word == Word::Filler);
            if (!word && !(t.kind == Tk::Num && t.glued && toks[i - 1].kind == Tk::Word)) return std::nullopt;
        }
        const QString name = nameAfter(line, toks[0].end);
        if (name.isEmpty() || name.size() > 30) return std::nullopt;
        return name;
    }
    // A name alone: words only, none of them one the reader knows but politeness, and short. A link
    // or an address is no name.
    for (QChar c : line)
        if (QStringView(u"/:.=_@#").contains(c)) return std::nullopt;
    QString name;
    for (const Token& t : toks) {
        if (t.kind != Tk::Word || (t.word != Word::Unknown && t.word != Word::Filler)) return std::nullopt;
        if (t.word == Word::Unknown) name += t.text;
    }
    name = customerName(name);
    if (name.isEmpty() || name.size() > 30) return std::nullopt;
    return name;
}

std::optional<double> totalOf(const QList<Token>& toks)
{
    qsizetype i = 0;
    while (i < toks.size() && toks[i].kind == Tk::Word && toks[i].word == Word::Filler)
        ++i;
    if (i >= toks.size() || toks[i].kind != Tk::Word || toks[i].word != Word::Total) return std::nullopt;
    std::optional<double> value;
    for (++i; i < toks.size(); ++i) {
        const Token& t = toks[i];
        if (t.kind == Tk::Num) {
            if (value) return std::nullopt;
            value = Val(t.text);
        } else if (t.kind == Tk::Word && t.word != Word::Filler && t.word != Word::Total) {
            return std::nullopt;
        } else if (t.kind == Tk::Pair || t.kind == Tk::At) {
            return std::nullopt;
        }
    }
    return value;
}

bool isEmptyLine(const QList<Token>& toks)
{
    for (const Token& t : toks)
        if (t.kind != Tk::Word || t.word != Word::Filler) return false;
    return true;
}

QStringList splitLines(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QChar(0x2028), QLatin1Char('\n'));
    t.replace(QChar(0x2029), QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    if (t.isEmpty()) return {};
    return t.split(QLatin1Char('\n'));
}

// A line copied from a chat program with its time and sender: "[19:02] ป้าแดง: 47=100". What follows
// the colon is the message.
QString withoutChatPrefix(const QString& line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i].isSpace())
        ++i;
    if (i == line.size() || line[i] != QLatin1Char('[')) return line;
    static const QRegularExpression prefix(
        QStringLiteral(R"(^\s*\[\s*\d{1,2}:\d{2}(?::\d{2})?\s*\]\s*[^\d:=\[\]]{1,30}:)"));
    const QRegularExpressionMatch m = prefix.match(line);
    return m.hasMatch() ? line.mid(m.capturedEnd()) : line;
}

bool hasEach(const QList<Token>& toks)
{
    for (const Token& t : toks)
        if (t.kind == Tk::Word && t.word == Word::Each) return true;
    return false;
}

// A bet line as read, with the type words before its numbers taken as the heading of this line alone
// when the line does not read without them ("บน 12=50", "2ตัวบน ตัวละ 20").
struct LineRead {
    LineParse parse;
    Context ctx;
    bool ownHeading = false;
};

LineRead readBetLine(const QList<Token>& toks, const Context& ctx, Reading reading)
{
    LineRead r{parseBetLine(toks, 0, reading), ctx};
    if (r.parse.problem == ChatProblem::None || r.parse.amountsOnly || toks.isEmpty()) return r;
    qsizetype end = 0;
    while (end < toks.size() &&
           (toks[end].kind != Tk::Num ||
            (end + 1 < toks.size() && toks[end + 1].kind == Tk::Word && toks[end + 1].word == Word::Digits)))
        end += toks[end].kind == Tk::Num ? 2 : 1;
    for (qsizetype cut = std::min(end, toks.size()); cut > 0; --cut) {
        const auto own = headingOf(toks, 0, cut);
        if (!own) continue;
        const LineParse again = parseBetLine(toks, cut, reading);
        if (again.problem == ChatProblem::None || again.amountsOnly) {
            r.parse = again;
            r.ctx.heading = *own;
            r.ownHeading = true;
        }
        break;
    }
    return r;
}

// "วิ่ง 7 ...": the line read with "วิ่ง" as its own heading; ownHeading is false when it does not read so.
LineRead runHeadedLine(const QList<Token>& toks, const Context& ctx)
{
    LineRead r{{}, ctx};
    if (toks.size() < 2 || toks[0].kind != Tk::Word || toks[0].word != Word::Run || toks[1].kind != Tk::Num) return r;
    const LineParse again = parseBetLine(toks, 1, Reading::ShortTop);
    if (again.problem != ChatProblem::None) return r;
    r.parse = again;
    r.ctx.heading = Heading{KRun};
    r.ownHeading = true;
    return r;
}

// Lines of numbers waiting for the amount line below them.
struct Waiting {
    qsizetype line;
    LineParse parse;
    Context ctx;
    bool amountLines; // read in a block whose amounts stand on lines of their own
};

// "บน ตัวละ 50" over rows of bare numbers: its amount goes to each of them.
struct AmountScope {
    bool active = false;
    bool refused = false; // the amount may belong to numbers above it: none of its rows is read
    qsizetype line = -1;
    LineParse amount;
    Context ctx;
    Heading before; // the heading it replaced, back when it turns out to head no number
    QList<qsizetype> rows;
};

// Reads a message line by line. A line's meaning may depend on the lines around it (numbers over an
// amount line, an amount heading over numbers), so a line already read can still be refused.
class MessageReader
{
public:
    explicit MessageReader(const QString& picked) : m_ctx{{}, typeIndex(picked) >= 0 ? picked : QString()} {}

    void read(const QString& raw)
    {
        ChatLine line;
        line.text = raw;
        const QString s = withoutChatPrefix(normalised(raw));
        const Tokens tokens = tokenize(s);
        const QList<Token>& toks = tokens.list;

        if (isEmptyLine(toks)) {
            // A blank line ends the numbers over an amount line, but an amount line just under it
            // may still have been meant for them. It does not end an amount heading.
            if (!m_waiting.isEmpty()) {
                m_beforeBlank.clear();
                for (const Waiting& w : m_waiting)
                    m_beforeBlank << w.line;
            }
            endWaiting();
            m_result.lines.append(line);
            return;
        }
        const bool wasFirst = std::exchange(m_first, false);
        const QList<qsizetype> beforeBlank = std::exchange(m_beforeBlank, {});

        // A type's own name as heading ("3ตัวตรง", "คู่โต๊ด"); only a short line can be one.
        const QString compact = s.size() <= 24 ? CleanName(s).remove(QLatin1Char(':')) : QString();
        std::optional<Heading> heading;
        if (!compact.isEmpty() && typeIndex(compact) >= 0)
            heading = Heading{0, 0, compact};
        else
            heading = headingOf(toks, 0, toks.size());
        if (heading) {
            endOfBlock();
            m_amountLines = false;
            m_ctx.heading = *heading;
            line.kind = ChatLineKind::Heading;
            if (heading->unclear) markRefused(line, ChatProblem::Ambiguous);
        } else if (const auto total = totalOf(toks)) {
            endOfBlock();
            m_result.hasStatedTotal = true;
            m_result.statedTotal = *total;
            line.kind = ChatLineKind::Total;
        } else if (const auto name = wasFirst ? customerOf(s, toks) : std::nullopt) {
            endOfBlock();
            m_result.customer = *name;
            line.kind = ChatLineKind::Customer;
        } else if (tokens.decimal) {
            endOfBlock();
            line.kind = ChatLineKind::NotUnderstood;
            line.problem = ChatProblem::BadAmount;
        } else {
            readBets(line, toks, beforeBlank);
            return;
        }
        m_result.lines.append(line);
    }

    ChatParse finish()
    {
        endOfBlock();
        for (const ChatLine& l : m_result.lines)
            for (const ChatBet& b : l.bets)
                m_result.total += Val(b.amount);
        return std::move(m_result);
    }

private:
    void refuse(qsizetype index, ChatProblem problem)
    {
        ChatLine& l = m_result.lines[index];
        l.kind = ChatLineKind::NotUnderstood;
        l.problem = problem;
        l.bets.clear();
    }

    // Rows of numbers that no amount line took, in a block whose amounts stand on lines of their own:
    // "56 78" there is a number and its amount, or two numbers whose amount is missing.
    void endWaiting()
    {
        for (const Waiting& w : m_waiting)
            if (w.amountLines && m_result.lines[w.line].kind == ChatLineKind::Bets)
                refuse(w.line, ChatProblem::Ambiguous);
        m_waiting.clear();
    }

    void closeScope()
    {
        if (m_scope.active && m_scope.rows.isEmpty() && !m_scope.refused) {
            refuse(m_scope.line, ChatProblem::NoAmount);
            m_ctx.heading = m_scope.before;
        }
        m_scope = AmountScope{};
    }

    void endOfBlock()
    {
        endWaiting();
        closeScope();
    }

    void readBets(ChatLine& line, const QList<Token>& toks, const QList<qsizetype>& beforeBlank)
    {
        const qsizetype index = m_result.lines.size();
        LineRead lr = readBetLine(toks, m_ctx, Reading::ShortTop);

        if (m_scope.active) {
            if (const auto bare = bareNumbersOf(toks)) {
                readScopeRow(line, *bare, lr);
                m_scope.rows << index;
                m_result.lines.append(line);
                return;
            }
            if (lr.parse.amountsOnly && !m_scope.rows.isEmpty()) {
                // A second amount right under the rows the heading's amount went to: which amount is
                // meant for which row cannot be told.
                for (qsizetype row : m_scope.rows)
                    refuse(row, ChatProblem::Ambiguous);
                refuse(m_scope.line, ChatProblem::Ambiguous);
                m_scope = AmountScope{true, true, index};
                markRefused(line, ChatProblem::Ambiguous);
                m_result.lines.append(line);
                return;
            }
            if (lr.parse.blanksRow) {
                // "12 34 ล่าง" under "ตัวละ 50": its own amount or the heading's.
                markRefused(line, ChatProblem::Ambiguous);
                m_scope.rows << index;
                m_result.lines.append(line);
                return;
            }
            closeScope();
            lr = readBetLine(toks, m_ctx, Reading::ShortTop); // under the heading it may have given back
        }

        if (lr.parse.amountsOnly && m_waiting.isEmpty() && !hasEach(toks)) {
            // "วิ่ง 7 บน 500 ล่าง 500": with nothing above to take amounts, "วิ่ง" before the number
            // names its type, which the words after it complete.
            const LineRead run = runHeadedLine(toks, m_ctx);
            if (run.ownHeading) lr = run;
        }
        if (lr.parse.amountsOnly) {
            readAmountLine(line, toks, lr, beforeBlank);
            return;
        }

        if (lr.parse.problem == ChatProblem::None) {
            ChatProblem problem = betsOf(lr.parse, lr.ctx, line.bets);
            if (problem == ChatProblem::None && hasLooseBaht(toks)) {
                // "45=100 บ.": read once with บ as บน and once as baht; only the same bets stand.
                const LineRead alt = readBetLine(toks, m_ctx, Reading::Baht);
                QList<ChatBet> altBets;
                if (alt.parse.problem != ChatProblem::None || alt.parse.amountsOnly ||
                    betsOf(alt.parse, alt.ctx, altBets) != ChatProblem::None || altBets != line.bets)
                    problem = ChatProblem::Ambiguous;
            }
            if (problem == ChatProblem::None)
                line.kind = ChatLineKind::Bets;
            else
                markRefused(line, problem);
        } else {
            markRefused(line, lr.parse.problem);
        }
        if (lr.parse.numbersOnly) {
            m_waiting.append(Waiting{index, lr.parse, lr.ctx, m_amountLines});
            m_result.lines.append(line);
            return;
        }
        endWaiting();
        m_result.lines.append(line);
    }

    void readScopeRow(ChatLine& line, const BareNumbers& bare, const LineRead& own)
    {
        if (m_scope.refused || (bare.dashed && own.parse.problem == ChatProblem::None && !own.parse.amountsOnly)) {
            // "12-50" is a row of two numbers and as well 50 on 12.
            markRefused(line, ChatProblem::Ambiguous);
            return;
        }
        LineParse numbers = bare.parse;
        numbers.groups = {Group{numbers.numbers, m_scope.amount.amounts}};
        numbers.lineKinds = m_scope.amount.lineKinds;
        const ChatProblem problem = betsOf(numbers, m_scope.ctx, line.bets);
        if (problem == ChatProblem::None)
            line.kind = ChatLineKind::Bets;
        else
            markRefused(line, problem);
    }

    // "ตัวละ 50", "=50*50", "บน50 ล่าง20": the amount of the numbers on the lines right above, or, with
    // a word for "each" and nothing above, the amount of the rows of numbers right below.
    void readAmountLine(ChatLine& line, const QList<Token>& toks, const LineRead& lr,
                        const QList<qsizetype>& beforeBlank)
    {
        const qsizetype index = m_result.lines.size();
        if (!m_waiting.isEmpty()) {
            bool ok = !hasLooseBaht(toks);
            line.problem = ok ? ChatProblem::None : ChatProblem::Ambiguous;
            QList<QList<ChatBet>> found;
            for (const Waiting& w : m_waiting) {
                if (!ok) break;
                LineParse numbers = w.parse;
                numbers.groups = {Group{numbers.numbers, lr.parse.amounts}};
                numbers.lineKinds = lr.parse.lineKinds;
                QList<ChatBet> bets;
                const ChatProblem problem = betsOf(numbers, w.ctx, bets);
                if (problem != ChatProblem::None) {
                    line.problem = problem;
                    ok = false;
                }
                found.append(bets);
            }
            // A failed amount line takes the numbers above with it: read alone, "12 34" would be 34
            // on 12, which is not what a row of numbers over an amount means.
            for (qsizetype i = 0; i < m_waiting.size(); ++i) {
                ChatLine& above = m_result.lines[m_waiting[i].line];
                above.kind = ok ? ChatLineKind::Bets : ChatLineKind::NotUnderstood;
                above.problem = ok ? ChatProblem::None : line.problem;
                above.bets = ok ? found[i] : QList<ChatBet>{};
            }
            line.kind = ok ? ChatLineKind::Bets : ChatLineKind::NotUnderstood;
            m_waiting.clear();
            m_amountLines = true;
            m_result.lines.append(line);
            return;
        }
        // Across a blank line the amount may be meant for the numbers above as well as below.
        for (qsizetype row : beforeBlank)
            refuse(row, ChatProblem::Ambiguous);
        if (hasEach(toks) && !hasLooseBaht(toks)) {
            m_amountLines = true;
            m_scope = AmountScope{true, !beforeBlank.isEmpty(), index, lr.parse, lr.ctx, m_ctx.heading, {}};
            if (m_scope.refused) {
                markRefused(line, ChatProblem::Ambiguous);
            } else {
                // Its type words head the lines below, as a line of type words alone would.
                Heading h = lr.ownHeading ? lr.ctx.heading : Heading{};
                for (const Amount& a : lr.parse.amounts)
                    h.kinds |= a.kinds;
                h.kinds |= lr.parse.lineKinds;
                if (h.set()) m_ctx.heading = h;
                line.kind = ChatLineKind::Heading;
            }
        } else {
            markRefused(line, beforeBlank.isEmpty() && !hasLooseBaht(toks) ? lr.parse.problem : ChatProblem::Ambiguous);
        }
        m_result.lines.append(line);
    }

    static void markRefused(ChatLine& line, ChatProblem problem)
    {
        line.kind = ChatLineKind::NotUnderstood;
        line.problem = problem;
        line.bets.clear();
    }

    ChatParse m_result;
    Context m_ctx;
    bool m_first = true;
    QList<Waiting> m_waiting;
    // Amounts of this block were written on lines of their own, so "56 78" in it is as likely two
    // numbers as 78 on 56.
    bool m_amountLines = false;
    QList<qsizetype> m_beforeBlank; // rows of numbers that the blank lines just read cut off
    AmountScope m_scope;
};

} // namespace

QList<ChatBet> ChatParse::bets() const
{
    QList<ChatBet> out;
    for (const ChatLine& l : lines)
        out += l.bets;
    return out;
}

QStringList ChatParse::notUnderstood() const
{
    QStringList out;
    for (const ChatLine& l : lines)
        if (l.kind == ChatLineKind::NotUnderstood) out << l.text;
    return out;
}

ChatParse parseChat(const QString& text, const QString& pickedType)
{
    MessageReader reader(pickedType);
    for (const QString& raw : splitLines(text))
        reader.read(raw);
    return reader.finish();
}

QString chatProblemText(ChatProblem problem)
{
    switch (problem) {
    case ChatProblem::None:
        return {};
    case ChatProblem::NoAmount:
        return ChatNoAmountText;
    case ChatProblem::Width:
        return ChatWidthText;
    case ChatProblem::NoType:
        return ChatNoTypeText;
    case ChatProblem::BadAmount:
        return ChatBadAmountText;
    case ChatProblem::UnknownWord:
        return ChatUnknownWordText;
    case ChatProblem::Shape:
        return ChatShapeText;
    case ChatProblem::Ambiguous:
        return ChatAmbiguousText;
    case ChatProblem::Unclear:
        return ChatUnclearText;
    case ChatProblem::DependsOnUnclear:
        return ChatDependsOnUnclearText;
    }
    return {};
}

} // namespace varnoth

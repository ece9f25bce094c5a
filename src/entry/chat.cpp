#include "entry/chat.h"

#include "entry/chattexts.h"
#include "entry/gates.h"
#include "model/text.h"
#include "model/types.h"

#include <QHash>

#include <optional>

namespace varnoth
{

namespace
{

// --- words --------------------------------------------------------------------------------------------

enum class Word {
    Top,
    Bottom,
    Straight,
    Tote,
    Run,
    Reverse,
    Gate,
    Sweep,
    Front,
    Back,
    Each,
    Digits,
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
        add(chatword::Tote, Word::Tote);
        add(chatword::Run, Word::Run);
        add(chatword::Reverse, Word::Reverse);
        add(chatword::Gate, Word::Gate);
        add(chatword::Sweep, Word::Sweep);
        add(chatword::Front, Word::Front);
        add(chatword::Back, Word::Back);
        add(chatword::Each, Word::Each);
        add(chatword::Digits, Word::Digits);
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
    bool glued = false; // nothing stood between this token and the one before
    qsizetype end = 0;  // position after the token in the normalised line
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
// plain forms, letters in lower case, control characters as blanks, invisible joiners gone.
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
        else if (u == 0x200B || u == 0x200C || u == 0x200D || u == 0x2060 || u == 0xFEFF)
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
                for (const auto& [text, word] : splitWords(run))
                    push(Tk::Word, text, j, word);
            }
            i = j;
        } else {
            switch (c.unicode()) {
            case u'=':
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
    int width = 0;     // "3ตัว": the numbers below have three digits
    QString exactType; // a type's own name as heading
    bool set() const { return kinds != 0 || width != 0 || !exactType.isEmpty(); }
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
        const unsigned k = kindOf(t.word);
        if (k == 0) return std::nullopt;
        h.kinds |= k;
        any = true;
    }
    if (!any) return std::nullopt;
    return h;
}

// --- bet lines ----------------------------------------------------------------------------------------

enum class SweepMode { None, Both, Front, Back };

struct Subject {
    QString digits;
    SweepMode sweep = SweepMode::None;
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
    unsigned lineKinds = 0;   // type words standing after the amounts ("12=50 ล่าง")
    bool numbersOnly = false; // nothing but numbers: may be the numbers of an amount line below
    QList<Subject> numbers;   // those numbers
    bool amountsOnly = false; // "ตัวละ 50", "=50", "บน50": the amount of the numbers above
    QList<Amount> amounts;    // that amount
};

enum class It { Num, Sweep, Amount, Strong, Pair, Dash };

struct Item {
    It kind;
    QString digits;
    unsigned kinds = 0;
    SweepMode sweep = SweepMode::None;
};

LineParse failed(ChatProblem p)
{
    LineParse r;
    r.problem = p;
    return r;
}

// The tokens of a bet line as numbers, amounts and signs; the words that qualify a whole line set
// its flags.
std::optional<QList<Item>> itemsOf(const QList<Token>& toks, qsizetype from, LineParse& r)
{
    QList<Item> items;
    unsigned pendingKinds = 0;
    for (qsizetype i = from; i < toks.size(); ++i) {
        const Token& t = toks[i];
        switch (t.kind) {
        case Tk::Num:
            if (pendingKinds) {
                items.append(Item{It::Amount, t.text, pendingKinds});
                pendingKinds = 0;
            } else {
                items.append(Item{It::Num, t.text});
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
            switch (t.word) {
            case Word::Filler:
                break;
            case Word::Unknown:
                r.problem = ChatProblem::UnknownWord;
                return std::nullopt;
            case Word::Reverse:
                r.reverse = true;
                break;
            case Word::Gate:
                if (items.isEmpty() || items.last().kind != It::Num || items.last().digits != u"19")
                    return std::nullopt;
                items.removeLast();
                r.gate19 = true;
                break;
            case Word::Sweep: {
                SweepMode mode = SweepMode::Both;
                qsizetype j = i + 1;
                if (j < toks.size() && toks[j].kind == Tk::Word && toks[j].word == Word::Front) mode = SweepMode::Front;
                if (j < toks.size() && toks[j].kind == Tk::Word && toks[j].word == Word::Back) mode = SweepMode::Back;
                if (mode != SweepMode::Both) ++j;
                if (j >= toks.size() || toks[j].kind != Tk::Num || toks[j].text.size() != 1) return std::nullopt;
                items.append(Item{It::Sweep, toks[j].text, 0, mode});
                i = j;
                break;
            }
            case Word::Each:
                items.append(Item{It::Strong, {}});
                break;
            case Word::Top:
            case Word::Bottom:
            case Word::Straight:
            case Word::Tote:
            case Word::Run: {
                // A type word glued after a plain number makes it an amount ("100บน"); otherwise it
                // names the amount after it ("บน100"), or, last on the line, the type of the line.
                const unsigned k = kindOf(t.word);
                // Glued on both sides ("ตรง50" in "123ตรง50"), it names the amount after it.
                const bool beforeNumber = i + 1 < toks.size() && toks[i + 1].kind == Tk::Num && toks[i + 1].glued;
                const bool afterNumber = t.glued && i > from && toks[i - 1].kind == Tk::Num && !beforeNumber;
                if (afterNumber && t.text == chatword::Top[1]) break; // "50บ": baht, not บน
                if (pendingKinds) {
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
    return Subject{item.digits, item.sweep};
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
        for (const Item& it : items) {
            const bool isStrong = it.kind == It::Strong || (it.kind == It::Dash && dashIsStrong);
            if (!inAmounts) {
                if (validSubject(it)) {
                    g.subjects.append(subjectOf(it));
                } else if (isStrong) {
                    inAmounts = true;
                } else if (it.kind == It::Pair) {
                    return failed(ChatProblem::Shape);
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
    for (const Item& it : items)
        r.numbers.append(subjectOf(it));
    r.numbersOnly = !items.isEmpty();
    if (items.size() == 2 && items[1].kind == It::Num) {
        r.groups.append(Group{{subjectOf(items[0])}, {Amount{items[1].digits}}});
        return r;
    }
    r.problem = ChatProblem::NoAmount;
    return r;
}

LineParse parseBetLine(const QList<Token>& toks, qsizetype from)
{
    LineParse r;
    const std::optional<QList<Item>> items = itemsOf(toks, from, r);
    if (!items) return failed(r.problem == ChatProblem::None ? ChatProblem::Shape : r.problem);
    if (items->isEmpty()) return failed(ChatProblem::NoAmount);
    if (r.gate19 && r.reverse) return failed(ChatProblem::Shape);
    return groupsOf(*items, r);
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
    case SweepMode::Both:
        return list(GatesContaining(s.digits, 2));
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
            for (const QString& n : numbers) {
                const int w = static_cast<int>(n.size());
                QList<std::pair<QString, QString>> targets; // type, amount
                if (pair) {
                    // Two plain amounts: straight and permutation on three digits, top and bottom
                    // on two or one, whatever the heading or the picked type.
                    const QString& context = h.exactType.isEmpty() ? ctx.picked : h.exactType;
                    const bool head = context == T3HeadStraight || context == T3HeadTote;
                    const QString first = w == 3 ? (head ? T3HeadStraight : T3Straight) : w == 2 ? T2Top : T1Top;
                    const QString second = w == 3 ? (head ? T3HeadTote : T3Tote) : w == 2 ? T2Bottom : T1Bottom;
                    targets = {{first, g.amounts[0].digits}, {second, g.amounts[1].digits}};
                } else {
                    for (const Amount& a : g.amounts) {
                        unsigned kinds = a.kinds ? a.kinds : p.lineKinds ? p.lineKinds : h.kinds;
                        if (kinds == 0 && a.kinds == 0 && p.lineKinds == 0) {
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
                        if (a.kinds == 0 && p.lineKinds == 0 && h.width && h.width != w) return ChatProblem::Width;
                        const QStringList types = typesOf(kinds, w);
                        if (types.isEmpty()) return ChatProblem::Width;
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
    return CleanName(name);
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
    name = CleanName(name);
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

// Lines of numbers waiting for the amount line below them.
struct Waiting {
    qsizetype line;
    LineParse parse;
    Context ctx;
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
    ChatParse result;
    Context ctx{{}, typeIndex(pickedType) >= 0 ? pickedType : QString()};
    bool first = true;
    QList<Waiting> waiting;
    const QStringList lines = splitLines(text);
    result.lines.reserve(lines.size());

    for (const QString& raw : lines) {
        ChatLine line;
        line.text = raw;
        const QString s = normalised(raw);
        const Tokens tokens = tokenize(s);
        const QList<Token>& toks = tokens.list;
        const qsizetype index = result.lines.size();

        if (isEmptyLine(toks)) {
            waiting.clear();
            result.lines.append(line);
            continue;
        }
        const bool wasFirst = first;
        first = false;

        // A type's own name as heading ("3ตัวตรง", "คู่โต๊ด"); only a short line can be one.
        const QString compact = s.size() <= 24 ? CleanName(s).remove(QLatin1Char(':')) : QString();
        if (!compact.isEmpty() && typeIndex(compact) >= 0) {
            ctx.heading = Heading{0, 0, compact};
            line.kind = ChatLineKind::Heading;
        } else if (const auto h = headingOf(toks, 0, toks.size())) {
            ctx.heading = *h;
            line.kind = ChatLineKind::Heading;
        } else if (const auto total = totalOf(toks)) {
            result.hasStatedTotal = true;
            result.statedTotal = *total;
            line.kind = ChatLineKind::Total;
        } else if (const auto name = wasFirst ? customerOf(s, toks) : std::nullopt) {
            result.customer = *name;
            line.kind = ChatLineKind::Customer;
        } else if (tokens.decimal) {
            line.kind = ChatLineKind::NotUnderstood;
            line.problem = ChatProblem::BadAmount;
        } else {
            LineParse p = parseBetLine(toks, 0);
            Context lineCtx = ctx;
            if (p.problem != ChatProblem::None && !(p.amountsOnly && !waiting.isEmpty()) && !toks.isEmpty()) {
                // "บน 12=50": type words before the numbers are the heading of this line alone.
                qsizetype end = 0;
                while (end < toks.size() &&
                       (toks[end].kind != Tk::Num || (end + 1 < toks.size() && toks[end + 1].word == Word::Digits &&
                                                      toks[end + 1].kind == Tk::Word)))
                    end += toks[end].kind == Tk::Num ? 2 : 1;
                for (qsizetype cut = std::min(end, toks.size()); cut > 0; --cut) {
                    const auto own = headingOf(toks, 0, cut);
                    if (!own) continue;
                    const LineParse again = parseBetLine(toks, cut);
                    if (again.problem == ChatProblem::None) {
                        p = again;
                        lineCtx.heading = *own;
                    }
                    break;
                }
            }
            if (p.amountsOnly && !waiting.isEmpty()) {
                // The amount of the numbers on the lines above: each of those lines gets its bets.
                bool ok = true;
                QList<QList<ChatBet>> found;
                for (const Waiting& w : waiting) {
                    LineParse numbers = w.parse;
                    numbers.groups = {Group{numbers.numbers, p.amounts}};
                    numbers.lineKinds = p.lineKinds;
                    QList<ChatBet> bets;
                    const ChatProblem problem = betsOf(numbers, w.ctx, bets);
                    if (problem != ChatProblem::None) {
                        line.problem = problem;
                        ok = false;
                        break;
                    }
                    found.append(bets);
                }
                // A failed amount line takes the numbers above with it: read alone, "12 34" would
                // be 34 on 12, which is not what a row of numbers over an amount means.
                for (qsizetype i = 0; i < waiting.size(); ++i) {
                    ChatLine& above = result.lines[waiting[i].line];
                    above.kind = ok ? ChatLineKind::Bets : ChatLineKind::NotUnderstood;
                    above.problem = ok ? ChatProblem::None : line.problem;
                    above.bets = ok ? found[i] : QList<ChatBet>{};
                }
                line.kind = ok ? ChatLineKind::Bets : ChatLineKind::NotUnderstood;
                waiting.clear();
                result.lines.append(line);
                continue;
            }
            if (p.problem == ChatProblem::None) {
                const ChatProblem problem = betsOf(p, lineCtx, line.bets);
                if (problem == ChatProblem::None) {
                    line.kind = ChatLineKind::Bets;
                } else {
                    line.bets.clear();
                    line.kind = ChatLineKind::NotUnderstood;
                    line.problem = problem;
                }
            } else {
                line.kind = ChatLineKind::NotUnderstood;
                line.problem = p.problem;
            }
            if (p.numbersOnly) {
                waiting.append(Waiting{index, p, lineCtx});
                result.lines.append(line);
                continue;
            }
        }
        waiting.clear();
        result.lines.append(line);
    }

    for (const ChatLine& l : result.lines)
        for (const ChatBet& b : l.bets)
            result.total += Val(b.amount);
    return result;
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
    }
    return {};
}

} // namespace varnoth

#include "entry/pictureread.h"

#include "entry/chattexts.h"

#include <QStringList>

#include <cstdlib>
#include <optional>

namespace varnoth
{

namespace
{

bool holdsDigit(const QString& text)
{
    for (QChar c : text)
        if (c.isDigit()) return true; // Thai digits are digits too
    return false;
}

bool isThai(QChar c)
{
    return c.unicode() >= 0x0E01 && c.unicode() <= 0x0E4E && !c.isDigit();
}

// "ลูกค้า แดง": the blank after the word that names the customer is where his name starts.
bool endsWithCustomerWord(const QString& text)
{
    for (const QString& word : chatword::Customer)
        if (text.endsWith(word)) return true;
    return false;
}

bool doubtfulSymbol(const PictureSymbol& s, const PictureDoubt& doubt)
{
    if (s.confidence < doubt.symbol) return true;
    // "๔" or "๕", "บ" or "ล": a close second reading changes the number, the amount or the type.
    for (const PictureSymbol::Choice& c : s.choices)
        if (c.text != s.text && c.confidence >= doubt.rival) return true;
    return false;
}

// A Thai letter or mark, alone or with its marks: never a digit, a sign or a Latin letter.
bool thaiLetters(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (!isThai(c)) return false;
    return true;
}

// A vowel or tone mark above or below a letter ("ุ", "ู", "ิ", "่"), alone.
bool thaiMark(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (!isThai(c) || c.category() != QChar::Mark_NonSpacing) return false;
    return true;
}

QString withoutMarks(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (c.category() != QChar::Mark_NonSpacing) out += c;
    return out;
}

// The least confidence at which a doubtful mark is still weighed against its rivals: below it, what
// the recogniser saw there is anyone's guess. A letter is weighed only when it was read sure and
// a rival makes it doubtful, and it is never changed: "45 ข100" with "บ" weighed stays red, for the
// customer may have written "ล", which the recogniser did not weigh.
constexpr float LeastWeighed = 50;
// At most this many doubtful letters and marks in a line are weighed, every choice of each with every
// choice of the others.
constexpr qsizetype MostWeighedLetters = 3;

// The one reading among `readings` of line `i` that the chat reader understands, when the others
// mean nothing there (not understood, or nothing to store) and give no other line other bets.
std::optional<QString> onlyMeaningfulReading(const QStringList& texts, qsizetype i, const QStringList& readings,
                                             const QString& pickedType)
{
    QList<ChatParse> parses;
    qsizetype meaningful = -1;
    for (qsizetype k = 0; k < readings.size(); ++k) {
        QStringList changed = texts;
        changed[i] = readings[k];
        parses << parseChat(changed.join(QLatin1Char('\n')), pickedType);
        if (parses[k].lines.size() != texts.size()) return std::nullopt;
        const ChatLineKind kind = parses[k].lines[i].kind;
        if (kind == ChatLineKind::NotUnderstood) continue;
        // A greeting holding a digit ("งวด 16/12") may be what was written: it is not nothing.
        if (kind == ChatLineKind::Empty && holdsDigit(readings[k])) return std::nullopt;
        if (kind == ChatLineKind::Empty) continue;
        // A name is never taken from a doubtful line, nor is a line that may have been one read.
        if (meaningful >= 0 || kind == ChatLineKind::Customer) return std::nullopt;
        meaningful = k;
    }
    if (meaningful < 0) return std::nullopt;
    for (qsizetype k = 0; k < readings.size(); ++k) {
        if (k == meaningful) continue;
        for (qsizetype j = 0; j < texts.size(); ++j) {
            const QList<ChatBet>& other = parses[k].lines[j].bets;
            if (j != i && !other.isEmpty() && other != parses[meaningful].lines[j].bets) return std::nullopt;
        }
    }
    return readings[meaningful];
}

// The headings a line might have been: the lines below it read otherwise under each of them.
const QString MaybeHeadings[] = {QStringLiteral("บน"),  QStringLiteral("ล่าง"),    QStringLiteral("ตรง"),
                                 QStringLiteral("โต๊ด"), QStringLiteral("วิ่ง"),     QStringLiteral("2ตัว"),
                                 QStringLiteral("3ตัว"), QStringLiteral("2ตัวล่าง"), QStringLiteral("3ตัวโต๊ด")};

// A heading misread may come out as a short line not understood ("2 ตัว" as "2 42"), as a short
// unknown word read as a greeting, or as another heading. A line
// with "=" or "*" in it was a bet.
bool mayBeHeading(const ChatLine& read, bool doubtful)
{
    const QString word = read.text.trimmed();
    if (word.contains(QLatin1Char('=')) || word.contains(QLatin1Char('*'))) return false;
    const bool oneShortWord =
        !word.isEmpty() && word.size() <= 8 && !word.contains(QLatin1Char(' ')) && !holdsDigit(word);
    switch (read.kind) {
    case ChatLineKind::NotUnderstood:
        return word.size() <= 12;
    case ChatLineKind::Heading:
        return doubtful;
    case ChatLineKind::Empty:
        return oneShortWord;
    default:
        return false; // a name on the first line is a name; when doubtful it names no customer
    }
}

// A misread keeps about the length of what was written, and its digits: "2 ตัว" may come out as
// "2 42", not as "พี่ต้อม".
bool mayHaveBeen(const QString& read, const QString& heading)
{
    QString compact = read;
    compact.remove(QLatin1Char(' '));
    if (std::abs(compact.size() - heading.size()) > 2) return false;
    return holdsDigit(heading) == holdsDigit(compact);
}

bool sameBets(const ChatLine& a, const ChatLine& b)
{
    return a.kind == b.kind && a.bets == b.bets;
}

void markDependents(PictureParse& p, const QStringList& texts, qsizetype i, const QString& instead,
                    const QString& pickedType, QList<bool>& taken)
{
    QStringList changed = texts;
    changed[i] = instead;
    const ChatParse other = parseChat(changed.join(QLatin1Char('\n')), pickedType);
    // (An empty last line is no line of the message: the other reading may be one short.)
    const bool matched = other.lines.size() + 1 >= texts.size();
    for (qsizetype j = 0; j < texts.size(); ++j) {
        if (j == i || taken[j] || p.chat.lines[j].bets.isEmpty()) continue;
        if (matched && j < other.lines.size() && sameBets(p.chat.lines[j], other.lines[j])) continue;
        p.doubts[j] = PictureLineDoubt::DependsOn;
        taken[j] = true;
    }
}

} // namespace

int PictureParse::doubtfulCount() const
{
    int n = 0;
    for (PictureLineDoubt d : doubts)
        if (d == PictureLineDoubt::Doubtful || d == PictureLineDoubt::DependsOn) ++n;
    return n;
}

QString pictureLineText(const PictureLine& line)
{
    // Thai is written without blanks between words, and the recogniser splits a run of it where it
    // likes ("โต ๊ ด"): two words are one where they (nearly) touch, or where the second begins with
    // a mark that belongs on the letter before it.
    QString text;
    for (qsizetype i = 0; i < line.words.size(); ++i) {
        const PictureWord& w = line.words[i];
        if (i > 0 && !w.text.isEmpty()) {
            const PictureWord& before = line.words[i - 1];
            const int gap = w.box.left() - before.box.right();
            const bool mark = w.text.front().category() == QChar::Mark_NonSpacing;
            // Between two Thai letters a blank means little to the reader ("ตัว ละ" is "ตัวละ"), and
            // the recogniser sees gaps inside words: only a wide one is kept.
            const bool thai = isThai(before.text.back()) && isThai(w.text.front());
            const bool blank = endsWithCustomerWord(text) || gap * (thai ? 20 : 3) > line.box.height() * (thai ? 9 : 1);
            if (!mark && blank) text += QLatin1Char(' ');
        }
        text += w.text;
    }
    return text;
}

bool isDoubtful(const PictureLine& line, const PictureDoubt& doubt)
{
    for (const PictureWord& w : line.words) {
        if (w.confidence < doubt.word) return true;
        for (const PictureSymbol& s : w.symbols)
            if (doubtfulSymbol(s, doubt)) return true;
    }
    return false;
}

QStringList possibleReadings(const PictureLine& line, const PictureDoubt& doubt)
{
    struct Place {
        qsizetype word;
        qsizetype symbol;
        QStringList options; // the one read first
    };
    QList<Place> places;
    for (qsizetype w = 0; w < line.words.size(); ++w) {
        const PictureWord& word = line.words[w];
        // The recogniser may make a word of a mark alone ("ู"), as unsure as the mark: a word less sure
        // than a word should be is weighed when it holds a doubtful letter that is, never below half.
        const qsizetype weighedBefore = places.size();
        if (word.confidence < LeastWeighed) return {};
        QString joined;
        for (const PictureSymbol& s : word.symbols)
            joined += s.text;
        if (joined != word.text) return {}; // the word is not its characters: nothing to put in their place
        for (qsizetype k = 0; k < word.symbols.size(); ++k) {
            const PictureSymbol& s = word.symbols[k];
            if (!doubtfulSymbol(s, doubt)) continue;
            if (!thaiLetters(s.text) || s.confidence < (thaiMark(s.text) ? LeastWeighed : doubt.symbol)) return {};
            QStringList options{s.text};
            for (const PictureSymbol::Choice& c : s.choices) {
                if (c.text == s.text || c.confidence < doubt.rival) continue;
                if (!thaiLetters(c.text)) return {}; // "ร" or "3": a digit is never guessed
                if (!options.contains(c.text)) options << c.text;
            }
            if (options.size() < 2) return {}; // unsure, but of nothing it named
            places.append({w, k, options});
        }
        if (word.confidence < doubt.word && places.size() == weighedBefore) return {};
    }
    if (places.isEmpty() || places.size() > MostWeighedLetters) return {};
    QStringList readings;
    QList<qsizetype> pick(places.size(), 0);
    for (;;) {
        PictureLine other = line;
        for (qsizetype p = 0; p < places.size(); ++p) {
            PictureWord& w = other.words[places[p].word];
            w.symbols[places[p].symbol].text = places[p].options[pick[p]];
            w.text.clear();
            for (const PictureSymbol& s : w.symbols)
                w.text += s.text;
        }
        const QString text = pictureLineText(other);
        if (!readings.contains(text)) readings << text;
        qsizetype p = 0;
        while (p < places.size() && ++pick[p] == places[p].options.size())
            pick[p++] = 0;
        if (p == places.size()) break;
    }
    return readings;
}

QList<PictureTextLine> pictureTextLines(const QList<PictureLine>& lines, const PictureDoubt& doubt)
{
    QList<PictureTextLine> out;
    out.reserve(lines.size());
    for (const PictureLine& line : lines) {
        const QString text = pictureLineText(line);
        if (text.trimmed().isEmpty()) continue; // a speck the recogniser took for a line
        PictureTextLine t{text, line.box, {}, isDoubtful(line, doubt), false, {}};
        if (t.doubtful) t.readings = possibleReadings(line, doubt);
        for (const PictureWord& w : line.words)
            t.wordBoxes << w.box;
        out << t;
    }
    return out;
}

PictureParse parsePicture(const QList<PictureTextLine>& lines, const QString& pickedType)
{
    QStringList texts;
    for (const PictureTextLine& l : lines)
        texts << l.text;
    PictureParse p;
    p.lines = lines;
    p.chat = parseChat(texts.join(QLatin1Char('\n')), pickedType);
    p.doubts.fill(PictureLineDoubt::None, lines.size());
    // parseChat gives one line per line of text; a line the recogniser made of several would be
    // counted twice, so the lines are matched one to one or not at all.
    if (p.chat.lines.size() != lines.size()) {
        p.chat = ChatParse{};
        return p;
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].typed) p.doubts[i] = PictureLineDoubt::Typed;

    // A doubt between Thai letters that only one reading makes sense of is no doubt.
    bool settled = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].doubtful || lines[i].typed || lines[i].readings.size() < 2) continue;
        const auto only = onlyMeaningfulReading(texts, i, lines[i].readings, pickedType);
        if (only && withoutMarks(*only) == withoutMarks(lines[i].readings.front())) {
            p.lines[i].text = texts[i] = *only;
            p.lines[i].doubtful = false;
            settled = true;
        }
    }
    if (settled) p.chat = parseChat(texts.join(QLatin1Char('\n')), pickedType);

    QList<bool> taken(lines.size(), false);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const PictureTextLine& line = p.lines[i];
        if (line.typed) continue;
        const ChatLine& read = p.chat.lines[i];
        // A doubtful greeting stays a greeting unless it holds a digit; a heading, a name, a total or
        // a bet read from doubtful characters is not read.
        if (line.doubtful && (read.kind != ChatLineKind::Empty || holdsDigit(read.text))) {
            p.doubts[i] = PictureLineDoubt::Doubtful;
            taken[i] = true;
        }
        // The lines whose bets rest on this one: those that change without it, and, when it may have
        // been a heading misread, those that read otherwise under a heading in its place ("7 บน 50"
        // is 07 under "2 ตัว", and a run of 7 without it).
        if (line.doubtful) markDependents(p, texts, i, QString(), pickedType, taken);
        if (mayBeHeading(read, line.doubtful))
            for (const QString& h : MaybeHeadings)
                if (mayHaveBeen(read.text, h)) markDependents(p, texts, i, h, pickedType, taken);
        // A line not understood may also have been the amount of the numbers around it ("ตัวละ 20"
        // read as "ตัวสละ 20" leaves "28 82" to read as 28 for 82 baht).
        if (read.kind == ChatLineKind::NotUnderstood && holdsDigit(read.text))
            markDependents(p, texts, i, QStringLiteral("ตัวละ 1"), pickedType, taken);
    }

    p.chat.total = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ChatLine& line = p.chat.lines[i];
        if (taken[i] && p.doubts[i] != PictureLineDoubt::None) {
            if (line.kind == ChatLineKind::Customer) p.chat.customer.clear();
            if (line.kind == ChatLineKind::Total) p.chat.hasStatedTotal = false;
            line.kind = ChatLineKind::NotUnderstood;
            line.problem =
                p.doubts[i] == PictureLineDoubt::Doubtful ? ChatProblem::Unclear : ChatProblem::DependsOnUnclear;
            line.bets.clear();
        }
        for (const ChatBet& b : line.bets)
            p.chat.total += b.amount.toDouble();
    }
    return p;
}

int pictureLineAt(const QList<PictureTextLine>& lines, const QPoint& point)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].box.contains(point)) return static_cast<int>(i);
    // Between two lines, the nearer one, when the point lies beside it.
    int best = -1;
    int bestDistance = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRect& b = lines[i].box;
        if (point.x() < b.left() - b.height() || point.x() > b.right() + b.height()) continue;
        const int d = point.y() < b.top() ? b.top() - point.y() : point.y() - b.bottom();
        if (d <= b.height() / 2 && (best < 0 || d < bestDistance)) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

} // namespace varnoth

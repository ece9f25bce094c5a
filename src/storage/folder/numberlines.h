#pragma once
// The lines of a number file (stake, count and send-out files): "number-amount", each followed by
// CR LF. A bare LF (a file saved by another editor) also ends a line, and the last line may have no
// line end. Every figure of the book reads these files through this one reader, so that a line
// means the same to the totals, the reports, the exposure map and the backup.
//
// The files are windows-874. Nearly every line is plain ASCII and is handed over as the file's own
// bytes; any other line is decoded first. A byte of 0x80 or above never decodes to "-", "#" or a
// digit, so both forms of a line have their fields in the same places.

#include "core/model/codepage874.h"
#include "core/model/text.h"

#include <QByteArrayView>
#include <QStringView>

#include <utility>

namespace varnoth
{

// One line without its line end, with its fields. `View` is QByteArrayView for a line of plain ASCII
// and QStringView for a decoded one.
template <class View> struct NumberLine {
    View line;
    qsizetype dash = -1; // the first "-", -1 when there is none
    bool hash = false;   // the line holds "#", which no working list can carry

    static NumberLine of(View line)
    {
        NumberLine l{line};
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i] == u'-') {
                if (l.dash < 0) l.dash = i;
            } else if (line[i] == u'#') {
                l.hash = true;
            }
        }
        return l;
    }

    bool hasDash() const { return dash >= 0; }
    // A line that gives a number file its width: digits before its first "-", blanks around them
    // left aside. An empty line, a line of blanks or a word line above it does not count.
    bool isNumberLine() const
    {
        if (dash < 0) return false;
        const View n = number();
        if (n.isEmpty()) return false;
        for (qsizetype i = 0; i < n.size(); ++i)
            if (n[i] < u'0' || n[i] > u'9') return false;
        return true;
    }
    // The text before the first "-" as it stands (the whole line when there is none).
    View beforeDash() const { return dash < 0 ? line : line.first(dash); }
    // The number: the text before the first "-" without the blanks (spaces, tabs) around it.
    View number() const { return trimmedNumber(beforeDash()); }
    // Everything after the first "-" (the whole line when there is none).
    View rest() const { return dash < 0 ? line : line.sliced(dash + 1); }
    // The amount: the text after the first "-" up to a second one.
    View amount() const
    {
        const View r = rest();
        for (qsizetype i = 0; i < r.size(); ++i)
            if (r[i] == u'-') return r.first(i);
        return r;
    }

private:
    static View trimmedNumber(View v)
    {
        const auto blank = [](auto c) { return c == u' ' || c == u'\t'; };
        while (!v.isEmpty() && blank(v.front()))
            v = v.sliced(1);
        while (!v.isEmpty() && blank(v.back()))
            v.chop(1);
        return v;
    }
};

using ByteLine = NumberLine<QByteArrayView>;
using TextLine = NumberLine<QStringView>;

// Calls `f` with every non-empty line of a number file's bytes, in order: a ByteLine for a line of
// plain ASCII, a TextLine (valid during the call only) for any other. `f` is usually a generic
// lambda, so that each caller keeps its own accumulation for both forms.
template <class F> void forEachNumberLine(QByteArrayView bytes, F&& f)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        // One pass over the line finds its end, its first "-", any "#" and any byte beyond ASCII.
        const char* const start = p;
        qsizetype dash = -1;
        bool hash = false;
        bool ascii = true;
        for (; p < end && *p != '\n'; ++p) {
            if (*p == '-') {
                if (dash < 0) dash = p - start;
            } else if (*p == '#') {
                hash = true;
            } else if (static_cast<unsigned char>(*p) >= 0x80) {
                ascii = false;
            }
        }
        const char* lineEnd = p;
        if (p < end) ++p;
        if (lineEnd > start && lineEnd[-1] == '\r') --lineEnd;
        if (lineEnd == start) continue;
        if (ascii) {
            ByteLine line{QByteArrayView(start, lineEnd - start), dash, hash};
            f(std::as_const(line));
        } else {
            const QString decoded = cp874::decode(QByteArrayView(start, lineEnd - start));
            f(TextLine::of(QStringView(decoded)));
        }
    }
}

// The same for the text of a number file already decoded: every line is a TextLine.
template <class F> void forEachNumberLine(QStringView text, F&& f)
{
    const QChar* p = text.data();
    const QChar* const end = p + text.size();
    while (p < end) {
        const QChar* const start = p;
        qsizetype dash = -1;
        bool hash = false;
        for (; p < end && *p != QLatin1Char('\n'); ++p) {
            if (*p == QLatin1Char('-')) {
                if (dash < 0) dash = p - start;
            } else if (*p == QLatin1Char('#')) {
                hash = true;
            }
        }
        const QChar* lineEnd = p;
        if (p < end) ++p;
        if (lineEnd > start && lineEnd[-1] == QLatin1Char('\r')) --lineEnd;
        if (lineEnd == start) continue;
        const TextLine line{QStringView(start, lineEnd), dash, hash};
        f(line);
    }
}

} // namespace varnoth

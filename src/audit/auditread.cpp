#include "audit/auditread.h"

#include "accounts/drawhistory.h"
#include "audit/audittexts.h"
#include "entry/totals.h"
#include "storage/folder/safefile.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <array>
#include <limits>

namespace varnoth
{

namespace
{

using Fields = std::array<QByteArrayView, AuditFieldCount>;

// The fields of a line without unescaping them; false when it has not the right number.
bool splitFields(QByteArrayView line, Fields& fields)
{
    qsizetype start = 0;
    for (int i = 0; i < AuditFieldCount; ++i) {
        const qsizetype tab = i + 1 < AuditFieldCount ? line.indexOf('\t', start) : line.size();
        if (tab < 0) return false;
        fields[i] = line.sliced(start, tab - start);
        start = tab + 1;
    }
    return !fields[AuditFieldCount - 1].contains('\t');
}

// A filter value as it stands in the file.
QByteArray escapedField(const QString& value)
{
    QByteArray out = value.toUtf8();
    out.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n");
    return out;
}

QByteArray timeText(const QDateTime& when)
{
    return QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
}

double amountOf(QByteArrayView field)
{
    bool ok = false;
    const double v = field.toDouble(&ok);
    return ok ? v : 0;
}

} // namespace

bool AuditIndex::load(const QString& path)
{
    m_file.close();
    m_copy.clear();
    m_view = {};
    m_starts.clear();
    m_partialEnd = false;
    m_file.setFileName(path);
    // The log is read as it stands: a link in its place is not followed (it is not this book's log),
    // and a pipe is not waited on; either is a log that cannot be read.
    FileKind kind = FileKind::Missing;
    const bool opened = openRegularForRead(m_file, path, &kind);
    m_exists = kind != FileKind::Missing;
    if (!m_exists) return true;
    if (!opened) return false;
    const qint64 size = m_file.size();
    if (size > 0) {
        if (uchar* map = m_file.map(0, size)) {
            m_view = QByteArrayView(reinterpret_cast<const char*>(map), size);
        } else {
            m_copy = m_file.readAll();
            if (m_file.error() != QFileDevice::NoError) return false;
            m_view = m_copy;
        }
    }
    m_starts.reserve(static_cast<size_t>(size / 120 + 1));
    const char* begin = m_view.data();
    const char* end = begin + m_view.size();
    for (const char* p = begin; p < end;) {
        m_starts.push_back(p - begin);
        const void* nl = memchr(p, '\n', static_cast<size_t>(end - p));
        if (!nl) {
            m_partialEnd = true;
            break;
        }
        p = static_cast<const char*>(nl) + 1;
    }
    return true;
}

QByteArrayView AuditIndex::line(qint64 i) const
{
    if (i < 0 || i >= lineCount()) return {};
    const qint64 start = m_starts[static_cast<size_t>(i)];
    const qint64 next = i + 1 < lineCount() ? m_starts[static_cast<size_t>(i + 1)] : m_view.size();
    QByteArrayView l = m_view.sliced(start, next - start);
    if (l.endsWith('\n')) l.chop(1);
    if (l.endsWith('\r')) l.chop(1);
    return l;
}

bool AuditIndex::record(qint64 i, AuditRecord& r) const
{
    const QByteArrayView l = line(i);
    if (parseAuditLine(l, r)) return true;
    r = AuditRecord();
    r.action = AuditAction::Break;
    r.actionKey = auditActionKey(AuditAction::Break);
    r.detail = QString::fromUtf8(l);
    return false;
}

AuditVerification verifyAudit(const AuditIndex& index, const std::atomic_bool* cancel, const AuditKey& key)
{
    AuditVerification v;
    v.lines = index.lineCount();
    QByteArray previous = AuditChainStart;
    bool previousRead = true;
    bool keyed = false; // a keyed line was seen: every later line must be keyed too
    for (qint64 i = 0; i < v.lines; ++i) {
        if (cancel && (i & 0xfff) == 0 && cancel->load()) break;
        const QByteArrayView l = index.line(i);
        auto broken = [&](const QString& reason) {
            if (v.firstBroken == 0) {
                v.firstBroken = i + 1;
                v.reason = reason;
            }
        };
        Fields f;
        if (!splitFields(l, f) || (f[11].size() != 64 && !(f[11].size() == 73 && f[11][8] == ':'))) {
            broken(i + 1 == v.lines && index.partialEnd() ? AuditPartialLineText : AuditUnreadableLineText);
            previousRead = false;
            continue;
        }
        const bool isPlain = f[11].size() == 64;
        const bool isBreak = f[3] == "break";
        if (isBreak) {
            v.breaks.push_back(i + 1);
            if (f[10].startsWith(AuditAnchorBreakText.toUtf8())) v.anchorBreaks.push_back(i + 1);
        }
        const QByteArray expectedPrevious = isBreak ? AuditChainStart : previous;
        const QByteArrayView content = l.first(l.size() - f[11].size() - 1);
        const QByteArrayView hash = f[11].last(64);
        if (isPlain) {
            if (keyed)
                broken(AuditUnkeyedAfterKeyedText);
            else
                ++v.unkeyedLines;
        }
        keyed = keyed || !isPlain;
        const bool ours = !isPlain && key.isValid() && f[11].first(8) == key.id;
        if (!isPlain && !ours) ++v.otherKeyLines;
        if (ours) ++v.ownKeyLines;
        // A line after one that could not be read has nothing to be checked against.
        if ((previousRead || isBreak) && (isPlain || ours)) {
            const QByteArray expected =
                isPlain ? auditHash(expectedPrevious, content) : auditKeyedHash(key, expectedPrevious, content);
            if (expected != hash) broken(AuditWrongHashText);
        }
        previous = hash.toByteArray();
        previousRead = true;
    }
    return v;
}

AnchorMatch matchAuditAnchor(const AuditIndex& index, const AuditAnchor& anchor)
{
    if (anchor.lines == 0) return index.lineCount() == 0 ? AnchorMatch::Same : AnchorMatch::Longer;
    if (index.lineCount() < anchor.lines) return AnchorMatch::Shorter;
    const QByteArrayView l = index.line(anchor.lines - 1);
    const qsizetype tab = l.lastIndexOf('\t');
    if (tab < 0 || l.sliced(tab + 1) != anchor.head) return AnchorMatch::Different;
    return index.lineCount() == anchor.lines ? AnchorMatch::Same : AnchorMatch::Longer;
}

void checkAuditAnchor(AuditVerification& v, const AuditIndex& index, const QString& anchorPath)
{
    if (anchorPath.isEmpty()) return;
    v.anchorLooked = true;
    v.anchor = readAuditAnchor(anchorPath, &v.anchorDamaged);
    if (v.anchor) v.anchorMatch = matchAuditAnchor(index, *v.anchor);
}

bool auditLogMissing(const AuditIndex& index, Store& store)
{
    if (index.lineCount() > 0) return false;
    return !listPastDraws(store).isEmpty() || bookTotals(store).count > 0;
}

QStringList verificationLines(const AuditVerification& v)
{
    QStringList lines;
    if (v.anchorDamaged) lines << AuditAnchorDamagedText;
    if (v.anchor && v.anchorMatch == AnchorMatch::Shorter)
        lines << AuditAnchorShorterText.arg(v.anchor->lines).arg(v.lines);
    if (v.anchor && v.anchorMatch == AnchorMatch::Different) lines << AuditAnchorDifferentText.arg(v.anchor->lines);
    if (v.missing) return lines << AuditMissingLogText;
    if (v.lines == 0) return lines << AuditNoLogText;
    if (v.firstBroken == 0 && !v.anchorFailed())
        lines.prepend(AuditChainOkText);
    else if (v.firstBroken > 0)
        lines.prepend(AuditChainBrokenText + QString::number(v.firstBroken) + QStringLiteral(" (") + v.reason +
                      QLatin1Char(')'));
    for (qint64 b : v.breaks)
        lines << AuditBreakRecordedText + QString::number(b);
    if (v.unkeyedLines > 0 && v.unkeyedLines < v.lines) lines << AuditUnkeyedPartText.arg(v.unkeyedLines);
    if (v.unkeyedLines > 0 && v.unkeyedLines == v.lines) lines << AuditUnkeyedAllText;
    if (v.otherKeyLines > 0) lines << AuditOtherKeyText.arg(v.otherKeyLines);
    // This computer keyed lines of the log, yet keeps no anchor of it: removed, or the book was moved.
    if (v.anchorLooked && !v.anchor && !v.anchorDamaged && v.ownKeyLines > 0) lines << AuditNoAnchorText;
    return lines;
}

bool changesStake(AuditAction action)
{
    switch (action) {
    case AuditAction::Bet:
    case AuditAction::Sheet:
    case AuditAction::ChatPaste:
    case AuditAction::Edit:
    case AuditAction::Delete:
    case AuditAction::TakeBack:
    case AuditAction::DoAgain:
        return true;
    default:
        return false;
    }
}

bool keyedAfterResult(const AuditRecord& r)
{
    const bool bet =
        r.action == AuditAction::Bet || r.action == AuditAction::Sheet || r.action == AuditAction::ChatPaste;
    // The mark may be followed by where the bets were read ("จากรูป sha256:...").
    return bet && (r.detail == AuditAfterResultText || r.detail.startsWith(AuditAfterResultText + QLatin1Char(' ')));
}

double auditStakeChange(const AuditRecord& r)
{
    if (!changesStake(r.action)) return 0;
    return amountOf(r.after.toLatin1()) - amountOf(r.before.toLatin1());
}

AuditSelection selectAudit(const AuditIndex& index, const AuditFilter& filter)
{
    const QByteArray customer = escapedField(filter.customer);
    const QByteArray type = escapedField(filter.type);
    const QByteArray number = escapedField(filter.number);
    const QByteArray action =
        filter.action >= 0 ? auditActionKey(static_cast<AuditAction>(filter.action)).toLatin1() : QByteArray();
    const QByteArray since = filter.since.isValid() ? timeText(filter.since) : QByteArray();
    const QByteArray until = filter.until.isValid() ? timeText(filter.until) : QByteArray();
    const QByteArray entry = filter.entry > 0 ? QByteArray::number(filter.entry) : QByteArray();
    const QByteArray lateMark = escapedField(AuditAfterResultText);
    const auto isLate = [&](QByteArrayView detail) {
        return detail == lateMark ||
               (detail.startsWith(lateMark) && detail.size() > lateMark.size() && detail[lateMark.size()] == ' ');
    };
    const QByteArray betKeys[] = {auditActionKey(AuditAction::Bet).toLatin1(),
                                  auditActionKey(AuditAction::Sheet).toLatin1(),
                                  auditActionKey(AuditAction::ChatPaste).toLatin1()};
    const auto isBet = [&](QByteArrayView key) {
        return std::find(std::begin(betKeys), std::end(betKeys), key) != std::end(betKeys);
    };

    AuditSelection s;
    std::vector<double> stake;
    // The stake of each type, customer and number so far. Every line of a number counts, also those
    // the choices leave out, so that a line shows what its number held after it.
    QHash<QByteArray, double> stakes;
    const double none = std::numeric_limits<double>::quiet_NaN();
    // The names of the actions that change a stake, as the file spells them.
    std::vector<QByteArray> stakeActions;
    for (int a = 0; a < AuditActionCount; ++a)
        if (changesStake(static_cast<AuditAction>(a)))
            stakeActions.push_back(auditActionKey(static_cast<AuditAction>(a)).toLatin1());
    QByteArray key; // reused from line to line: only a key seen for the first time is kept
    const qint64 count = index.lineCount();
    for (qint64 i = 0; i < count; ++i) {
        Fields f;
        if (!splitFields(index.line(i), f)) {
            // A damaged line is shown when nothing narrows the list, so that it can be seen.
            const bool narrowed = !customer.isEmpty() || !type.isEmpty() || !number.isEmpty() || !action.isEmpty() ||
                                  !since.isEmpty() || !until.isEmpty() || !entry.isEmpty() || filter.afterResult;
            if (!narrowed) {
                s.rows.push_back(i);
                stake.push_back(none);
            }
            continue;
        }
        double after = none;
        const bool changes = !f[6].isEmpty() && std::any_of(stakeActions.cbegin(), stakeActions.cend(),
                                                            [&](const QByteArray& k) { return f[3] == k; });
        if (changes) {
            key.resize(0);
            key.append(f[4]).append('\t').append(f[5]).append('\t').append(f[6]);
            auto it = stakes.find(key);
            if (it == stakes.end()) it = stakes.insert(key, 0.0);
            *it += amountOf(f[8]) - amountOf(f[7]);
            after = *it;
        }
        if (!customer.isEmpty() && f[5] != customer) continue;
        if (!type.isEmpty() && f[4] != type) continue;
        if (!number.isEmpty() && f[6] != number) continue;
        if (!entry.isEmpty() && f[9] != entry) continue;
        if (!since.isEmpty() && f[0] < QByteArrayView(since)) continue;
        if (!until.isEmpty() && f[0] > QByteArrayView(until)) continue;
        if (!action.isEmpty() && f[3] != action) continue;
        if (filter.afterResult && (!isLate(f[10]) || !isBet(f[3]))) continue;
        s.rows.push_back(i);
        stake.push_back(after);
    }
    std::reverse(s.rows.begin(), s.rows.end());
    std::reverse(stake.begin(), stake.end());
    s.running = std::move(stake);
    return s;
}

QString auditActionName(AuditAction action)
{
    return AuditActionNames.value(static_cast<int>(action));
}

QString auditShownField(const QString& field)
{
    // Line and paragraph separators break lines too, and a direction control turns the rest of a
    // terminal's line around, so that one field could be read as another.
    const auto plain = [](QChar c) {
        const char16_t u = c.unicode();
        const bool bidi =
            u == 0x061c || u == 0x200e || u == 0x200f || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069);
        return u != u'\\' && !bidi && c.category() != QChar::Other_Control && u != 0x2028 && u != 0x2029;
    };
    if (std::all_of(field.cbegin(), field.cend(), plain)) return field;
    QString out;
    out.reserve(field.size() + 8);
    for (QChar c : field) {
        if (plain(c)) {
            out += c;
            continue;
        }
        switch (c.unicode()) {
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        default:
            if (c.unicode() < 0x80)
                out += QLatin1String("\\x") + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += QLatin1String("\\u") + QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return out;
}

QString auditDisplayLine(const AuditRecord& r)
{
    const QString action = r.actionKey == auditActionKey(r.action) ? auditActionName(r.action) : r.actionKey;
    QStringList fields{r.time,   r.user,  r.operatorName,           action,  r.type, r.customer, r.number,
                       r.before, r.after, QString::number(r.entry), r.detail};
    for (QString& field : fields)
        field = auditShownField(field);
    return fields.join(QLatin1Char('\t'));
}

} // namespace varnoth

#include "accounts/billseal.h"

#include "accounts/drawhistory.h"
#include "accounts/exporttexts.h"
#include "core/model/text.h"
#include "storage/folder/store.h"

#include <QCryptographicHash>
#include <QSet>

namespace varnoth
{

namespace
{

// Letters and digits that cannot be taken for each other when read off paper or a phone.
constexpr char Alphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int GroupSize = 4;
constexpr int DigestBits = 20; // four letters of the alphabet

QString base32(quint64 value, int letters)
{
    QString out(letters, QLatin1Char('0'));
    for (int i = letters - 1; i >= 0; --i, value >>= 5)
        out[i] = QLatin1Char(Alphabet[value & 31]);
    return out;
}

int letterValue(QChar c)
{
    const char* found = std::char_traits<char>::find(Alphabet, 32, static_cast<char>(c.unicode()));
    return c.unicode() < 128 && found ? static_cast<int>(found - Alphabet) : -1;
}

QByteArray sealPrefix(const AuditHead& head, const QString& customer)
{
    return "seal\n" + head.hash + '\n' + QByteArray::number(head.lines) + '\n' + customer.toUtf8();
}

quint32 digest(const QByteArray& text)
{
    const QByteArray sum = QCryptographicHash::hash(text, QCryptographicHash::Sha256);
    const quint32 top = (quint32(uchar(sum[0])) << 16) | (quint32(uchar(sum[1])) << 8) | uchar(sum[2]);
    return top >> (24 - DigestBits);
}

QByteArray figure(double value)
{
    return QByteArray::number(qRound64(value * 100));
}

// The figures of a statement, in an order that never depends on how the bill is laid out.
QByteArray figuresOf(const Statement& s)
{
    QByteArray out;
    for (const BillType& t : s.bill.types) {
        out += t.type.toUtf8() + '\t' + figure(t.stake) + '\t' + figure(t.discount) + '\t' + figure(t.net) + '\t' +
               figure(t.prize) + '\n';
        for (const BillWin& w : t.wins)
            out += w.number.toUtf8() + '\t' + figure(w.stake) + '\t' + w.terms.rate.toUtf8() + '\t' +
                   QByteArray::number(w.terms.percent) + '\t' + figure(w.prize) + '\n';
    }
    out += figure(s.carried) + '\t' + figure(s.paid) + '\n';
    for (const Payment& p : s.payments)
        out += p.when.toString(Qt::ISODate).toLatin1() + '\t' + figure(p.amount) + '\t' +
               p.reverses.toString(Qt::ISODate).toLatin1() + '\n';
    for (const QString& problem : s.problems)
        out += problem.toUtf8() + '\n';
    return out;
}

quint32 whoDigest(const AuditHead& head, const QString& customer)
{
    return digest(sealPrefix(head, customer));
}

quint32 whatDigest(const AuditHead& head, const Statement& s)
{
    return digest(sealPrefix(head, s.bill.customer) + '\n' + figuresOf(s));
}

// Lines with no customer that may move every bill.
bool touchesEveryBill(AuditAction action)
{
    switch (action) {
    case AuditAction::Restore:
    case AuditAction::Setting:
    case AuditAction::Rule:
    case AuditAction::NewDraw:
    case AuditAction::Break:
    case AuditAction::TakeBack:
    case AuditAction::DoAgain:
        return true;
    default:
        return false;
    }
}

QString changeLine(const AuditRecord& r)
{
    QString line = r.customer.isEmpty() ? SealWholeBookText : QString();
    line += r.time + QLatin1Char(' ') + auditActionName(r.action);
    for (const QString& field : {r.type, r.number})
        if (!field.isEmpty()) line += QLatin1Char(' ') + auditShownField(field);
    if (!r.before.isEmpty()) line += QLatin1Char(' ') + auditShownField(r.before) + QStringLiteral(" >");
    if (!r.after.isEmpty()) line += QLatin1Char(' ') + auditShownField(r.after);
    if (!r.detail.isEmpty()) line += QLatin1Char(' ') + auditShownField(r.detail);
    return line;
}

SealCheck finished(SealCheck check, const QString& line)
{
    check.lines.prepend(line);
    return check;
}

} // namespace

AuditHead auditHeadAt(const AuditIndex& index, qint64 lines)
{
    AuditHead head;
    head.lines = lines;
    if (lines <= 0) return head;
    AuditRecord r;
    const QByteArrayView line = index.line(lines - 1);
    const QByteArrayView text = line.endsWith('\r') ? line.chopped(1) : line;
    // A damaged line still pins the head: its bytes stand for it.
    head.hash = parseAuditLine(text, r) ? r.hash : QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
    return head;
}

AuditHead auditHead(const AuditIndex& index)
{
    return auditHeadAt(index, index.lineCount() - (index.partialEnd() ? 1 : 0));
}

QString billSeal(const AuditHead& head, const Statement& statement)
{
    const quint64 lines = static_cast<quint64>(std::max<qint64>(0, head.lines));
    int letters = GroupSize;
    while (letters < 13 && (lines >> (5 * letters)) != 0)
        letters += GroupSize;
    const QString position = base32(lines, letters);
    QStringList groups;
    for (int i = 0; i < letters; i += GroupSize)
        groups << position.mid(i, GroupSize);
    groups << base32(whoDigest(head, statement.bill.customer), GroupSize)
           << base32(whatDigest(head, statement), GroupSize);
    return groups.join(QLatin1Char('-'));
}

QStringList sealedBillLines(const Statement& statement, const AuditHead& head, const QString& drawLabel,
                            const BillLayout& layout)
{
    QStringList lines = billLines(statement, drawLabel, layout);
    lines << SealLineText + billSeal(head, statement);
    return lines;
}

QString sealOfLines(const QStringList& lines)
{
    return !lines.isEmpty() && lines.last().startsWith(SealLineText) ? lines.last().mid(SealLineText.size())
                                                                     : QString();
}

bool parseSeal(const QString& typed, SealCode& code)
{
    QString text;
    for (QChar c : typed) {
        if (c.isSpace()) continue;
        c = c.toUpper();
        if (c == QLatin1Char('O')) c = QLatin1Char('0');
        if (c == QLatin1Char('I') || c == QLatin1Char('L')) c = QLatin1Char('1');
        text += c;
    }
    const QStringList groups = text.split(QLatin1Char('-'));
    if (groups.size() < 3 || groups.size() > 5) return false;
    quint64 values[5] = {};
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (groups[g].size() != GroupSize) return false;
        for (QChar c : groups[g]) {
            const int v = letterValue(c);
            if (v < 0) return false;
            values[g] = (values[g] << 5) | static_cast<quint64>(v);
        }
    }
    quint64 lines = 0;
    for (qsizetype g = 0; g + 2 < groups.size(); ++g)
        lines = (lines << (5 * GroupSize)) | values[g];
    if (lines > quint64(std::numeric_limits<qint64>::max())) return false;
    code.lines = static_cast<qint64>(lines);
    code.who = static_cast<quint32>(values[groups.size() - 2]);
    code.what = static_cast<quint32>(values[groups.size() - 1]);
    return true;
}

SealCheck checkBillSeal(Store& store, const AuditIndex& index, const QString& typed, const AuditKey& key)
{
    using Verdict = SealCheck::Verdict;
    SealCheck check;
    SealCode code;
    if (!parseSeal(typed, code)) return finished(check, SealMalformedText + typed.trimmed());
    check.sealedAt = code.lines;
    const AuditHead now = auditHead(index);
    if (code.lines > now.lines) {
        check.verdict = Verdict::LogShort;
        return finished(check, SealLogShortText + typed.trimmed());
    }
    const AuditVerification v = verifyAudit(index, nullptr, key);
    if (v.firstBroken > 0) {
        check.verdict = Verdict::LogBroken;
        return finished(check, SealLogBrokenText + QString::number(v.firstBroken));
    }

    // Whose bill it was: a customer of the book, or one the log names (he may have gone since).
    const AuditHead then = auditHeadAt(index, code.lines);
    QStringList candidates = store.customers();
    QSet<QString> seen(candidates.begin(), candidates.end());
    for (qint64 i = 0; i < now.lines; ++i) {
        AuditRecord r;
        if (index.record(i, r) && !r.customer.isEmpty() && !seen.contains(r.customer)) {
            seen.insert(r.customer);
            candidates << r.customer;
        }
    }
    for (const QString& customer : std::as_const(candidates))
        if (whoDigest(then, customer) == code.who) {
            check.customer = customer;
            break;
        }
    if (check.customer.isEmpty()) {
        check.verdict = Verdict::NotFound;
        return finished(check, SealNotFoundText + typed.trimmed());
    }

    for (qint64 i = code.lines; i < now.lines; ++i) {
        AuditRecord r;
        index.record(i, r);
        if (r.customer == check.customer || (r.customer.isEmpty() && touchesEveryBill(r.action))) {
            check.changes.push_back(i);
            check.lines << changeLine(r);
        }
    }
    const QString whose = SealOfText + check.customer;
    if (!check.changes.empty()) {
        check.verdict = Verdict::Changed;
        return finished(check, SealChangedText + QString::number(check.changes.size()) + SealChangesCountText + whose);
    }
    const QList<Statement> statements = statementsFor(store, store, check.customer);
    const bool same = !statements.isEmpty() && whatDigest(then, statements.first()) == code.what;
    check.verdict = same ? Verdict::Unchanged : Verdict::Unlogged;
    return finished(check, (same ? SealUnchangedText : SealUnloggedText) + whose);
}

} // namespace varnoth

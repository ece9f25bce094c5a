// The audit log as a hand edit or a damaged disk may leave it: reading, checking, replaying against
// the book and selecting it never fail, and opening it for the next line never changes or cuts what it
// held, keyed or not.
#include "audit/auditread.h"
#include "audit/recheck.h"
#include "audit/replay.h"
#include "fuzzsupport.h"

#include <QFile>

using namespace varnoth;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 50000) return 0;
    fuzz::Book& b = fuzz::book();
    const QString path = b.store->path(AuditLogFileName);
    const QByteArray content = fuzz::bytes(data, size);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) std::abort();
        f.write(content);
    }
    // The first byte says whether this run writes with a key.
    const AuditKey key = size > 0 && (data[0] & 1) ? auditKeyOf(QByteArray(32, 'k')) : AuditKey();
    readAuditTail(path, 64, key);
    {
        AuditIndex index;
        if (!index.load(path)) std::abort();
        const AuditVerification v = verifyAudit(index, nullptr, key);
        verificationLines(v);
        if (v.lines > 0) matchAuditAnchor(index, AuditAnchor{v.lines, 0, QByteArray(64, 'a')});
        const AuditReplay replay = replayAudit(index, *b.store);
        if (replay.failed() != (replay.differenceCount > 0)) std::abort();
        if (replay.differences.size() > ReplayShownDifferences) std::abort();
        replayLines(replay);
        AuditFilter filter;
        filter.customer = QStringLiteral("somchai");
        filter.number = QStringLiteral("12");
        const AuditSelection s = selectAudit(index, filter);
        if (!s.running.empty() && s.running.size() != s.rows.size()) std::abort();
        for (qint64 row : selectAudit(index, {}).rows) {
            AuditRecord r;
            index.record(row, r);
            auditDisplayLine(r);
        }
        entryBets(index, newestEntryOf(index, QStringLiteral("somchai")), QStringLiteral("somchai"));
    }
    AuditWriter writer;
    if (!writer.open(path, QStringLiteral("u"), QStringLiteral("o"), key)) std::abort();
    writer.append({AuditAction::Bet,
                   QStringLiteral("2ตัวบน"),
                   QStringLiteral("somchai"),
                   QStringLiteral("12"),
                   {},
                   QStringLiteral("5"),
                   {}},
                  writer.nextEntry());
    writer.close();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray after = f.readAll();
    if (!after.startsWith(content) || !after.endsWith("\r\n")) std::abort();
    // After the damage is recorded the end of the log is whole and chained again.
    const AuditTail tail = readAuditTail(path, 64 * 1024, key);
    if (!tail.wholeLine || !tail.lastLineOk) std::abort();
    if (writer.anchor() != currentAuditHead(path)) std::abort();
    QFile::remove(path);
    return 0;
}

#include "storage/folder/foldertransaction.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/intent.h"
#include "storage/folder/safefile.h"
#include "storage/folder/store.h"

#include <QDebug>
#include <QRegularExpression>

namespace varnoth
{

namespace
{
FolderTransaction::StepHook stepHook = nullptr;

void step(int filesWritten)
{
    if (stepHook) stepHook(filesWritten);
}
} // namespace

void FolderTransaction::setStepHookForTesting(StepHook hook)
{
    stepHook = hook;
}

QString settingFileName(BookSetting setting)
{
    switch (setting) {
    case BookSetting::Limit:
        return QStringLiteral("lotto2.gif");
    case BookSetting::Result:
        return QStringLiteral("lotto3.gif");
    case BookSetting::Rate:
        return QStringLiteral("lotto4.gif");
    case BookSetting::NumberCut:
        return QStringLiteral("lotto6.gif");
    case BookSetting::Discount:
        return QStringLiteral("lotto7.gif");
    case BookSetting::DigitCut:
        return QStringLiteral("lotto8.gif");
    case BookSetting::History:
        return QStringLiteral("his.gif");
    case BookSetting::Options:
        return QStringLiteral("option.gif");
    case BookSetting::Rules:
        return QStringLiteral("rules.gif");
    case BookSetting::OwnRates:
        return QStringLiteral("custrate.gif");
    case BookSetting::Payments:
        return QStringLiteral("payment.gif");
    }
    return {};
}

Changes changesOfFile(const QString& name, const QString& customerList)
{
    static const QRegularExpression stake(QStringLiteral("^(\\d+)_(\\d+)\\.gif$"));
    static const QRegularExpression typeFile(QStringLiteral("^(?:a-|b)_(\\d+)\\.gif$"));
    Changes c;
    const QStringList& types = typeNames();
    if (const auto m = stake.match(name); m.hasMatch()) {
        const int t = m.captured(1).toInt();
        const int place = m.captured(2).toInt();
        if (t < types.size()) c.types << types[t];
        for (const auto& [customer, places] : Store::customerPlacesByName(customerList))
            if (places.contains(place)) c.customers << customer;
        return c;
    }
    if (const auto m = typeFile.match(name); m.hasMatch()) {
        const int t = m.captured(1).toInt();
        if (t < types.size()) c.types << types[t];
        return c;
    }
    if (name == Store::CustomerFileName) {
        c.customerList = true;
        return c;
    }
    for (int s = 0; s < BookSettingCount; ++s)
        if (name == settingFileName(static_cast<BookSetting>(s))) c.addSetting(static_cast<BookSetting>(s));
    return c;
}

FolderTransaction::FolderTransaction(Store& store) : m_store(store) {}

void FolderTransaction::problem(Status status, const QString& path)
{
    m_problems << Outcome{status, path};
}

NumberFile* FolderTransaction::numberFile(const QString& path)
{
    auto it = m_numbers.find(path);
    if (it != m_numbers.end()) return &it.value();
    if (auto whole = m_files.constFind(path); whole != m_files.constEnd() && whole->has_value()) {
        // A file given a whole text and then changed line by line: the lines change that text.
        it = m_numbers.insert(path, NumberFile::fromText(decodeWindows874(**whole)));
        m_files.remove(path);
    } else {
        NumberFile f(m_store, path);
        if (!f.ok()) {
            problem(Status::ReadFailed, path);
            return nullptr;
        }
        it = m_numbers.insert(path, f);
        m_order << path;
    }
    return &it.value();
}

void FolderTransaction::addStake(const QString& type, const QString& customer, const QString& number, double delta)
{
    const QString path = m_store.StakeFilePath(type, customer);
    NumberFile* f = path.isEmpty() ? nullptr : numberFile(path);
    if (path.isEmpty() || (f && !f->add(number, delta))) problem(Status::WriteFailed, path.isEmpty() ? type : path);
    m_changes.types << type;
    m_changes.customers << customer;
}

void FolderTransaction::setStake(const QString& type, const QString& customer, const QString& number,
                                 const QString& amount)
{
    const QString path = m_store.StakeFilePath(type, customer);
    NumberFile* f = path.isEmpty() ? nullptr : numberFile(path);
    if (path.isEmpty() || (f && !f->set(number, amount))) problem(Status::WriteFailed, path.isEmpty() ? type : path);
    m_changes.types << type;
    m_changes.customers << customer;
}

void FolderTransaction::addCount(const QString& type, const QString& number, double n)
{
    const QString path = m_store.TypeFilePath(type, Store::CountPrefix);
    NumberFile* f = path.isEmpty() ? nullptr : numberFile(path);
    if (path.isEmpty() || (f && !f->add(number, n))) problem(Status::WriteFailed, path.isEmpty() ? type : path);
    m_changes.types << type;
}

void FolderTransaction::addSendOut(const QString& type, const QString& number, double amount)
{
    const QString path = m_store.TypeFilePath(type, Store::SendOutPrefix);
    NumberFile* f = path.isEmpty() ? nullptr : numberFile(path);
    if (path.isEmpty() || (f && !f->add(number, amount))) problem(Status::WriteFailed, path.isEmpty() ? type : path);
    m_changes.types << type;
}

void FolderTransaction::setSettingLines(BookSetting setting, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + CRLF;
    replaceFile(m_store.path(settingFileName(setting)), text);
}

void FolderTransaction::replaceFile(const QString& path, const QString& text)
{
    replaceBytes(path, encodeWindows874(text));
}

void FolderTransaction::replaceBytes(const QString& path, const QByteArray& bytes)
{
    if (m_numbers.remove(path) == 0 && !m_files.contains(path)) m_order << path;
    m_files.insert(path, bytes);
}

void FolderTransaction::removeFile(const QString& path)
{
    if (m_numbers.remove(path) == 0 && !m_files.contains(path)) m_order << path;
    m_files.insert(path, std::nullopt);
}

namespace
{
struct Pending {
    QString path;
    QByteArray before; // the bytes as they stand
    bool existed = false;
    QByteArray after;
    bool remove = false; // the file goes
};

// Puts the files already written back to their bytes before and removes the intent record. When a
// file cannot be put back, the record is turned around (its files' bytes after become the bytes
// before), so that the next open finishes putting them back rather than completing the save;
// false when the book could not be left as it was.
bool putBack(Store& store, const QList<Pending>& pending, qsizetype written)
{
    QList<IntentFile> reversed;
    bool whole = true;
    for (qsizetype i = 0; i < written; ++i) {
        const Pending& p = pending[i];
        const bool ok = p.existed ? store.writeBytes(p.path, p.before) : store.removeFile(p.path);
        whole = whole && ok;
        reversed << IntentFile{Store::fileName(p.path), p.remove ? QByteArray() : intentFingerprint(p.after), p.before,
                               !p.existed};
    }
    if (pending.size() <= 1) return whole;
    if (whole) {
        closeIntent(store);
        return true;
    }
    return writeIntent(store, intentBytes(reversed));
}
} // namespace

CommitResult FolderTransaction::commit()
{
    CommitResult r;
    const auto finish = [this, &r](const QList<Outcome>& failed) {
        r.failed = failed;
        if (!failed.isEmpty()) r.outcome = failed.first();
        m_order.clear();
        m_numbers.clear();
        m_files.clear();
        m_problems.clear();
        m_changes = {};
        return r;
    };
    m_stamps.clear();
    if (!m_problems.isEmpty()) return finish(m_problems);

    QList<Pending> pending;
    for (const QString& path : std::as_const(m_order)) {
        QByteArray after;
        bool remove = false;
        if (auto n = m_numbers.constFind(path); n != m_numbers.constEnd()) {
            if (!n->changed()) continue;
            after = encodeWindows874(n->text() + CRLF); // as WriteWholeFile writes it
        } else if (const std::optional<QByteArray>& whole = m_files[path]) {
            after = *whole;
        } else {
            remove = true;
        }
        const FileBytes now = m_store.readBytes(path);
        // Never written over with less: a file that cannot be read stays as it is. A link, folder or
        // pipe in the file's place is not ours to replace: the write fails.
        if (now.exists && !now.readable)
            return finish({{mayReplace(fileKind(path)) ? Status::ReadFailed : Status::WriteFailed, path}});
        if (remove && !now.exists) continue;
        pending << Pending{path, now.bytes, now.exists, after, remove};
    }

    // A save that the last open could not finish (or put back) is finished first: its record must not
    // be written over, and its files may be among these.
    const QString intentPath = m_store.path(IntentFileName);
    if (!pending.isEmpty() && saveInterrupted(m_store)) return finish({{Status::WriteFailed, intentPath}});
    // One file is replaced atomically as it stands; more need the intent record first.
    if (pending.size() > 1) {
        QList<IntentFile> intent;
        for (const Pending& p : std::as_const(pending))
            intent << IntentFile{Store::fileName(p.path), p.existed ? intentFingerprint(p.before) : QByteArray(),
                                 p.after, p.remove};
        // The operator knows the book's files, not the record: the save failed at its first file
        // (the support log names the record).
        if (!writeIntent(m_store, intentBytes(intent))) return finish({{Status::WriteFailed, pending.first().path}});
        step(0);
    }

    QStringList written;
    for (const Pending& p : std::as_const(pending)) {
        QByteArray stamp;
        if (!(p.remove ? m_store.removeFile(p.path) : m_store.writeBytes(p.path, p.after, &stamp))) {
            QList<Outcome> failed{{Status::WriteFailed, p.path}};
            if (!putBack(m_store, pending, written.size())) failed << Outcome{Status::WriteFailed, intentPath};
            return finish(failed);
        }
        m_stamps.insert(p.path, stamp);
        written << p.path;
        step(static_cast<int>(written.size()));
    }
    if (pending.size() > 1) closeIntent(m_store);

    r.changes = m_changes;
    // A file given a whole text says what it changed by its name.
    bool replaced = false;
    for (const Pending& p : std::as_const(pending))
        replaced = replaced || m_files.contains(p.path);
    if (replaced) {
        const QString list = m_store.customerListText();
        for (const Pending& p : std::as_const(pending))
            if (m_files.contains(p.path)) r.changes.merge(changesOfFile(Store::fileName(p.path), list));
    }
    return finish({});
}

} // namespace varnoth

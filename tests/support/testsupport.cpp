#include "testsupport.h"

#include "audit/auditlog.h"

#include "storage/folder/intent.h"
#include "storage/folder/numberfile.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace varnoth::test
{

TempBook::TempBook()
{
    QDir().mkpath(folder());
    store = std::make_unique<Store>(folder());
}

QByteArray TempBook::bytes(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QString TempBook::text(const QString& name) const
{
    return decodeWindows874(bytes(name));
}

void TempBook::put(const QString& name, const QString& text) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(cp874(text));
}

void TempBook::stake(const QString& type, const QString& customer, const QString& number, double amount)
{
    QVERIFY(store->creationSequence(customer).isEmpty());
    NumberFile file(*store, store->StakeFilePath(type, customer));
    QVERIFY(file.add(number, amount));
    QVERIFY(file.save(*store));
}

QHash<QString, QByteArray> folderBytes(const QString& folder)
{
    QHash<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        // The audit log grows with every change by design; a "before" and "after" compare the book.
        // The record of the last save of several files says how that save went, not what the book holds.
        if (name == AuditLogFileName || name == IntentFileName) continue;
        QFile f(QDir(folder).filePath(name));
        if (f.open(QIODevice::ReadOnly)) files.insert(name, f.readAll());
    }
    return files;
}

QByteArray cp874(const QString& text)
{
    return encodeWindows874(text);
}

} // namespace varnoth::test

#pragma once
// A temporary book for the settlement tests: customers with stakes, settings lines and the count
// files, written the way the ledger writes them.

#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QMap>
#include <QTest>

namespace varnoth::test
{

struct SettlementBook : TempBook {
    // Adds the amounts to the customer's stake file of the type (creating the customer's files).
    void stake(const QString& type, const QString& customer, const QMap<QString, double>& amounts)
    {
        QVERIFY(store->creationSequence(customer).isEmpty());
        NumberFile file(*store, store->StakeFilePath(type, customer));
        for (auto it = amounts.begin(); it != amounts.end(); ++it)
            QVERIFY(file.add(it.key(), it.value()));
        QVERIFY(file.save(*store));
    }
    void stake(const QString& type, const QString& customer, const QString& number, double amount)
    {
        stake(type, customer, QMap<QString, double>{{number, amount}});
    }
    // Writes a settings file from "type#value" lines, as the settings window saves it.
    void settings(const QString& path, const QStringList& lines)
    {
        QVERIFY(store->WriteWholeFile(path, lines.isEmpty() ? QString() : lines.join("\r\n") + "\r\n"));
    }
};

} // namespace varnoth::test

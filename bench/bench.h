#pragma once
// The benchmark's operations: each one times a real operation of the ledger and names the files
// it must read and change, from which the I/O floor of the same run is measured.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace varnoth
{
class Store;
}

namespace varnoth::bench
{

struct Context {
    QString folder;  // the book's data folder
    QString scratch; // a folder beside it for backups and other files outside the book
    Store* store = nullptr;
    QStringList customers;
    int serial = 0; // counts runs, for content that must differ from run to run
};

struct Operation {
    QString name;
    // Prepares a run (not timed), e.g. makes a backup to restore. May be empty.
    std::function<void(Context&)> prepare;
    // The timed operation. Returns a figure that proves it did its work (lines, bets, bytes).
    std::function<qint64(Context&)> run;
    // The files the operation must read, and those it must change (written once, atomically).
    std::function<QStringList(Context&)> reads;
    std::function<QStringList(Context&)> writes;
    // The files the operation must delete. May be empty.
    std::function<QStringList(Context&)> removes;
    // True when the operation must list the data folder once (to learn which files exist). A store
    // that has listed the folder before follows its changes without listing it again.
    bool listsFolder = false;
    // True when a run changes the book so much that the next run needs a fresh book.
    bool destroysBook = false;
};

std::vector<Operation> operations();

// Every stake file of the book, every count file, every send-out file.
QStringList stakeFiles(Context& ctx);
QStringList typeFiles(Context& ctx, const QString& prefix);

} // namespace varnoth::bench

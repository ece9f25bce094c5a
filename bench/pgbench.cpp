// The server book's speed on a local PostgreSQL server: one bet's latency (median and 99th
// percentile) and four seats' bets per second on 50 shared numbers; with a cluster of its own, also
// moving the benchmark's book of 200 customers in (--import-book) and out again (--export-book).
// Starts a cluster of its own in a temporary folder, as the tests do, or uses the server given as
// `--conninfo STRING`.
#include "core/model/types.h"
#include "bookmaker.h"
#include "pgcluster.h"
#include "storage/pg/bookcopy.h"
#include "storage/pg/pgbookstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace varnoth;

namespace
{

const QString Top2 = QStringLiteral("2ตัวบน");

double percentile(std::vector<double> ms, double p)
{
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, size_t(p * double(ms.size())))];
}

// One slip of one bet: its stake and its count, stored under the seat's entry id.
bool bet(PgBookStore& book, const QString& id, const QString& customer, const QString& number)
{
    auto tx = book.beginEntry(id);
    tx->addStake(Top2, customer, number, 10);
    tx->addCount(Top2, number, 1);
    return tx->commit().ok();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    std::unique_ptr<test::PgCluster> cluster;
    QString conninfo;
    if (const qsizetype at = args.indexOf("--conninfo"); at > 0 && at + 1 < args.size()) {
        conninfo = args[at + 1];
    } else {
        cluster = std::make_unique<test::PgCluster>();
        if (!cluster->started() || !cluster->createDatabase("bench")) {
            std::fprintf(stderr, "no test server: %s\n", qPrintable(cluster->why()));
            return 1;
        }
        conninfo = cluster->conninfo("bench");
    }
    QString error;
    auto book = PgBookStore::open(conninfo, &error);
    if (!book) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString run = QString::number(QDateTime::currentMSecsSinceEpoch());
    for (int c = 0; c < 4; ++c)
        book->addCustomer(QStringLiteral("seat%1").arg(c));
    const QStringList& numbers = NumberSet(Top2);

    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < 2000; ++i) {
        t.start();
        if (!bet(*book, run + "-one-" + QString::number(i), "seat0", numbers[i % 50])) {
            std::fprintf(stderr, "a bet failed: %s\n", qPrintable(book->lastError()));
            return 1;
        }
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("server book, one bet (2000 bets, one seat): median %.3f ms, 99th percentile %.3f ms\n",
                percentile(ms, 0.5), percentile(ms, 0.99));

    std::atomic<bool> stop = false;
    std::atomic<int> failed = 0;
    std::vector<std::vector<double>> seatMs(4);
    std::vector<std::thread> seats;
    for (int s = 0; s < 4; ++s)
        seats.emplace_back([&, s] {
            QString why;
            auto own = PgBookStore::open(conninfo, &why);
            if (!own) {
                ++failed;
                return;
            }
            QElapsedTimer each;
            for (int i = 0; !stop; ++i) {
                each.start();
                if (!bet(*own, QStringLiteral("%1-seat%2-%3").arg(run).arg(s).arg(i), QStringLiteral("seat%1").arg(s),
                         numbers[(i * 7 + s) % 50]))
                    ++failed;
                seatMs[s].push_back(double(each.nsecsElapsed()) / 1e6);
            }
        });
    QElapsedTimer wall;
    wall.start();
    QThread::sleep(5);
    stop = true;
    for (auto& seat : seats)
        seat.join();
    std::vector<double> all;
    for (const auto& v : seatMs)
        all.insert(all.end(), v.begin(), v.end());
    std::printf("server book, four seats on 50 shared numbers: %.0f bets per second, 99th percentile %.3f ms, "
                "%d failed\n",
                double(all.size()) / (double(wall.elapsed()) / 1000), percentile(all, 0.99), int(failed));
    if (failed != 0) return 1;

    // A whole book in and out goes only into an empty server book: one of this cluster's own.
    if (!cluster) return 0;
    QTemporaryDir folder, out;
    if (!folder.isValid() || !out.isValid() || !cluster->createDatabase("move")) return 1;
    bench::makeBook(folder.path(), {200});
    auto target = PgBookStore::open(cluster->conninfo("move"), &error);
    if (!target) return 1;
    QElapsedTimer moved;
    moved.start();
    const BookCopyResult in = importFolderBook(folder.path(), *target);
    const double inSeconds = double(moved.elapsed()) / 1000;
    moved.start();
    const BookCopyResult back = in.ok() ? exportServerBook(*target, out.path() + "/book") : in;
    const double outSeconds = double(moved.elapsed()) / 1000;
    if (!in.ok() || !back.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable((in.ok() ? back : in).lines.join('\n')));
        return 1;
    }
    std::printf("server book, the benchmark's book of 200 customers: import %.2f s, export %.2f s\n", inSeconds,
                outSeconds);
    return 0;
}

// The benchmark: builds a book in a temporary folder and times every operation against the I/O floor
// measured in the same run (reading once every file the operation must read and atomically writing
// once every file it must change, with plain QFile and QSaveFile).

#include "bench.h"
#include "bookmaker.h"

#include "storage/folder/store.h"

#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::bench;

namespace
{

struct Figures {
    double median = 0, min = 0, max = 0, floor = 0;
};

// A field of the CSV file: quoted, with its quotes doubled, when it holds a comma, a quote or a line
// end ("one bet, 1,000 rules" is one field, not three).
QString csvField(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct FloorWork {
    QString folder;
    bool listsFolder = false;
    QStringList reads, writes, removes;
};

double ioFloor(const FloorWork& w)
{
    // Each file is written beside itself, over a copy of itself in the same folder, not over itself:
    // a file the floor replaced would be a change made by another program, which the next run would
    // have to read again. The book stays the operation's alone, and the floor replaces a file of the
    // same size, as the operation does.
    QStringList copies;
    for (const QString& p : w.writes) {
        copies << p + QStringLiteral(".floor");
        QFile::remove(copies.last());
        QFile::copy(p, copies.last());
    }
    ::sync();

    QElapsedTimer t;
    t.start();
    if (w.listsFolder) {
        qint64 sizes = 0;
        QDirIterator it(w.folder, QDir::Files | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            it.next();
            sizes += it.fileInfo().size();
        }
        Q_UNUSED(sizes);
    }
    // Only what is written back is kept: the floor must not hold a whole book in memory, or the
    // peak memory printed below would be the floor's rather than the operations'.
    const QSet<QString> written(w.writes.begin(), w.writes.end());
    QHash<QString, QByteArray> contents;
    qint64 bytesRead = 0;
    for (const QString& p : w.reads) {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly)) continue;
        QByteArray bytes = f.readAll();
        bytesRead += bytes.size();
        if (written.contains(p)) contents.insert(p, std::move(bytes));
    }
    Q_UNUSED(bytesRead);
    for (const QString& p : w.writes) {
        QByteArray bytes = contents.value(p);
        if (bytes.isEmpty()) {
            QFile f(p);
            if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
        }
        QSaveFile s(p + QStringLiteral(".floor"));
        if (s.open(QIODevice::WriteOnly)) {
            s.write(bytes);
            s.commit();
        }
    }
    for (const QString& p : w.removes)
        QFile::remove(p);
    const double ms = t.nsecsElapsed() / 1e6;
    for (const QString& p : copies)
        QFile::remove(p);
    return ms;
}

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

int main(int argc, char* argv[])
{
    // The bills are drawn into a PDF, which needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Varnoth benchmark"));
    parser.addHelpOption();
    QCommandLineOption customersOpt(QStringLiteral("customers"), QStringLiteral("Customers in the book (default 200)."),
                                    QStringLiteral("N"), QStringLiteral("200"));
    QCommandLineOption runsOpt(QStringLiteral("runs"), QStringLiteral("Runs per operation (default 5)."),
                               QStringLiteral("N"), QStringLiteral("5"));
    QCommandLineOption csvOpt(QStringLiteral("csv"), QStringLiteral("Also write the figures as CSV to FILE."),
                              QStringLiteral("FILE"));
    QCommandLineOption quickOpt(QStringLiteral("quick"),
                                QStringLiteral("A handful of customers and one run (for CTest)."));
    QCommandLineOption onlyOpt(QStringLiteral("only"),
                               QStringLiteral("Run only the operations whose name contains TEXT."),
                               QStringLiteral("TEXT"));
    parser.addOptions({customersOpt, runsOpt, csvOpt, quickOpt, onlyOpt});
    parser.process(app);

    const bool quick = parser.isSet(quickOpt);
    const int customers = quick ? 3 : std::max(1, parser.value(customersOpt).toInt());
    const int runs = quick ? 1 : std::max(1, parser.value(runsOpt).toInt());

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const QString folder = dir.path() + QStringLiteral("/book");
    auto freshBook = [&](Context& ctx, std::unique_ptr<Store>& store) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        ctx.customers = makeBook(folder, BookSize{customers});
        // The book goes to the disk before anything is timed, not while an operation runs.
        ::sync();
        store = std::make_unique<Store>(folder);
        ctx.folder = folder;
        ctx.scratch = dir.path() + QStringLiteral("/scratch");
        QDir().mkpath(ctx.scratch);
        ctx.store = store.get();
    };

    Context ctx;
    std::unique_ptr<Store> store;
    freshBook(ctx, store);

    QTextStream out(stdout);
    out << "Book: " << customers << " customers, " << runs << " runs per operation\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("operation"), -26)
               .arg(QStringLiteral("median ms"), 10)
               .arg(QStringLiteral("min ms"), 9)
               .arg(QStringLiteral("max ms"), 9)
               .arg(QStringLiteral("floor ms"), 9)
               .arg(QStringLiteral("ratio"), 7);
    QStringList csv{QStringLiteral("operation,customers,median_ms,min_ms,max_ms,floor_ms,ratio")};
    int failures = 0;
    for (const Operation& op : operations()) {
        if (parser.isSet(onlyOpt) && !op.name.contains(parser.value(onlyOpt))) continue;
        std::vector<double> times, floors;
        qint64 proof = 0;
        for (int r = 0; r < runs; ++r) {
            ++ctx.serial;
            if (op.prepare) op.prepare(ctx);
            FloorWork work{ctx.folder, op.listsFolder, op.reads(ctx), op.writes(ctx),
                           op.removes ? op.removes(ctx) : QStringList()};
            // What the preparation or the last run left for the disk is written out first, so
            // that neither the operation nor its floor pays for it.
            ::sync();
            QElapsedTimer t;
            t.start();
            proof = op.run(ctx);
            times.push_back(t.nsecsElapsed() / 1e6);
            if (op.destroysBook) freshBook(ctx, store);
            ::sync();
            floors.push_back(ioFloor(work));
            // The floor deleted files of the book: the next run needs it whole again.
            if (!work.removes.isEmpty()) freshBook(ctx, store);
        }
        if (proof <= 0) {
            ++failures;
            std::fprintf(stderr, "%s did no work\n", qPrintable(op.name));
        }
        Figures f{medianOf(times), *std::min_element(times.begin(), times.end()),
                  *std::max_element(times.begin(), times.end()), medianOf(floors)};
        const double ratio = f.floor > 0 ? f.median / f.floor : 0;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(op.name, -26)
                   .arg(f.median, 10, 'f', 2)
                   .arg(f.min, 9, 'f', 2)
                   .arg(f.max, 9, 'f', 2)
                   .arg(f.floor, 9, 'f', 2)
                   .arg(ratio, 7, 'f', 2);
        out.flush();
        csv << QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
                   .arg(csvField(op.name))
                   .arg(customers)
                   .arg(f.median, 0, 'f', 3)
                   .arg(f.min, 0, 'f', 3)
                   .arg(f.max, 0, 'f', 3)
                   .arg(f.floor, 0, 'f', 3)
                   .arg(ratio, 0, 'f', 3);
    }
    out << "peak resident memory: " << peakKb() / 1024 << " MB\n";
    if (parser.isSet(csvOpt)) {
        QSaveFile f(parser.value(csvOpt));
        const QByteArray bytes = (csv.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(parser.value(csvOpt)));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

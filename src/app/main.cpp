// The program: options, the data folder and its lock, then the main window, or one batch job
// without any window.
#include "app/Ledger.h"
#include "app/batch.h"
#include "app/library.h"
#include "app/librarytexts.h"
#include "app/platform.h"
#include "core/model/nametexts.h"
#include "core/model/types.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/main/windowtexts.h"
#include "gui/users/PinDialog.h"
#include "gui/users/SeatControl.h"
#include "settings/options.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/logfile.h"
#include "storage/folder/store.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

using namespace varnoth;

namespace
{

const QString ProgramName = QStringLiteral("varnoth");

void printLines(std::FILE* stream, const QStringList& lines)
{
    for (const QString& line : lines) {
        const QByteArray bytes = line.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
        std::fputc('\n', stream);
    }
    std::fflush(stream);
}

int refuse(const QString& text, bool gui)
{
    printLines(stderr, {ProgramName + QStringLiteral(": ") + text});
    if (gui) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Varnoth"), text);
        box.addButton(OkButtonText, QMessageBox::AcceptRole);
        box.exec();
    }
    return BatchRefused;
}

int usageError(const QString& text)
{
    printLines(stderr, {ProgramName + QStringLiteral(": ") + text,
                        QStringLiteral("Try '") + ProgramName + QStringLiteral(" --help' for the options.")});
    return BatchUsageError;
}

} // namespace

int main(int argc, char* argv[])
{
    limitRecognizerThreads(argv);
    QCoreApplication::setApplicationName(QStringLiteral("Varnoth"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNOTH_VERSION));
    prepareStandardStreams();

    // The command line is read before any application object exists: a batch job must run where
    // there is no display at all.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Varnoth: a ledger for Thai lottery bets.\n"
                       "Without a job option the main window opens. With one, the job runs without a window,\n"
                       "prints the lines the main list would show and exits: 0 when it ran, 1 when it was\n"
                       "refused or a file could not be written or read, 2 for a usage error."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption dataOption(QStringLiteral("data-folder"),
                                        QStringLiteral("Keep the data in DIR instead of picture_1 beside the program."),
                                        QStringLiteral("DIR"));
    parser.addOption(dataOption);
    const QCommandLineOption operatorOption(
        QStringLiteral("operator"),
        QStringLiteral("Who keys in this run, for the audit log (by default the book's setting, else the user name)."),
        QStringLiteral("NAME"));
    parser.addOption(operatorOption);
    addBatchOptions(parser);
    const bool parsed = parser.parse(commandLineArguments(argc, argv));
    const BatchRequest request = parsed ? batchRequest(parser) : BatchRequest{};
    // The parser offers --help-all beside --help; both only print the options.
    const bool help = parsed && (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")));
    const bool batch = request.batch || !parsed || help || parser.isSet(versionOption);

    std::unique_ptr<QCoreApplication> app;
    if (batch && request.usageError.isEmpty() && batchNeedsGui(request.options)) {
        // Bill pictures and PDF files need fonts, not a screen: the windowless platform serves.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else if (batch)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    if (!parsed) return usageError(parser.errorText());
    // Printed here rather than by the parser, which shows a message box instead on Windows when
    // it does not recognise the console (a pipe under wine).
    if (help) {
        printLines(stdout, {parser.helpText().chopped(1)});
        return 0;
    }
    if (parser.isSet(versionOption)) {
        printLines(stdout, {QCoreApplication::applicationName() + QLatin1Char(' ') + QStringLiteral(VARNOTH_VERSION)});
        return 0;
    }
    if (!request.argumentsTaken && !parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());
    if (!request.usageError.isEmpty()) return usageError(request.usageError);

    const bool gui = !batch;
    if (parser.isSet(operatorOption))
        if (const QString refusal = operatorNameRefusal(parser.value(operatorOption).trimmed()); !refusal.isEmpty())
            return refuse(refusal, gui);
    const QString folder = chooseDataFolder(QCoreApplication::applicationDirPath(), parser.value(dataOption),
                                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // What the run keeps between reports: made before the book, ended after it.
    ReportState batchState;
    Session session;
    // The window opens the book --book names (a folder as "folder:PATH"); a batch job takes --book
    // only as the server side of a move, and runs on the data folder.
    const QString bookOption = QStringLiteral("book");
    const bool namedBook = !batch && parser.isSet(bookOption);
    if (namedBook && parser.isSet(dataOption)) return usageError(QStringLiteral("--book and --data-folder name two books"));
    OpenedBook opened = Library::open(namedBook ? parser.value(bookOption) : Library::folderId(folder));
    switch (opened.status) {
    case OpenStatus::Opened:
        break;
    case OpenStatus::CodecMissing:
        return refuse(CodecMissingText, gui);
    case OpenStatus::UnknownKind:
        return refuse(BookKindUnknownText + opened.where, gui);
    case OpenStatus::FolderUnusable:
        return refuse(FolderUnusableText + QDir::toNativeSeparators(opened.where), gui);
    case OpenStatus::AlreadyOpen: {
        QString text = AlreadyRunningText;
        if (batch)
            text += QStringLiteral(" (another copy of the program has the data folder ") +
                    QDir::toNativeSeparators(opened.where) + QStringLiteral(" open; close it and run the job again)");
        return refuse(text, gui);
    }
    }
    Book& book = *opened.book;

    // The support log lives beside the data folder, so that a new draw's copy never carries it.
    QDir parent(book.folder());
    if (parent.cdUp()) installLog(parent.path());

    Store& store = book.store();
    // A customer list edited by hand may hold a name twice: his stakes are counted together, and he
    // is told so before anything else. The list itself is left as it stands.
    QStringList listedTwice;
    for (const QString& name : store.customersListedTwice())
        listedTwice << NameListedTwiceText + name;
    if (batch) {
        Ledger& ledger = book.start(batchState);
        if (parser.isSet(operatorOption)) ledger.setOperatorName(parser.value(operatorOption));
        // Said before the job's own lines: the book the job runs on is the one the start left.
        QStringList started;
        for (const QString& line : ledger.startLines())
            started << ProgramName + QStringLiteral(": ") + line;
        printLines(stderr, started);
        const BatchResult result = runBatch(ledger, request.options);
        printLines(stdout, result.out);
        QStringList errors;
        for (const QString& line : listedTwice)
            errors << ProgramName + QStringLiteral(": ") + line;
        bool storedRefused = false;
        storedOperatorName(store, &storedRefused);
        if (storedRefused && !parser.isSet(operatorOption))
            errors << ProgramName + QStringLiteral(": ") + StoredOperatorRefusedText;
        for (const QString& line : result.err)
            errors << ProgramName + QStringLiteral(": ") + line;
        printLines(stderr, errors);
        return result.exitCode;
    }

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/varnoth.png")));
    useThaiFonts();
    Ledger& ledger = book.start(session);
    Form1 window(ledger, session);
    if (parser.isSet(operatorOption))
        window.ledger().setOperatorName(parser.value(operatorOption));
    else if (bool storedRefused = false; storedOperatorName(store, &storedRefused), storedRefused)
        window.addLines({StoredOperatorRefusedText});
    // A book with users asks who keys before anything is shown; without an answer the program ends.
    if (ledger.hasUsers()) {
        PinDialog signIn(ledger, PinDialog::Purpose::SignIn);
        if (signIn.exec() != QDialog::Accepted) return 0;
    }
    SeatControl seat(ledger, window);
    if (!listedTwice.isEmpty()) {
        window.addLines(listedTwice);
        window.showStatus(listedTwice.join(QStringLiteral("  ")));
    }
    window.show();
    return app->exec();
}

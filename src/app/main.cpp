// The program: options, the data folder and its lock, then the main window.
#include "model/types.h"
#include "store/datafolder.h"
#include "store/session.h"
#include "store/store.h"
#include "ui/main/Form1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>

using namespace varnoth;

namespace {

int refuse(const QString& text, bool gui)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    if (gui) QMessageBox::critical(nullptr, QStringLiteral("Varnoth"), text);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnoth"));
    QApplication::setApplicationVersion(QStringLiteral("3.3.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Varnoth: a ledger for Thai lottery bets"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataOption(QStringLiteral("data-folder"),
                                  QStringLiteral("Keep the data in DIR instead of picture_1 beside the program."),
                                  QStringLiteral("DIR"));
    parser.addOption(dataOption);
    parser.process(app);

    if (!Store::codecAvailable()) return refuse(CodecMissingText, true);

    const QString folder =
        chooseDataFolder(QCoreApplication::applicationDirPath(), parser.value(dataOption),
                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!Store::MakeHiddenFolder(folder) || !folderWritable(folder))
        return refuse(FolderUnusableText + QDir::toNativeSeparators(folder), true);

    QLockFile lock(QDir(folder).filePath(LockFileName));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return refuse(AlreadyRunningText, true);

    Store store(folder);
    Session session;
    Form1 window(store, session);
    window.show();
    return app.exec();
}

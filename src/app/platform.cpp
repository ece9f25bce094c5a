#include "app/platform.h"

#include <QApplication>
#include <QFont>

#include <cstdlib>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

namespace varnoth
{

void limitRecognizerThreads(char* argv[])
{
#ifndef Q_OS_WIN
    if (std::getenv("OMP_THREAD_LIMIT")) return;
    setenv("OMP_THREAD_LIMIT", "1", 1);
    execv("/proc/self/exe", argv);
    // Where the program cannot start itself again it runs on, with the recogniser's own threads.
#else
    Q_UNUSED(argv);
#endif
}

QStringList commandLineArguments(int argc, char* argv[])
{
    QStringList arguments;
#ifdef Q_OS_WIN
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void prepareStandardStreams()
{
#ifdef Q_OS_WIN
    // Redirected streams (a pipe, a file) are inherited as they are; only a console is attached.
    if (!GetStdHandle(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        SetConsoleOutputCP(CP_UTF8);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

void useThaiFonts()
{
#ifdef Q_OS_WIN
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Leelawadee UI"), QStringLiteral("Tahoma"), font.family()});
    QApplication::setFont(font);
#endif
}

} // namespace varnoth

#include "CVelmarcModuleApp.h"

#include "MessageBoxSink.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    // The station's values are taken before Qt looks at argv, so that none
    // of them can be mistaken for one of Qt's own options.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmarc-module"));
    InstallMessageBoxSink();
    CVelmarcModuleApp theApp(&app, arguments);
    theApp.InitInstance();
    return theApp.ExitCode();
}

#include "TestApp.h"

#include "MessageBoxSink.h"
#include "MessageRecorder.h"

#include <QApplication>

QApplication* EnsureTestApp()
{
    static int argc = 1;
    static char name[] = "velmarc-tests";
    static char* argv[] = {name, nullptr};
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return app;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    InstallMessageBoxSink();   // as the program does at start-up
    // A modal box nobody answers would hold the test until CTest's time-out:
    // without a recorder every box fails the test at once.
    SetMessageSink(&MessageRecorder::Unexpected);
    return app;
}

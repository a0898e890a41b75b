#include "TestApp.h"

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
    return app;
}

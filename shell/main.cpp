#include <QApplication>

#include "MessageSink.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmarc-module"));
    AfxMessageBox(QStringLiteral("The start-up of velmarc-module is not built yet."), MB_OK | MB_ICONWARNING);
    return 1;
}

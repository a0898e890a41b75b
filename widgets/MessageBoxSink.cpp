#include "MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>

int ShowMessageBox(const MessageRequest& request)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread()) {
        qWarning("Message box not shown (no GUI thread here): %s", qUtf8Printable(request.text));
        return UnansweredAnswer(request.buttons);
    }
    // On the heap: a parent that is destroyed while the box is up deletes
    // the box with it, which a box on the stack would not survive.
    QPointer<QMessageBox> guard = new QMessageBox(request.parent);
    QMessageBox& box = *guard;
    // Fixed texts are shown as written; a "<" must not turn one into HTML.
    box.setTextFormat(Qt::PlainText);
    box.setWindowTitle(request.title.isEmpty() ? QApplication::applicationName() : request.title);
    box.setText(request.text);
    switch (request.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    struct Choice { QMessageBox::StandardButton button; int answer; };
    QList<Choice> choices;
    switch (request.buttons) {
    case MessageButtons::Ok: choices = {{QMessageBox::Ok, IDOK}}; break;
    case MessageButtons::OkCancel: choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MessageButtons::YesNo: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MessageButtons::YesNoCancel:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    for (const Choice& c : choices) {
        if (c.answer == request.defaultAnswer)
            box.setDefaultButton(c.button);
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const int clicked = box.exec();
    delete guard.data();
    for (const Choice& c : choices) {
        if (c.button == clicked)
            return c.answer;
    }
    // Closed without a choice (by the window manager, or with its parent):
    // the safe answer.
    return UnansweredAnswer(request.buttons);
}

void InstallMessageBoxSink()
{
    SetDefaultMessageSink(&ShowMessageBox);
}

int WindowMessage(QWidget* parent, const QString& text, unsigned flags)
{
    MessageRequest request = MessageRequestFromFlags(text, flags);
    request.parent = parent;
    if (parent)
        request.title = parent->window()->windowTitle();
    return ShowMessage(request);
}

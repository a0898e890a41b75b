#include "MessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>

namespace {

MessageSinkFn& currentSink()
{
    static MessageSinkFn sink;
    return sink;
}

// The answer of a box the user never saw or closed without choosing: the
// one that goes ahead with nothing.
int UnansweredAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return IDOK;
    case MessageButtons::YesNo: return IDNO;
    default: return IDCANCEL;
    }
}

int showWithQMessageBox(const MessageRequest& request)
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

} // namespace

MessageSinkFn SetMessageSink(MessageSinkFn sink)
{
    MessageSinkFn previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

int ShowMessage(const MessageRequest& request)
{
    if (currentSink())
        return currentSink()(request);
    return showWithQMessageBox(request);
}

MessageRequest MessageRequestFromFlags(const QString& text, unsigned flags)
{
    MessageRequest request;
    request.text = text;
    switch (flags & 0xF) {
    case MB_OKCANCEL: request.buttons = MessageButtons::OkCancel; break;
    case MB_YESNO: request.buttons = MessageButtons::YesNo; break;
    case MB_YESNOCANCEL: request.buttons = MessageButtons::YesNoCancel; break;
    default: request.buttons = MessageButtons::Ok; break;
    }
    switch (flags & 0xF0) {
    case MB_ICONERROR: request.icon = MessageIcon::Error; break;
    case MB_ICONQUESTION: request.icon = MessageIcon::Question; break;
    case MB_ICONWARNING: request.icon = MessageIcon::Warning; break;
    case MB_ICONINFORMATION: request.icon = MessageIcon::Information; break;
    default: request.icon = MessageIcon::None; break;
    }
    const int defaultIndex = (flags & 0xF00) >> 8;
    QList<int> order;
    switch (request.buttons) {
    case MessageButtons::Ok: order = {IDOK}; break;
    case MessageButtons::OkCancel: order = {IDOK, IDCANCEL}; break;
    case MessageButtons::YesNo: order = {IDYES, IDNO}; break;
    case MessageButtons::YesNoCancel: order = {IDYES, IDNO, IDCANCEL}; break;
    }
    request.defaultAnswer = order.value(defaultIndex, order.first());
    return request;
}

int AfxMessageBox(const QString& text, unsigned flags, QWidget* parent)
{
    MessageRequest request = MessageRequestFromFlags(text, flags);
    request.parent = parent;
    return ShowMessage(request);
}

bool ConfirmMessage(const QString& text, QWidget* parent)
{
    return AfxMessageBox(text, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, parent) == IDOK;
}

#include "MessageSink.h"

#include <QList>
#include <QtGlobal>

namespace {

MessageSinkFn& currentSink()
{
    static MessageSinkFn sink;
    return sink;
}

MessageSinkFn& defaultSink()
{
    static MessageSinkFn sink;
    return sink;
}

} // namespace

void SetDefaultMessageSink(MessageSinkFn sink)
{
    defaultSink() = std::move(sink);
}

int UnansweredAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return IDOK;
    case MessageButtons::YesNo: return IDNO;
    default: return IDCANCEL;
    }
}

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
    if (defaultSink())
        return defaultSink()(request);
    // No user interface in this process: nobody sees it, nobody consents.
    qWarning("Message not shown (no message box here): %s", qUtf8Printable(request.text));
    return UnansweredAnswer(request.buttons);
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

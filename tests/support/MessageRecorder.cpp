#include "MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

bool Offers(MessageButtons buttons, int answer)
{
    switch (buttons) {
    case MessageButtons::Ok: return answer == IDOK;
    case MessageButtons::OkCancel: return answer == IDOK || answer == IDCANCEL;
    case MessageButtons::YesNo: return answer == IDYES || answer == IDNO;
    case MessageButtons::YesNoCancel: return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    }
    return false;
}

} // namespace

MessageRecorder::MessageRecorder()
{
    m_previous = SetMessageSink([this](const MessageRequest& request) { return answer(request); });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageSink(std::move(m_previous));
}

int MessageRecorder::answer(const MessageRequest& request)
{
    m_requests.append(request);
    int given;
    if (!m_answers.isEmpty()) {
        given = m_answers.takeFirst();
        if (!Offers(request.buttons, given))
            ADD_FAILURE() << "scripted answer " << given << " is not a button of \"" << request.text.toStdString() << '"';
    } else {
        switch (request.buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            given = IDYES;
            break;
        default:
            given = IDOK;
            break;
        }
    }
    m_given.append(given);
    return given;
}

QStringList MessageRecorder::texts() const
{
    QStringList list;
    for (const MessageRequest& r : m_requests)
        list.append(r.text);
    return list;
}

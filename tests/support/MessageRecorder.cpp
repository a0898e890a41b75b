#include "MessageRecorder.h"

MessageRecorder::MessageRecorder()
{
    SetMessageSink([this](const MessageRequest& request) {
        m_requests.append(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        switch (request.buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return int(IDYES);
        default:
            return int(IDOK);
        }
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageSink({});
}

QStringList MessageRecorder::texts() const
{
    QStringList list;
    for (const MessageRequest& r : m_requests)
        list.append(r.text);
    return list;
}

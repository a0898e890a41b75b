#pragma once

// Records every message box of the code under test and answers from a
// script (OK when the script runs dry). Installs itself as the message sink
// for its lifetime.

#include "MessageSink.h"

#include <QList>
#include <QStringList>

class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Answers to give, in order (IDOK, IDCANCEL, IDYES, IDNO).
    void script(QList<int> answers) { m_answers = std::move(answers); }

    const QList<MessageRequest>& requests() const { return m_requests; }
    QStringList texts() const;
    void clear() { m_requests.clear(); }

private:
    QList<MessageRequest> m_requests;
    QList<int> m_answers;
};

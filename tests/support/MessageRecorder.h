#pragma once

// Records every message box of the code under test and answers from a
// script (OK, or Yes for Yes/No boxes, when the script runs dry). Installs
// itself as the message sink for its lifetime and then puts the previous
// sink back. A scripted answer that the box does not offer fails the test.

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
    // The answers given, one per request.
    const QList<int>& answers() const { return m_given; }
    // Scripted answers not used yet.
    int answersLeft() const { return int(m_answers.size()); }
    void clear() { m_requests.clear(); m_given.clear(); }

private:
    int answer(const MessageRequest& request);

    QList<MessageRequest> m_requests;
    QList<int> m_answers;
    QList<int> m_given;
    MessageSinkFn m_previous;
};

#pragma once

// Records every message box of the code under test and answers it from a
// script. Installs itself as the message sink for its lifetime and then
// puts the previous sink back.
//
// A test lists the boxes it expects, in order, each with its answer:
//
//     MessageRecorder recorder;
//     recorder.expect("Do you want to reboot the device?", IDOK);
//     recorder.expect("Invalid Portlist");          // OK-only refusal
//     ... run the code ...
//     // the destructor (or ExpectAllUsed()) fails the test if one is left
//
// A box that no script entry expected fails the test and gets the harmless
// answer (Cancel, No, or OK for an OK-only box): an unexpected question is
// never consent. A scripted answer that the box does not offer, or a text
// other than the expected one, fails the test as well.

#include "MessageSink.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The next box must show exactly `text`; it is answered with `answer`
    // (IDOK, IDCANCEL, IDYES or IDNO).
    void expect(const QString& text, int answer = IDOK);
    // Boxes of any text, answered in order.
    void script(const QList<int>& answers);

    // Fails the test when expected boxes have not been shown; the
    // destructor checks the same.
    void ExpectAllUsed() const;
    // Expected boxes not shown yet.
    int answersLeft() const { return int(m_steps.size()); }

    // What a box gets that no script expected: a test failure and the
    // harmless answer. Also the tests' sink while no recorder is installed
    // (see EnsureTestApp), so such a box never waits for a click.
    static int Unexpected(const MessageRequest& request);

    const QList<MessageRequest>& requests() const { return m_requests; }
    QStringList texts() const;
    // The answers given, one per box shown.
    const QList<int>& answers() const { return m_given; }
    void clear() { m_requests.clear(); m_given.clear(); }

private:
    struct Step
    {
        std::optional<QString> text;
        int answer = IDOK;
    };

    int answer(const MessageRequest& request);

    QList<MessageRequest> m_requests;
    QList<Step> m_steps;
    QList<int> m_given;
    MessageSinkFn m_previous;
};

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

// The button that goes ahead with nothing.
int Harmless(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return IDOK;
    case MessageButtons::YesNo: return IDNO;
    default: return IDCANCEL;
    }
}

std::string Quoted(const QString& text)
{
    return '"' + text.toStdString() + '"';
}

} // namespace

MessageRecorder::MessageRecorder()
{
    m_previous = SetMessageSink([this](const MessageRequest& request) { return answer(request); });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageSink(std::move(m_previous));
    ExpectAllUsed();
}

void MessageRecorder::expect(const QString& text, int answer)
{
    m_steps.append({text, answer});
}

void MessageRecorder::script(const QList<int>& answers)
{
    for (int a : answers)
        m_steps.append({std::nullopt, a});
}

void MessageRecorder::ExpectAllUsed() const
{
    if (m_steps.isEmpty())
        return;
    QStringList left;
    for (const Step& s : m_steps)
        left << (s.text ? QString::fromStdString(Quoted(*s.text)) : QStringLiteral("(any text)"));
    ADD_FAILURE() << m_steps.size() << " expected message box(es) never shown: " << left.join(u", ").toStdString();
}

int MessageRecorder::Unexpected(const MessageRequest& request)
{
    ADD_FAILURE() << "unexpected message box " << Quoted(request.text) << ", answered with the harmless button";
    return Harmless(request.buttons);
}

int MessageRecorder::answer(const MessageRequest& request)
{
    m_requests.append(request);
    int given;
    if (m_steps.isEmpty()) {
        given = Unexpected(request);
    } else {
        const Step step = m_steps.takeFirst();
        given = step.answer;
        if (step.text && *step.text != request.text)
            ADD_FAILURE() << "message box " << Quoted(request.text) << " where " << Quoted(*step.text)
                          << " was expected";
        if (!Offers(request.buttons, given)) {
            ADD_FAILURE() << "scripted answer " << given << " is not a button of " << Quoted(request.text);
            given = Harmless(request.buttons);
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

#include "MessageRecorder.h"
#include "MessageSink.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

// The classic flag words must map to the icon, buttons and default button
// that the fixed messages rely on: a confirmation whose default were OK
// would let a stray Enter reboot a switch.
TEST(MessageSink, FlagWordsMapToIconButtonsAndDefault)
{
    struct Case { unsigned flags; MessageIcon icon; MessageButtons buttons; int def; };
    const Case cases[] = {
        {MB_OK, MessageIcon::None, MessageButtons::Ok, IDOK},
        {MB_OK | MB_ICONWARNING, MessageIcon::Warning, MessageButtons::Ok, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, MessageIcon::Question, MessageButtons::OkCancel, IDCANCEL},
        {MB_OKCANCEL | MB_ICONQUESTION, MessageIcon::Question, MessageButtons::OkCancel, IDOK},
        {MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2, MessageIcon::Error, MessageButtons::YesNo, IDNO},
        {MB_YESNOCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON3, MessageIcon::Information, MessageButtons::YesNoCancel, IDCANCEL},
        {MB_OK | MB_DEFBUTTON3, MessageIcon::None, MessageButtons::Ok, IDOK}, // no third button
    };
    for (const Case& c : cases) {
        const MessageRequest r = MessageRequestFromFlags(QStringLiteral("x"), c.flags);
        EXPECT_EQ(r.icon, c.icon) << c.flags;
        EXPECT_EQ(r.buttons, c.buttons) << c.flags;
        EXPECT_EQ(r.defaultAnswer, c.def) << c.flags;
    }
}

// The recorder sees the exact text (blanks included) and gives the scripted
// answers in order.
TEST(MessageSink, RecorderKeepsTextAndScriptsAnswers)
{
    MessageRecorder recorder;
    recorder.script({IDCANCEL});
    recorder.expect(QStringLiteral("FW upgrade/backup or config backup/restore is already progressing. "));
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Do you want to reboot the device?"), MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(QStringLiteral("FW upgrade/backup or config backup/restore is already progressing. ")), IDOK);
    ASSERT_EQ(recorder.texts().size(), 2);
    EXPECT_EQ(recorder.texts()[1], QStringLiteral("FW upgrade/backup or config backup/restore is already progressing. "));
    EXPECT_EQ(recorder.requests()[0].defaultAnswer, IDCANCEL);
    EXPECT_EQ(recorder.answersLeft(), 0);
}

// A box no script expected is a failure, never consent: it gets the button
// that goes ahead with nothing (a recorder that answered OK or Yes would let
// an unexpected "reboot?" or "delete?" pass as agreed).
TEST(MessageSink, UnexpectedBoxFailsAndGetsTheHarmlessAnswer)
{
    struct Case { unsigned flags; int expected; };
    const Case cases[] = {
        {MB_OK | MB_ICONWARNING, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1, IDCANCEL},
    };
    for (const Case& c : cases) {
        MessageRecorder recorder;
        int answer = 0;
        EXPECT_NONFATAL_FAILURE(answer = AfxMessageBox(QStringLiteral("Are you sure to delete?"), c.flags),
                                "unexpected message box \"Are you sure to delete?\"");
        EXPECT_EQ(answer, c.expected) << c.flags;
        EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("Are you sure to delete?")});
    }
}

// The script is checked as well as used: another text than the expected
// one, an answer the box does not offer, and expected boxes that never came
// (at ExpectAllUsed and when the recorder goes) each fail the test.
TEST(MessageSink, RecorderFailsOnAWrongTextAnAnswerNotOfferedAndLeftovers)
{
    {
        MessageRecorder recorder;
        recorder.expect(QStringLiteral("Invalid Portlist"));
        EXPECT_NONFATAL_FAILURE(AfxMessageBox(QStringLiteral("Invalid Sever IP address.")),
                                "where \"Invalid Portlist\" was expected");
    }
    {
        MessageRecorder recorder;
        recorder.script({IDYES});
        int answer = 0;
        EXPECT_NONFATAL_FAILURE(answer = AfxMessageBox(QStringLiteral("Reboot?"), MB_OKCANCEL | MB_ICONQUESTION),
                                "is not a button of");
        EXPECT_EQ(answer, IDCANCEL);
    }
    EXPECT_NONFATAL_FAILURE(
        {
            MessageRecorder recorder;
            recorder.expect(QStringLiteral("Invalid Portlist"));
            recorder.ExpectAllUsed();
            AfxMessageBox(QStringLiteral("Invalid Portlist"));   // used up now: no second failure
        },
        "1 expected message box(es) never shown: \"Invalid Portlist\"");
    EXPECT_NONFATAL_FAILURE(
        {
            MessageRecorder recorder;
            recorder.script({IDCANCEL, IDOK});
            ConfirmMessage(QStringLiteral("Are you sure to delete?"));
        },
        "1 expected message box(es) never shown: (any text)");
}

// A confirmation must be OK/Cancel with the question icon and Cancel as the
// default, and anything but OK must read as "no": a helper that treated the
// default answer or a closed box as consent would write to the switch.
TEST(MessageSink, ConfirmationIsOkCancelQuestionWithCancelDefault)
{
    MessageRecorder recorder;
    recorder.script({IDCANCEL, IDOK});
    EXPECT_FALSE(ConfirmMessage(QStringLiteral("Are you sure to delete?")));
    EXPECT_TRUE(ConfirmMessage(QStringLiteral("Are you sure to delete?")));
    ASSERT_EQ(recorder.requests().size(), 2);
    const MessageRequest& r = recorder.requests()[0];
    EXPECT_EQ(r.icon, MessageIcon::Question);
    EXPECT_EQ(r.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(r.defaultAnswer, IDCANCEL);
    EXPECT_EQ(recorder.answers(), (QList<int>{IDCANCEL, IDOK}));
}

// A recorder inside another must hand the sink back to the outer one, not
// to the real message box (which would block a test on a modal box).
TEST(MessageSink, NestedRecorderRestoresTheOuterSink)
{
    MessageRecorder outer;
    outer.expect(QStringLiteral("outer"));
    {
        MessageRecorder inner;
        inner.expect(QStringLiteral("inner"));
        AfxMessageBox(QStringLiteral("inner"));
        EXPECT_EQ(inner.texts(), QStringList{QStringLiteral("inner")});
    }
    AfxMessageBox(QStringLiteral("outer"));
    EXPECT_EQ(outer.texts(), QStringList{QStringLiteral("outer")});
}

// The program's own sink: a real QMessageBox, driven from a timer while it
// runs modally on the offscreen platform.

#include "MessageSink.h"
#include "TestApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <thread>

#include <gtest/gtest.h>

namespace {

struct SeenBox
{
    bool found = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QString text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButtons buttons;
};

// These tests are about the program's own sink, which the test application
// replaces with a failing one.
void UseRealBoxes()
{
    EnsureTestApp();
    SetMessageSink({});
}

// The message box the sink has put up, or null.
QMessageBox* ShownBox()
{
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        return box;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Runs one message box, looks at it once it is up, then presses Enter (the
// default button answers) and returns the answer. The look runs from the
// box's own event loop, so the box is up by then; when it is not, the test
// fails at once and whatever modal window runs is closed, rather than
// leaving it waiting for CTest's time-out.
int RunAndInspect(const QString& text, unsigned flags, SeenBox* seen)
{
    QTimer look;   // dies with this call: never fires into a later test
    look.setSingleShot(true);
    QObject::connect(&look, &QTimer::timeout, [&] {
        QMessageBox* box = ShownBox();
        if (!box) {
            ADD_FAILURE() << "no message box is up for \"" << text.toStdString() << '"';
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                    dialog->reject();
            }
            return;
        }
        seen->found = true;
        seen->icon = box->icon();
        seen->format = box->textFormat();
        seen->text = box->text();
        seen->buttons = box->standardButtons();
        seen->defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        if (box->defaultButton())
            box->defaultButton()->click();
        else
            box->reject();
    });
    look.start();
    return AfxMessageBox(text, flags);
}

} // namespace

// The confirmation must reach the user with the question icon, OK and
// Cancel, Cancel as the default: Enter then cancels instead of rebooting.
// The text must stay plain, so "<" in a fixed message is not taken as HTML.
TEST(MessageBoxSink, ShowsIconButtonsDefaultAndPlainText)
{
    UseRealBoxes();
    SeenBox seen;
    const QString text = QStringLiteral("Port <1> will be <b>reset</b>, continue?");
    const int answer = RunAndInspect(text, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, &seen);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(answer, IDCANCEL);
}

// A plain refusal has no icon and only OK; its answer is IDOK.
TEST(MessageBoxSink, PlainRefusalIsOkOnly)
{
    UseRealBoxes();
    SeenBox seen;
    const int answer = RunAndInspect(QStringLiteral("Invalid Sever IP address."), MB_OK, &seen);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(answer, IDOK);
}

// Off the GUI thread no box can be shown, so nobody sees the question: the
// answer must be the one that does nothing (Cancel, No), whatever the
// default button. Answering an unseen OK/Cancel or Yes/No box with its
// default would go ahead with a write the user never agreed to.
TEST(MessageBoxSink, UnseenQuestionIsNotConsent)
{
    UseRealBoxes();
    struct Case { unsigned flags; int expected; };
    const Case cases[] = {
        {MB_OK | MB_ICONWARNING, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, IDCANCEL},
        {MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDCANCEL},
    };
    for (const Case& c : cases) {
        int answer = 0;
        std::thread worker([&] { answer = AfxMessageBox(QStringLiteral("Save the configuration?"), c.flags); });
        worker.join();
        EXPECT_EQ(answer, c.expected) << c.flags;
    }
}

// A box belongs to the window it is shown over; when that window goes away
// while the box is up (closed from a timer or an answer that arrives
// meanwhile), the box goes with it. The sink must then not touch or free the
// box again, and the unanswered box must not read as consent.
TEST(MessageBoxSink, ParentDestroyedWhileTheBoxIsUp)
{
    UseRealBoxes();
    auto* parent = new QWidget;
    parent->show();
    QTimer::singleShot(0, [parent] { delete parent; });
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Are you sure to delete?"), MB_OKCANCEL | MB_ICONQUESTION, parent),
              IDCANCEL);
}

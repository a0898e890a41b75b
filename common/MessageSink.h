#pragma once

// The one road of every message box in the program. The program shows a
// QMessageBox (the widget layer installs it as the default sink, see
// widgets/MessageBoxSink.h); tests install a sink that records the text and
// answers. Logic code calls these functions without depending on widgets.
//
// The text is shown exactly as given (plain text, never rich text).
// Without a QApplication, or off the GUI thread, the QMessageBox sink shows
// nothing: it logs the text and answers OK, No or Cancel (an unseen question
// is never consent).
//
// The flags mirror the classic message-box flags so that call sites read
// like the fixed messages they show:
//   AfxMessageBox("Do you want to reboot the device?",
//                 MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);

#include <QString>
#include <functional>

class QWidget;

enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};

enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

struct MessageRequest
{
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultAnswer = IDOK;     // IDOK, IDCANCEL, IDYES or IDNO
    QString title;
    QString text;
    QWidget* parent = nullptr;
};

// A sink answers with IDOK, IDCANCEL, IDYES or IDNO.
using MessageSinkFn = std::function<int(const MessageRequest&)>;

// Replaces the sink and returns the one it replaces; an empty function
// restores the default sink.
MessageSinkFn SetMessageSink(MessageSinkFn sink);

// The sink used while no other is set (the message-box sink of the widget
// layer). Without one, a message is logged and answered as unseen.
void SetDefaultMessageSink(MessageSinkFn sink);

// The answer of a box the user never saw or closed without choosing: the
// one that goes ahead with nothing (OK, No or Cancel).
int UnansweredAnswer(MessageButtons buttons);

// Shows one message through the sink and returns the answer.
int ShowMessage(const MessageRequest& request);

// The request that a classic flag word describes (icon, buttons, default).
MessageRequest MessageRequestFromFlags(const QString& text, unsigned flags);

// Classic form: text and flags; the title is the application's name.
int AfxMessageBox(const QString& text, unsigned flags = MB_OK, QWidget* parent = nullptr);

// The program's confirmation: OK and Cancel, a question icon, Cancel as the
// default button. True only when the user chose OK.
bool ConfirmMessage(const QString& text, QWidget* parent = nullptr);

#pragma once

// The application object: sets up the SNMP layer, turns the command line of
// the management station into the process-wide connection settings, keeps
// one running copy per device and runs the main window.
//
// The command line is a run of values, each introduced by a two-character
// switch such as "/I"; only the position of a value counts, and blanks are
// dropped wherever they stand:
//   /x<first> /I<address> /r<read community> /w<write community>
//   /p<TRUE|true: may write> /v<1|3> /o<port>            (version 1 ends here)
//   /a<dropped> /b<dropped> /c<value 10> /l<security level> /u<user>
//   /A<auth password> /P<privacy password> /m<auth protocol> /n<privacy protocol>

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CSingleInstance;
class QCoreApplication;

class CVelmarcModuleApp : public QObject
{
    Q_OBJECT
public:
    // `arguments` as main() receives them, the program's name first.
    CVelmarcModuleApp(QCoreApplication* app, const QStringList& arguments);
    ~CVelmarcModuleApp() override;

    // The whole start-up; runs the main window until it closes. Always false
    // (nothing follows it); ExitCode() tells how start-up went.
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }

    // Fills the connection settings from the command line. False when the
    // program must not start (a message has been shown where the user can
    // act on it).
    bool ParseCommandLine();

    // Copies the command line from `index` up to the next '/' or the end
    // into `buffer`, dropping every blank, and leaves `index` on the '/' or
    // the end.
    void ReadToken(QString& buffer, int& index) const;

    const QString& CommandLine() const { return m_strCmdLine; }
    void SetCommandLine(const QString& line) { m_strCmdLine = line; }

    // "Module:" + User.ini device name + address + ":" + port.
    static QString SingleInstanceName(const QString& userDeviceName);
    // [DeviceInfo] DeviceName of User.ini beside the program.
    static QString ReadUserDeviceName();

    // Width in bytes (terminating NUL included) that the value at
    // `position` (1 to 16) may take.
    static int ValueWidth(int position);

protected:
    // Runs the main window modally; returns when it closes.
    virtual void RunMainDialog();

private:
    QCoreApplication* m_pApp;
    QString m_strCmdLine;
    std::unique_ptr<CSingleInstance> m_hMutex;
    int m_nExitCode = 0;
};

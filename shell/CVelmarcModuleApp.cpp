#include "CVelmarcModuleApp.h"

#include "CSingleInstance.h"
#include "CSnmp.h"
#include "CVelmarcModuleDlg.h"
#include "GlobalSettings.h"
#include "IniFile.h"
#include "MessageSink.h"
#include "SnmpSetup.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QDir>

namespace {

// What each command-line value is, for the messages about it.
const char* const kValueNames[17] = {
    "",
    "first value",
    "IP address",
    "read community",
    "write community",
    "write permission",
    "SNMP version",
    "SNMP port",
    "value 8",
    "value 9",
    "value 10",
    "SNMPv3 security level",
    "SNMPv3 user name",
    "SNMPv3 authentication password",
    "SNMPv3 privacy password",
    "SNMPv3 authentication protocol",
    "SNMPv3 privacy protocol",
};

// The canonical dotted form of an IPv4 address given as four decimal
// octets, or an empty text. Leading zeros are read as decimal here; the
// canonical form keeps the resolver from reading them as octal.
QString canonicalIPv4(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return QString();
    QStringList octets;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return QString();
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return QString();
        const int value = part.toInt();
        if (value > 255)
            return QString();
        octets << QString::number(value);
    }
    return octets.join(u'.');
}

bool isPortNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    const int port = text.toInt();
    return port >= 1 && port <= 65535;
}

// USM derives no key from a passphrase under 8 octets.
bool v3PassphraseTooShort()
{
    if (g_strSnmpVersion != QLatin1String("3"))
        return false;
    const bool auth = (g_strV3SecurityLevel == QLatin1String("2") || g_strV3SecurityLevel == QLatin1String("3"))
                      && (g_strV3AuthProtocol == QLatin1String("2") || g_strV3AuthProtocol == QLatin1String("3"));
    const bool priv = auth && g_strV3SecurityLevel == QLatin1String("3") && g_strV3PrivProtocol == QLatin1String("2");
    return (auth && g_strV3AuthPassword.toUtf8().size() < 8) || (priv && g_strV3PrivPassword.toUtf8().size() < 8);
}

} // namespace

CVelmarcModuleApp::CVelmarcModuleApp(QCoreApplication* app, const QStringList& arguments)
    : m_pApp(app)
    , m_strCmdLine(arguments.mid(1).join(u' '))
{
}

CVelmarcModuleApp::~CVelmarcModuleApp() = default;

int CVelmarcModuleApp::ValueWidth(int position)
{
    static const int widths[17] = {0, 20, 16, 52, 52, 12, 8, 8, 8, 8, 8, 8, 32, 32, 32, 8, 8};
    return position >= 1 && position <= 16 ? widths[position] : 0;
}

void CVelmarcModuleApp::ReadToken(QString& buffer, int& index) const
{
    buffer.clear();
    const int size = int(m_strCmdLine.size());
    if (index < 0)
        index = 0;
    while (index < size && m_strCmdLine[index] != u'/') {
        const QChar c = m_strCmdLine[index];
        if (c != u' ' && c != u'\t')
            buffer += c;
        ++index;
    }
}

bool CVelmarcModuleApp::ParseCommandLine()
{
    const QString& line = m_strCmdLine;
    if (line.isEmpty())
        return false;

    QString value;
    int index = 2;
    // Reads the value at `position`; a value wider than its field is
    // refused rather than cut (a cut community or password would fail
    // later in a way nobody could trace back).
    const auto read = [&](int position) {
        ReadToken(value, index);
        if (position == 8 || position == 9)
            return true;   // dropped unread
        const int width = ValueWidth(position);
        if (value.toUtf8().size() <= width - 1)
            return true;
        AfxMessageBox(QStringLiteral("The %1 on the command line is too long (at most %2 characters) !")
                          .arg(QLatin1String(kValueNames[position]))
                          .arg(width - 1),
                      MB_OK | MB_ICONERROR);
        return false;
    };
    // The settings are complete: the address and the port must be usable.
    const auto finish = [&]() {
        if (g_strDeviceIP.isEmpty()) {
            AfxMessageBox(QStringLiteral("No device IP address input !"), MB_OK | MB_ICONERROR);
            return false;
        }
        const QString address = canonicalIPv4(g_strDeviceIP);
        if (address.isEmpty()) {
            AfxMessageBox(QStringLiteral("The device IP address \"%1\" is not an IPv4 address !").arg(g_strDeviceIP),
                          MB_OK | MB_ICONERROR);
            return false;
        }
        g_strDeviceIP = address;
        if (!isPortNumber(g_strSnmpPort)) {
            AfxMessageBox(QStringLiteral("The SNMP port \"%1\" is not a port number !").arg(g_strSnmpPort),
                          MB_OK | MB_ICONERROR);
            return false;
        }
        // One device, one single-instance name: "0161" is port 161.
        g_strSnmpPort = QString::number(g_strSnmpPort.toInt());
        return true;
    };

    if (!read(1))
        return false;
    g_strCmdArg1 = value;
    for (int position = 2; position <= 16; ++position) {
        if (index >= line.size())
            return finish();
        index += 2;   // over '/' and the switch letter
        if (position == 2 && !line.contains(QLatin1String("/I"))) {
            qWarning() << "command line without /I refused";
            return false;
        }
        if (!read(position))
            return false;
        switch (position) {
        case 2: g_strDeviceIP = value; break;
        case 5: g_bWritePermission = value == QLatin1String("TRUE") || value == QLatin1String("true") ? 1 : 0; break;
        case 8:
        case 9: break;
        default:
            if (!value.isEmpty()) {
                QString* const settings[17] = {
                    nullptr, nullptr, nullptr, &g_strReadCommunity, &g_strWriteCommunity, nullptr,
                    &g_strSnmpVersion, &g_strSnmpPort, nullptr, nullptr, &g_strCmdArg8,
                    &g_strV3SecurityLevel, &g_strV3UserName, &g_strV3AuthPassword, &g_strV3PrivPassword,
                    &g_strV3AuthProtocol, &g_strV3PrivProtocol,
                };
                *settings[position] = value;
            }
            break;
        }
        if (position == 2 && value.isEmpty())
            return finish();   // refuses: no address
        if (position == 7 && index < line.size() && g_strSnmpVersion == QLatin1String("1"))
            return finish();
    }
    return finish();
}

QString CVelmarcModuleApp::ReadUserDeviceName()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("User.ini"));
    return IniReadString(path, QStringLiteral("DeviceInfo"), QStringLiteral("DeviceName"));
}

QString CVelmarcModuleApp::SingleInstanceName(const QString& userDeviceName)
{
    return QStringLiteral("Module:") + userDeviceName + g_strDeviceIP + u':' + g_strSnmpPort;
}

bool CVelmarcModuleApp::InitInstance()
{
    m_nExitCode = 1;
    SnmpInit(m_pApp);
    SetSnmpTimeout(5000);

    if (m_strCmdLine.isEmpty()) {
        AfxMessageBox(QStringLiteral("No parameter input !"), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!ParseCommandLine())
        return false;
    // The stand-alone dialogs pass the bare address to the library.
    SetSnmpDefaultPort(g_strSnmpPort.toInt());
    if (g_strSnmpVersion != QLatin1String("1") && g_strSnmpVersion != QLatin1String("3"))
        qWarning() << "SNMP version" << g_strSnmpVersion << "is not served: every request will fail";
    if (v3PassphraseTooShort())
        AfxMessageBox(QString::fromUtf8(SnmpResultText(SNMP_BAD_PASSPHRASE)) + QStringLiteral(" !"),
                      MB_OK | MB_ICONWARNING);

    m_hMutex = std::make_unique<CSingleInstance>(SingleInstanceName(ReadUserDeviceName()));
    if (!m_hMutex->Acquire()) {
        m_nExitCode = 0;   // the running copy has been brought forward
        return false;
    }
    m_nExitCode = 0;
    RunMainDialog();
    return false;
}

void CVelmarcModuleApp::RunMainDialog()
{
    // The main window is hidden while a management dialog runs; that dialog
    // closing must not end the program.
    if (auto* gui = qobject_cast<QGuiApplication*>(m_pApp))
        gui->setQuitOnLastWindowClosed(false);
    CVelmarcModuleDlg dialog;
    connect(m_hMutex.get(), &CSingleInstance::activateRequested, &dialog, &CVelmarcModuleDlg::OnModuleActivate);
    dialog.RunModal();
}

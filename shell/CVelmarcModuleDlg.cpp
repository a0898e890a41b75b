#include "CVelmarcModuleDlg.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CResetDevice.h"
#include "CUtils.h"
#include "GlobalSettings.h"
#include "MessageBoxSink.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QMenu>
#include <QMenuBar>
#include <QEventLoop>
#include <QLabel>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

#include <vector>

namespace {

const char* const kSaveConfigObject = "1.3.6.1.4.1.32473.10.126.4.1.1.11.0";
constexpr int kSaveTimeoutMs = 4000;
// The program's confirmation: OK and Cancel, a question icon, Cancel first.
constexpr unsigned kConfirm = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2;

// One item of the menu bar: a command (id) or a popup (id 0) with items.
struct MenuItem
{
    const char* text;
    int nID;
    std::vector<MenuItem> items;
};

const std::vector<MenuItem>& MenuLayout()
{
    static const std::vector<MenuItem> layout = {
        {"Device Manager   ", 0, {
            {"System", 0, {
                {"Port Configuration", ID_PORT_CONFIGURATION, {}},
                {"Syslog Host Configuration", ID_SYSLOG_HOST, {}},
                {"Time Profile Settings", ID_TIME_PROFILE, {}},
                {"Power Saving Settings", ID_POWER_SAVING, {}},
            }},
            {"VLAN", 0, {
                {"VLAN Configuration", ID_VLAN_CONFIGURATION, {}},
                {"GVRP", 0, {
                    {"GVRP Global Settings", ID_GVRP_GLOBAL, {}},
                    {"GVRP Port Settings", ID_GVRP_PORT, {}},
                }},
                {"Auto Surveillance VLAN Setting ", ID_AUTO_SURVEILLANCE_VLAN, {}},
            }},
            {"L2 Function", 0, {
                {"Jumbo Frame Configuration", ID_JUMBO_FRAME, {}},
                {"Port Mirroring Settings", ID_PORT_MIRRORING, {}},
                {"Spanning Tree", ID_SPANNING_TREE, {}},
                {"Trunk Configuration", ID_TRUNK_CONFIGURATION, {}},
                {"Multicast Filtering Mode configuration", ID_MULTICAST_FILTERING, {}},
                {"IGMP Snooping Configuration", ID_IGMP_SNOOPING, {}},
            }},
            {"L3 Function", 0, {
                {"IP Interface Settings", ID_IP_INTERFACE, {}},
                {"Static Route Settings", ID_STATIC_ROUTE, {}},
                {"Static ARP Settings", ID_STATIC_ARP, {}},
                {"Gratuitous ARP Global Settings", ID_GRATUITOUS_ARP, {}},
            }},
            {"Qos", 0, {
                {"Bandwidth Control", ID_BANDWIDTH_CONTROL, {}},
            }},
            {"Security", 0, {
                {"ARP Spoofing Prevention Setting", ID_ARP_SPOOFING, {}},
                {"DHCP Server Screening Port Configuration", ID_DHCP_SERVER_SCREENING, {}},
                {"Traffic Segmentation Settings", ID_TRAFFIC_SEGMENTATION, {}},
                {"Storm Control Settings", ID_STORM_CONTROL, {}},
            }},
            {"AAA", 0, {
                {"802.1X Global Settings ", ID_802_1X_GLOBAL, {}},
                {"802.1X Port Configuration", ID_802_1X_PORT, {}},
                {"802.1X User", ID_802_1X_USER, {}},
                {"802.1X Authentication RADIUS", ID_802_1X_RADIUS, {}},
            }},
            {"SNMP", 0, {
                {"SNMP Global State", ID_SNMP_GLOBAL, {}},
                {"SNMP User Table", ID_SNMP_USER, {}},
                {"SNMP Group Table", ID_SNMP_GROUP, {}},
                {"SNMP View Table", ID_SNMP_VIEW, {}},
                {"SNMP Community Table", ID_SNMP_COMMUNITY, {}},
                {"SNMP Host Table", ID_SNMP_HOST, {}},
                {"SNMP Engine ID", ID_SNMP_ENGINE_ID, {}},
                {"SNMP Trap Configuration", ID_SNMP_TRAP, {}},
            }},
            {"PoE", 0, {
                {"PoE Global Settings", ID_POE_GLOBAL, {}},
                {"PoE Port Settings ", ID_POE_PORT, {}},
            }},
        }},
        {"Public MIB   ", 0, {
            {"System Information", ID_SYSTEM_INFORMATION, {}},
            {"In&terface Table", ID_INTERFACE_TABLE, {}},
            {"IP Table", ID_IP_TABLE, {}},
            {"Forwarding Table", ID_FORWARDING_TABLE, {}},
            {"TCP Service", ID_TCP_SERVICE, {}},
            {"UDP Service", ID_UDP_SERVICE, {}},
        }},
        {"Tools   ", 0, {
            {"Firmware and Configuration Upgrade/Backup", ID_FIRMWARE_TRANSFER, {}},
            {"Save Configuration", ID_SAVE_CONFIGURATION, {}},
            {"Reboot", ID_REBOOT, {}},
            {"Telnet", ID_TELNET, {}},
            {"Web", ID_WEB, {}},
        }},
        {"About   ", 0, {
            {"About PQS-2200-48", ID_APP_ABOUT, {}},
        }},
    };
    return layout;
}

// Position of the "PoE" popup in "Device Manager   ".
constexpr int kPoePopupPosition = 8;

bool IsDeviceCommand(int nID)
{
    return nID == ID_SAVE_CONFIGURATION || nID == ID_REBOOT || nID == ID_TELNET || nID == ID_WEB;
}

} // namespace

// The client area of the main window below the menu: the front panel is
// painted here and mouse moves and clicks over it are hit-tested.
class CMainPanelArea : public QWidget
{
public:
    explicit CMainPanelArea(CVelmarcModuleDlg* owner)
        : QWidget(owner)
        , m_pOwner(owner)
    {
        setObjectName(QStringLiteral("panelArea"));
        setMouseTracking(true);
        // Until the panel sizes it (or when it cannot be loaded).
        setMinimumSize(480, 120);
    }

protected:
    void paintEvent(QPaintEvent*) override { m_pOwner->OnPaint(); }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_pOwner->OnLButtonDown(event->position().toPoint());
        QWidget::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        m_pOwner->OnMouseMove(event->position().toPoint());
        QWidget::mouseMoveEvent(event);
    }

private:
    CVelmarcModuleDlg* m_pOwner;
};

const QString CVelmarcModuleDlg::kSaveSuccess = QStringLiteral("           Success!           ");
const QString CVelmarcModuleDlg::kSaveFailed = QStringLiteral("           Failed!            ");

CVelmarcModuleDlg::CVelmarcModuleDlg(QWidget* parent, const QString& panelDir)
    : QDialog(parent)
    , m_panel(panelDir.isEmpty() ? QCoreApplication::applicationDirPath() : panelDir)
    , m_hIcon(LoadAppIcon())
    , m_launcher(&CVelmarcModuleDlg::StartDetached)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowIcon(m_hIcon);
    // Every dialog opened from here shows the same icon.
    QApplication::setWindowIcon(m_hIcon);

    m_pMenuBar = new QMenuBar(this);
    m_pPanelArea = new CMainPanelArea(this);
    // Why the panel shows no state ("No answer from ...") stands on a line
    // of its own below the panel, so that it hides no port or lamp.
    m_pPanelStatus = new QLabel(this);
    m_pPanelStatus->setObjectName(QStringLiteral("panelStatus"));
    m_pPanelStatus->setContentsMargins(6, 2, 6, 2);
    m_pPanelStatus->setTextFormat(Qt::PlainText);
    QFont bold = m_pPanelStatus->font();
    bold.setBold(true);
    m_pPanelStatus->setFont(bold);
    m_pPanelStatus->setStyleSheet(QStringLiteral("color: #a33b00;"));
    m_pPanelStatus->setMinimumHeight(m_pPanelStatus->sizeHint().height());
    m_panel.SetDrawStatus(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_pMenuBar);
    layout->addWidget(m_pPanelArea, 1);
    layout->addWidget(m_pPanelStatus);

    // The window menu's About item of the classic system menu; the
    // window's context menu stands in for it here.
    m_pSysAbout = new QAction(this);
    connect(m_pSysAbout, &QAction::triggered, this, [this]() { OnSysCommand(IDM_ABOUTBOX); });
    m_pPanelArea->addAction(m_pSysAbout);
    m_pPanelArea->setContextMenuPolicy(Qt::ActionsContextMenu);

    BuildMenu();
}

CVelmarcModuleDlg::~CVelmarcModuleDlg()
{
    StopPanel();
    qDebug("==================DestroyWindow===============");
    CLOSE_SNMP_SESSION(m_cCommonSNMPset);
}

void CVelmarcModuleDlg::BuildMenu()
{
    const std::function<void(QWidget*, const std::vector<MenuItem>&)> add =
        [&](QWidget* menu, const std::vector<MenuItem>& items) {
            for (const MenuItem& item : items) {
                const QString text = QString::fromLatin1(item.text);
                if (item.nID == 0) {
                    auto* popup = new QMenu(text, menu);
                    if (auto* bar = qobject_cast<QMenuBar*>(menu))
                        bar->addMenu(popup);
                    else
                        static_cast<QMenu*>(menu)->addMenu(popup);
                    if (text == QLatin1String("Device Manager   "))
                        m_pDeviceManager = popup;
                    else if (text == QLatin1String("About   "))
                        m_pAboutMenu = popup;
                    add(popup, item.items);
                    continue;
                }
                auto* action = new QAction(text, menu);
                action->setData(item.nID);
                action->setObjectName(QStringLiteral("id%1").arg(item.nID));
                action->setEnabled(IsDeviceCommand(item.nID) || m_commands.IsBuilt(item.nID));
                const int nID = item.nID;
                connect(action, &QAction::triggered, this, [this, nID]() { OnCommand(nID); });
                menu->addAction(action);
            }
        };
    add(m_pMenuBar, MenuLayout());
}

QAction* CVelmarcModuleDlg::FindCommandAction(int nID) const
{
    const std::function<QAction*(const QList<QAction*>&)> find = [&](const QList<QAction*>& actions) -> QAction* {
        for (QAction* action : actions) {
            if (QMenu* popup = action->menu()) {
                if (QAction* found = find(popup->actions()))
                    return found;
            } else if (action->data().toInt() == nID) {
                return action;
            }
        }
        return nullptr;
    };
    return find(m_pMenuBar->actions());
}

void CVelmarcModuleDlg::PruneMenu()
{
    const auto remove = [this](int nID) {
        if (QAction* action = FindCommandAction(nID)) {
            if (auto* menu = qobject_cast<QMenu*>(action->parent()))
                menu->removeAction(action);
            delete action;
        }
    };
    if (m_strDeviceName.contains(QLatin1String("RVX")))
        remove(ID_JUMBO_FRAME);
    if (!IsPoeModelName(m_strDeviceName)) {
        remove(ID_POE_PORT);
        const QList<QAction*> popups = m_pDeviceManager->actions();
        if (popups.size() > kPoePopupPosition) {
            QAction* poe = popups[kPoePopupPosition];
            m_pDeviceManager->removeAction(poe);
            delete poe->menu();
        }
    }
    // The enabled state follows what is left: a command with no factory
    // stays visible but cannot be chosen.
    for (const CommandEntry& entry : m_commands.Entries()) {
        if (QAction* action = FindCommandAction(entry.nID))
            action->setEnabled(static_cast<bool>(entry.factory));
    }
}

bool CVelmarcModuleDlg::OnInitDialog()
{
    setWindowIcon(m_hIcon);
    m_strDeviceName = g_strDeviceName;
    setWindowTitle(m_strDeviceName + QStringLiteral(": ") + g_strDeviceIP);
    m_pSysAbout->setText(QStringLiteral("About ") + m_strDeviceName + QStringLiteral("  Module"));
    if (!m_pAboutMenu->actions().isEmpty()) {
        QAction* about = m_pAboutMenu->actions().first();
        about->setText(QStringLiteral("About ") + m_strDeviceName);
        about->setData(ID_APP_ABOUT);
    }
    PruneMenu();
    StartPanel();
    FitToScreen();
    return true;
}

QRect CVelmarcModuleDlg::PlaceOnScreen(const QSize& wanted, const QRect& available)
{
    const QSize size = wanted.boundedTo(available.size());
    return QRect(available.left() + (available.width() - size.width()) / 2,
                 available.top() + (available.height() - size.height()) / 2, size.width(), size.height());
}

void CVelmarcModuleDlg::FitToScreen()
{
    QScreen* screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The window manager's frame is not known before the first show: leave
    // room for a title bar and borders of the usual size.
    const QSize frame(16, 40);
    const QSize panel = m_panel.PanelSize();
    const int chrome = m_pMenuBar->sizeHint().height() + m_pPanelStatus->sizeHint().height();
    QSize client = sizeHint();
    if (!panel.isEmpty()) {
        // A panel wider or taller than the screen is drawn smaller, whole,
        // so every port stays reachable.
        const double scale = std::min({1.0, double(available.width() - frame.width()) / panel.width(),
                                       double(available.height() - frame.height() - chrome) / panel.height()});
        const QSize area(int(panel.width() * scale), int(panel.height() * scale));
        m_pPanelArea->setMinimumSize(area.boundedTo(panel / 2).expandedTo(QSize(120, 40)));
        client = QSize(area.width(), area.height() + chrome);
    }
    const QRect outer = PlaceOnScreen(client + frame, available);
    const QSize inner = (outer.size() - frame).expandedTo(minimumSizeHint());
    resize(inner);
    move(outer.topLeft());
}

void CVelmarcModuleDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CVelmarcModuleDlg::done(int result)
{
    // Every way out (close box, Escape, the program ending) stops the
    // panel's refresh before the window goes.
    StopPanel();
    QDialog::done(result);
}

// ---- The front panel: the one place where its controller plugs in ----

void CVelmarcModuleDlg::StartPanel()
{
    // Stacked vertically; Init sizes the panel area to the panel.
    if (m_panel.Init(m_pPanelArea, true))
        m_panel.StartRefresh(m_nRefreshInterval);
}

void CVelmarcModuleDlg::StopPanel()
{
    m_panel.StopRefresh();
}

void CVelmarcModuleDlg::OnPaint()
{
    // The panel fills the area, scaled down when the window is smaller
    // than the panel (a small screen) and keeping its shape.
    m_panel.Draw(0, 0, m_pPanelArea->width(), m_pPanelArea->height());
    const QString status = m_panel.StatusText();
    if (m_pPanelStatus->text() != status)
        m_pPanelStatus->setText(status);
}

bool CVelmarcModuleDlg::PanelHitTest(const QPoint& point, QMap<QString, QString>& result)
{
    return m_panel.HitTest(point, result);
}

void CVelmarcModuleDlg::OnLButtonDown(const QPoint& point)
{
    QMap<QString, QString> result;
    if (!PanelHitTest(point, result) || !result.contains(QStringLiteral("PORT")))
        return;
    // Ports are named "Port 7" in the panel description.
    static const QRegularExpression number(QStringLiteral("(\\d+)\\s*$"));
    const QRegularExpressionMatch match = number.match(result.value(QStringLiteral("PORT")));
    OpenPortSettings(match.hasMatch() ? match.captured(1).toInt() : 0);
}

bool CVelmarcModuleDlg::OpenPortSettings(int nPort)
{
    const CommandEntry* entry = m_commands.Find(ID_PORT_CONFIGURATION);
    if (!entry || !entry->factory)
        return false;
    RunDialog(*entry, nPort);
    return true;
}

void CVelmarcModuleDlg::OnMouseMove(const QPoint& point)
{
    QMap<QString, QString> result;
    if (!PanelHitTest(point, result))
        return;   // busy: the cursor stays as it is
    if (result.contains(QStringLiteral("PORT")))
        m_pPanelArea->setCursor(Qt::PointingHandCursor);
    else
        m_pPanelArea->unsetCursor();
}

bool CVelmarcModuleDlg::OnCommand(int nID)
{
    switch (nID) {
    case ID_SAVE_CONFIGURATION: OnSaveConfiguration(); return true;
    case ID_REBOOT: OnReboot(); return true;
    case ID_TELNET: OnTelnet(); return true;
    case ID_WEB: OnWeb(); return true;
    default: break;
    }
    const CommandEntry* entry = m_commands.Find(nID);
    if (!entry || !entry->factory)
        return false;
    // A pruned command stays pruned, whoever sends it.
    if ((entry->nFlags & CommandEntry::PoeOnly) && !IsPoeModelName(g_strDeviceName))
        return false;
    RunDialog(*entry);
    return true;
}

int CVelmarcModuleDlg::RunModal()
{
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    return result();
}

void CVelmarcModuleDlg::RunDialog(const CommandEntry& entry, int nStartPort)
{
    // One management dialog at a time: a second command (a click on a port
    // while the window came forward) waits for the first to close.
    if (m_bRunningDialog)
        return;
    std::unique_ptr<QDialog> dialog = entry.factory();
    if (!dialog)
        return;
    // A dialog that can start on one port (the port settings) offers
    // SelectPort(int).
    if (nStartPort > 0)
        QMetaObject::invokeMethod(dialog.get(), "SelectPort", Qt::DirectConnection, Q_ARG(int, nStartPort));
    m_bRunningDialog = true;
    const bool hideMain = !(entry.nFlags & CommandEntry::KeepMainWindow);
    const QPoint where = pos();
    if (hideMain) {
        hide();
        setWindowState(windowState() | Qt::WindowMinimized);
    }
    QPointer<CVelmarcModuleDlg> self(this);
    dialog->exec();
    dialog.reset();
    if (!self)
        return;
    m_bRunningDialog = false;
    if (hideMain) {
        // Back where it was, in front, with the panel as it is now.
        showNormal();
        move(where);
        raise();
        activateWindow();
        m_pPanelArea->update();
    }
}

int CVelmarcModuleDlg::Box(const QString& text, unsigned flags)
{
    return WindowMessage(this, text, flags);
}

void CVelmarcModuleDlg::OnSysCommand(int nID)
{
    if ((nID & 0xFFF0) != IDM_ABOUTBOX)
        return;
    CAboutDlg about;
    about.exec();
}

void CVelmarcModuleDlg::OnSaveConfiguration()
{
    if (Box(QStringLiteral("Do you want to save the configuration?"), kConfirm) != IDOK)
        return;
    bool saved = false;
    if (m_cCommonSNMPset.Prepare(SNMP_PDU_SET)
        && m_cCommonSNMPset.AddValue(QString::fromLatin1(kSaveConfigObject), SNMP_TYPE_INTEGER, "1") == 0) {
        CSnmp* response = nullptr;
        if (m_cCommonSNMPset.GetNextSync(response, kSaveTimeoutMs) == 0 && response) {
            // A refused set is no save, whatever else the answer holds.
            int status = -1;
            int index = 0;
            saved = response->getErrorStatus(&status, &index) == 0 && status == 0;
        }
        delete response;
    }
    if (saved)
        Box(kSaveSuccess, MB_OK | MB_ICONINFORMATION);
    else
        Box(kSaveFailed, MB_OK | MB_ICONERROR);
}

void CVelmarcModuleDlg::OnReboot()
{
    ConfirmAndRebootDevice(this);
}

QString CVelmarcModuleDlg::FindTerminal()
{
    QStringList candidates;
    const QString preferred = qEnvironmentVariable("TERMINAL").trimmed();
    if (!preferred.isEmpty())
        candidates << preferred;
    candidates << QStringLiteral("x-terminal-emulator") << QStringLiteral("xterm");
    for (const QString& name : candidates) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool CVelmarcModuleDlg::StartDetached(const QString& program, const QStringList& arguments, QString& error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    error = process.errorString();
    return false;
}

void CVelmarcModuleDlg::OnTelnet()
{
    if (Box(QStringLiteral("Do you want to TELNET this device?"), kConfirm) != IDOK)
        return;
    const QString telnet = QStandardPaths::findExecutable(QStringLiteral("telnet"));
    if (telnet.isEmpty()) {
        Box(QStringLiteral("Failed to start telnet: the telnet program is not installed !"), MB_OK | MB_ICONERROR);
        return;
    }
    const QString terminal = FindTerminal();
    if (terminal.isEmpty()) {
        Box(QStringLiteral("Failed to start telnet: no terminal emulator found "
                                     "($TERMINAL, x-terminal-emulator, xterm) !"), MB_OK | MB_ICONERROR);
        return;
    }
    QStringList arguments{QStringLiteral("-e"), telnet};
    if (!g_strDeviceIP.isEmpty())
        arguments << g_strDeviceIP;
    QString error;
    if (!m_launcher(terminal, arguments, error)) {
        qWarning() << "telnet not started:" << terminal << arguments << error;
        Box(QStringLiteral("Failed to start telnet in %1: %2 !").arg(terminal, error), MB_OK | MB_ICONERROR);
    }
}

void CVelmarcModuleDlg::OnWeb()
{
    if (Box(QStringLiteral("Do you want to access this device with browser?"), kConfirm) != IDOK)
        return;
    const QString browser = CUtils::GetDefaultBrowserPath();
    if (browser.isEmpty()) {
        Box(QStringLiteral("Failed to get IE path !"), MB_OK);
        return;
    }
    QStringList arguments;
    if (!g_strDeviceIP.isEmpty())
        arguments << QStringLiteral("http://") + g_strDeviceIP;
    QString error;
    if (!m_launcher(browser, arguments, error)) {
        qWarning() << "web browser not started:" << browser << arguments << error;
        Box(QStringLiteral("Failed to start the web browser %1: %2 !").arg(browser, error), MB_OK | MB_ICONERROR);
    }
}

void CVelmarcModuleDlg::OnModuleActivate()
{
    showNormal();
    raise();
    activateWindow();
    qDebug("main window brought forward: %s", isVisible() && !isMinimized() ? "visible, normal" : "not shown");
}

#pragma once

// The program's main window: the live front panel of the switch, the menu
// from which every management dialog opens, the device commands (save the
// configuration, reboot, telnet, web browser) and the About box. It comes
// forward when the program is started a second time for the same device,
// and its closing ends the program.

#include "CCommandTable.h"
#include "CCommonSNMP.h"
#include "CPanelView.h"

#include <QDialog>
#include <QIcon>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QLabel;
class QMenuBar;
class QWidget;

class CVelmarcModuleDlg : public QDialog
{
    Q_OBJECT
public:
    // The front panel reads its configuration from `panelDir` (by default
    // the program's folder).
    explicit CVelmarcModuleDlg(QWidget* parent = nullptr, const QString& panelDir = QString());
    ~CVelmarcModuleDlg() override;

    // Starts a program without waiting for it; false with the reason when
    // it cannot be started. Telnet and Web go through it (tests replace it).
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments, QString& error)>;
    void SetLauncher(Launcher launcher) { m_launcher = std::move(launcher); }
    static bool StartDetached(const QString& program, const QStringList& arguments, QString& error);

    // The terminal emulator that runs telnet: $TERMINAL, x-terminal-emulator
    // or xterm, the first one found; "" when there is none.
    static QString FindTerminal();

    // The commands this window opens dialogs for (tests give factories).
    CCommandTable& CommandTable() { return m_commands; }
    QMenuBar* MenuBar() const { return m_pMenuBar; }
    // The menu action of a command id, or null when the menu has none.
    QAction* FindCommandAction(int nID) const;

    // Shows the window and runs the program's main loop until the window
    // closes (close box, Escape, the program ending); the dialog's result.
    // Management dialogs hide the window while they run: that never ends
    // this loop, as it would end QDialog::exec().
    int RunModal();

    // Runs a command as its menu item does. False for an id this window
    // does not handle or whose dialog is not built.
    bool OnCommand(int nID);
    // Opens the port settings as a click on port `nPort` of the panel does:
    // the dialog starts with that port chosen.
    bool OpenPortSettings(int nPort);

    // Where a window of `wanted` size opens on a screen whose free area is
    // `available`: centred, and no larger than the area, so that every edge
    // and the title bar can be reached.
    static QRect PlaceOnScreen(const QSize& wanted, const QRect& available);
    // The window menu's About (IDM_ABOUTBOX); other ids are ignored.
    void OnSysCommand(int nID);

    // Device commands.
    void OnSaveConfiguration();
    void OnReboot();
    void OnTelnet();
    void OnWeb();

    // Another start for this device: the window comes forward in its
    // normal state, also from behind a management dialog.
    void OnModuleActivate();

    // The panel's refresh period, 2000 ms unless set before the window
    // opens.
    void SetRefreshInterval(int ms) { m_nRefreshInterval = ms; }
    CPanelView& Panel() { return m_panel; }

    // Fixed texts of the device commands.
    static const QString kSaveSuccess;
    static const QString kSaveFailed;

protected:
    virtual bool OnInitDialog();
    // What lies under a point of the panel area: element tag ("PORT",
    // "LED", ...) to element name. False while the panel is busy.
    virtual bool PanelHitTest(const QPoint& point, QMap<QString, QString>& result);

    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    friend class CMainPanelArea;

    void BuildMenu();
    void PruneMenu();
    void RunDialog(const CommandEntry& entry, int nStartPort = 0);
    int Box(const QString& text, unsigned flags);
    void FitToScreen();
    QRect PanelRect() const;
    void StartPanel();
    void OnPaint();
    void OnLButtonDown(const QPoint& point);
    void OnMouseMove(const QPoint& point);
    void StopPanel();

    CPanelView m_panel;   // first: it publishes the device facts
    int m_nRefreshInterval = 2000;
    QString m_strDeviceName;
    QIcon m_hIcon;
    CCommonSNMP m_cCommonSNMPset;
    CCommandTable m_commands;
    Launcher m_launcher;
    QMenuBar* m_pMenuBar = nullptr;
    QMenu* m_pDeviceManager = nullptr;
    QMenu* m_pAboutMenu = nullptr;
    QAction* m_pSysAbout = nullptr;
    QWidget* m_pPanelArea = nullptr;
    QLabel* m_pPanelStatus = nullptr;   // "No answer from ..." below the panel
    bool m_bInitialised = false;
    bool m_bRunningDialog = false;
};

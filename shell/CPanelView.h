#pragma once

// The front-panel controller, held by value in the main dialog. It reads the
// panel configuration (and publishes the device facts) when constructed,
// builds two copies of the panel from its XML, keeps one on screen while a
// refresh thread reads the other from the switch, and exchanges them after
// every pass, so painting never waits for the network.
//
//   Init(this, true);  StartRefresh(2000);     at dialog start
//   Draw(0, 0, 0, 0);                          from paintEvent
//   HitTest(point, result);                    mouse moves and clicks
//   StopRefresh();                             on close (also the destructor)
//
// Threads: the GUI thread does everything but the reads. The refresh thread
// reads the back copy through one SNMP session of its own (synchronous gets)
// without any lock, takes the panel lock only to exchange the two copies,
// and then posts a repaint to the owner (queued; it never touches a widget
// and never waits for the GUI thread). Draw holds the lock for a whole
// paint; HitTest only tries it and answers false while it is taken.

#include "CPanelConfig.h"
#include "CPanelObject.h"

#include <QDomNodeList>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class CCommonSNMP;
class CPanelDevice;
class QObject;

// R(v): a scaled coordinate or size rounded half up.
inline int PanelRound(double v)
{
    return int(v + 0.5);
}

// How a read of the refresh pass ended.
enum class PanelRead {
    Answered,   // values as answered (empty where the switch has no such object)
    Refused,    // an error status, or not one value per OID: only this object
    NoAnswer,   // nothing usable came back: the pass ends
};

class CPanelView
{
public:
    // Reads Config.ini and the device INI beside the program.
    CPanelView();
    // The same from another folder (tests, benchmarks).
    explicit CPanelView(const QString& exeDir);
    ~CPanelView();

    CPanelView(const CPanelView&) = delete;
    CPanelView& operator=(const CPanelView&) = delete;

    // Builds both copies of the panel for `owner`. False (and "XML File load
    // Error: %s" for an unreadable file) when there is no owner, the XML
    // cannot be loaded or holds no DEVICE at its top level.
    bool Init(QWidget* owner, bool vertical);
    // Starts the refresh thread (a second call only changes the interval).
    bool StartRefresh(int intervalMs);
    // The wait between two passes for an interval: whole steps of 100 ms,
    // at least one (250 waits 200, 50 waits 100).
    static int SleepBetweenPasses(int intervalMs);
    // Stops the thread and waits for it: returns once the read under way has
    // answered or timed out. The copies stay and can still be painted.
    void StopRefresh();
    // Paints the panel at (x, y) of the owner, scaled to fit width x height
    // (0 = the panel's own size). Call from the owner's paintEvent, with no
    // other QPainter open on the owner. The first call sizes the owner to
    // the panel.
    void Draw(int x, int y, int width, int height);
    // Whether Draw shows why the panel has no state ("No answer from ...")
    // as a band over the panel (the default); an owner that shows
    // StatusText() elsewhere turns it off.
    void SetDrawStatus(bool bDraw) { m_bDrawStatus = bDraw; }
    // Tag -> NAME of every element drawn under `point`. False when there is
    // no panel or it is busy (a paint or an exchange under way).
    bool HitTest(const QPoint& point, PanelHitResult& result);
    // Stops the thread, deletes both copies.
    void Release();

    QString GetOIDRoot() const { return m_config.m_strOIDRoot; }
    QString GetDeviceIniPath() const { return m_config.m_strDeviceIni; }
    const CPanelConfig& Config() const { return m_config; }
    QSize PanelSize() const { return m_sizePanel; }
    bool IsRunning() const { return m_bRunning; }

    // One refresh pass on the calling thread, then the exchange (tests and
    // benchmarks; never while the thread runs). False when the switch did
    // not answer.
    bool RefreshOnce();

    // What the panel on screen says about the switch: empty while it
    // answers, else why the pictures show nothing ("No answer from ...").
    QString StatusText();
    // State and value of the first element with that ID in the copy on
    // screen; false when there is none.
    bool FrontState(const QString& id, int& state, QString& value);
    // Passes completed and requests sent since construction.
    int PassCount() const { return m_nPasses; }
    int RequestCount() const { return m_nRequests; }

    // ---- used by the panel objects ----
    // Builds one panel from one file (null on failure, after the message).
    std::unique_ptr<CPanelDevice> LoadXMLFile(const QString& path, QRect* extent);
    bool LoadChildren(const QDomNodeList& nodes, CPanelObject* parent);
    bool LoadChildList(const QDomNode& node, CPanelObject* parent);
    // A picture of the model folder, loaded once per path.
    QImage LoadImage(const QString& path);
    // One GET of `oids` on the panel's session (timeout 0: the session's).
    PanelRead ReadValues(const QStringList& oids, QStringList& values, int timeoutMs);
    // False once a stop was requested: the pass ends after the current read.
    bool KeepReading() const { return !m_bStopRequested; }
    bool BlinkPhase() const { return m_bBlinkPhase; }

private:
    void ReadConfiguration(const QString& exeDir);
    void RefreshThreadProc();
    // One pass over the back copy, then the exchange under the lock.
    bool RefreshPass();
    void RequestRepaint();
    void ReportLoadError(const QString& path);
    void FitOwnerWindow();
    void DrawStatus(QPainter& painter, const QRect& area);

    CPanelConfig m_config;

    QPointer<QWidget> m_pOwner;
    QImage m_bmpMem;                // the off-screen picture of one paint
    QPoint m_ptOrigin;
    QSize m_sizePanel;
    bool m_bVertical = true;
    bool m_bNeedFit = true;
    bool m_bDrawStatus = true;

    std::unique_ptr<CPanelDevice> m_pFront;
    std::unique_ptr<CPanelDevice> m_pBack;
    // The panel lock: guards which copy is in front, its drawing and its
    // hit testing, the status text on screen and the blink phase.
    std::mutex m_refreshLock;
    QString m_strFrontStatus;
    QString m_strBackStatus;        // refresh side only
    bool m_bBlinkPhase = false;

    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};
    std::atomic<bool> m_bStopRequested{false};
    std::atomic<int> m_nInterval{0};
    std::mutex m_waitLock;
    std::condition_variable m_wake;

    std::unique_ptr<CCommonSNMP> m_pSession;   // the refresh side's own session
    std::unique_ptr<QObject> m_pRelay;         // GUI-thread receiver of posted calls

    std::mutex m_cacheLock;
    QHash<QString, QImage> m_images;
    QSet<QString> m_reportedPaths;

    std::atomic<int> m_nPasses{0};
    std::atomic<int> m_nRequests{0};
};

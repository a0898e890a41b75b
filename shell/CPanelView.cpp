#include "CPanelView.h"

#include "CCommonSNMP.h"
#include "CPanelDevice.h"
#include "GlobalSettings.h"
#include "MessageSink.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFile>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <system_error>

Q_LOGGING_CATEGORY(lcPanelView, "velmarc.panel")

CPanelView::CPanelView()
    : CPanelView(QCoreApplication::applicationDirPath())
{
}

CPanelView::CPanelView(const QString& exeDir)
    : m_pRelay(std::make_unique<QObject>())
{
    ReadConfiguration(exeDir);
}

CPanelView::~CPanelView()
{
    StopRefresh();
    Release();
}

void CPanelView::ReadConfiguration(const QString& exeDir)
{
    m_config.Read(exeDir);
    m_config.PublishDeviceFacts();
}

bool CPanelView::Init(QWidget* owner, bool vertical)
{
    const auto fail = [this](const char* why) {
        qCWarning(lcPanelView) << "INITIALIZE_ERROR:" << why;
        Release();
        return false;
    };
    Release();
    m_pOwner = owner;
    if (!owner)
        return fail("no owner window");
    m_bVertical = vertical;

    QRect extent;
    std::unique_ptr<CPanelDevice> front = LoadXMLFile(m_config.m_strXmlPath, &extent);
    if (!front)
        return fail("the panel XML cannot be loaded");
    // A panel without a device would shrink the window to nothing.
    const auto& top = front->Children();
    if (std::none_of(top.begin(), top.end(), [](const auto& child) { return child->IsDevice(); }))
        return fail("the panel XML holds no DEVICE at its top level");
    std::unique_ptr<CPanelDevice> back = LoadXMLFile(m_config.m_strXmlPath, nullptr);
    if (!back)
        return fail("the panel XML cannot be loaded a second time");
    {
        std::lock_guard lock(m_refreshLock);
        m_pFront = std::move(front);
        m_pBack = std::move(back);
        m_strFrontStatus.clear();
    }
    m_ptOrigin = extent.topLeft();
    m_sizePanel = QSize(extent.right(), extent.bottom());
    FitOwnerWindow();
    return true;
}

void CPanelView::FitOwnerWindow()
{
    if (!m_pOwner || m_sizePanel.isEmpty())
        return;
    // The owner's client area becomes the panel; it may grow, never shrink
    // below it.
    m_pOwner->setMinimumSize(m_sizePanel);
    if (m_pOwner->isWindow())
        m_pOwner->resize(m_sizePanel);
    else
        m_pOwner->updateGeometry();
}

std::unique_ptr<CPanelDevice> CPanelView::LoadXMLFile(const QString& path, QRect* extent)
{
    QFile file(path);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        ReportLoadError(path);
        return nullptr;
    }
    auto container = std::make_unique<CPanelDevice>(this, QStringLiteral("DEVICE"), QDomElement());
    LoadChildren(document.childNodes(), container.get());
    if (extent) {
        // Width and height end up in right and bottom (they are sizes).
        *extent = QRect();
        int right = 0;
        int bottom = 0;
        bool first = true;
        for (const auto& child : container->Children()) {
            if (!child->IsDevice())
                continue;
            if (first) {
                extent->moveTopLeft(QPoint(child->m_nLeft, child->m_nTop));
                first = false;
            }
            if (m_bVertical) {
                if (right == 0)
                    right = child->GetWidth(0);
                bottom += child->GetHeight(0);
            } else {
                if (bottom == 0)
                    bottom = child->GetHeight(0);
                right += child->GetWidth(0);
            }
        }
        extent->setRight(right);
        extent->setBottom(bottom);
    }
    return container;
}

bool CPanelView::LoadChildren(const QDomNodeList& nodes, CPanelObject* parent)
{
    bool result = true;
    // Copy the list first: building an object removes elements from it.
    std::vector<QDomNode> list;
    for (int i = 0; i < nodes.count(); ++i)
        list.push_back(nodes.at(i));
    for (const QDomNode& node : list) {
        if (!node.hasChildNodes())
            continue;
        result = LoadChildList(node, parent);
        if (!result)
            break;
    }
    return result;
}

bool CPanelView::LoadChildList(const QDomNode& node, CPanelObject* parent)
{
    if (node.isNull() || !parent)
        return false;
    const QDomElement element = node.toElement();
    if (!element.isNull() && !element.firstChildElement(QStringLiteral("ID")).isNull()) {
        std::unique_ptr<CPanelObject> child = CPanelObject::CreateChildFromXml(this, element.tagName(), element);
        if (child && !child->IsEntryEmpty())
            parent->AddChild(std::move(child));
        return true;
    }
    return LoadChildren(node.childNodes(), parent);
}

QImage CPanelView::LoadImage(const QString& path)
{
    std::lock_guard lock(m_cacheLock);
    auto it = m_images.constFind(path);
    if (it != m_images.constEnd())
        return it.value();
    QImage image(path);
    if (image.isNull())
        qCWarning(lcPanelView) << "cannot load the picture" << path;
    m_images.insert(path, image);
    return image;
}

void CPanelView::ReportLoadError(const QString& path)
{
    const QString text = QStringLiteral("XML File load Error: %1").arg(path);
    qCWarning(lcPanelView).noquote() << text;
    if (QThread::currentThread() == m_pRelay->thread()) {
        AfxMessageBox(text, MB_OK, m_pOwner);
        return;
    }
    // From the refresh thread: queued to the GUI, once per file, so a stop
    // request never waits for the user to close a box.
    {
        std::lock_guard lock(m_cacheLock);
        if (m_reportedPaths.contains(path))
            return;
        m_reportedPaths.insert(path);
    }
    QMetaObject::invokeMethod(
        m_pRelay.get(), [this, text]() { AfxMessageBox(text, MB_OK, m_pOwner); }, Qt::QueuedConnection);
}

int CPanelView::SleepBetweenPasses(int intervalMs)
{
    return std::max(100, intervalMs / 100 * 100);
}

bool CPanelView::StartRefresh(int intervalMs)
{
    if (!m_pOwner || !m_pFront)
        return false;
    m_nInterval = intervalMs;
    if (m_bRunning)
        return true;
    m_pSession = std::make_unique<CCommonSNMP>();
    m_bStopRequested = false;
    m_bRunning = true;
    try {
        m_thread = std::thread(&CPanelView::RefreshThreadProc, this);
    } catch (const std::system_error& e) {
        qCWarning(lcPanelView) << "cannot start the refresh thread:" << e.what();
        m_bRunning = false;
    }
    return m_bRunning;
}

void CPanelView::StopRefresh()
{
    m_bStopRequested = true;
    m_bRunning = false;
    {
        std::lock_guard lock(m_waitLock);
        m_wake.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    m_pSession.reset();
}

void CPanelView::RefreshThreadProc()
{
    while (m_bRunning) {
        RefreshPass();
        if (!m_bRunning)
            break;
        RequestRepaint();
        std::unique_lock lock(m_waitLock);
        m_wake.wait_for(lock, std::chrono::milliseconds(SleepBetweenPasses(m_nInterval)),
                        [this]() { return !m_bRunning; });
    }
}

bool CPanelView::RefreshOnce()
{
    if (m_bRunning || !m_pBack)
        return false;
    if (!m_pSession)
        m_pSession = std::make_unique<CCommonSNMP>();
    m_bStopRequested = false;
    return RefreshPass();
}

bool CPanelView::RefreshPass()
{
    m_strBackStatus.clear();
    const bool ok = m_pBack->Refresh();
    if (m_bStopRequested)
        return ok;   // cut short: the copy on screen stays
    if (!ok)
        m_pBack->Reset();
    {
        std::lock_guard lock(m_refreshLock);
        std::swap(m_pFront, m_pBack);
        m_strFrontStatus = m_strBackStatus;
        m_bBlinkPhase = !m_bBlinkPhase;
    }
    ++m_nPasses;
    return ok;
}

void CPanelView::RequestRepaint()
{
    QMetaObject::invokeMethod(
        m_pRelay.get(),
        [this]() {
            if (m_pOwner)
                m_pOwner->update();
        },
        Qt::QueuedConnection);
}

PanelRead CPanelView::ReadValues(const QStringList& oids, QStringList& values, int timeoutMs)
{
    values.clear();
    const auto noAnswer = [this]() {
        const int result = m_pSession->GetLastResult();
        m_strBackStatus = result == SNMP_NO_ANSWER || result == 0
                              ? QStringLiteral("No answer from %1").arg(g_strDeviceIP)
                              : QStringLiteral("%1: %2").arg(g_strDeviceIP, m_pSession->GetLastResultText());
        return PanelRead::NoAnswer;
    };
    if (!m_pSession)
        return PanelRead::NoAnswer;
    if (!m_pSession->Prepare(SNMP_PDU_GET))
        return noAnswer();
    for (const QString& oid : oids) {
        if (m_pSession->AddValue(oid, SNMP_TYPE_NULL, nullptr) != 0) {
            qCWarning(lcPanelView) << "not an OID:" << oid;
            return PanelRead::Refused;
        }
    }
    ++m_nRequests;
    CSnmp* raw = nullptr;
    const int result = m_pSession->SendSync(raw, timeoutMs);
    std::unique_ptr<CSnmp> response(raw);
    if (result != 0 || !response)
        return noAnswer();
    int errorStatus = 0;
    int errorIndex = 0;
    if (response->getErrorStatus(&errorStatus, &errorIndex) != 0 || errorStatus != 0)
        return PanelRead::Refused;
    const int count = response->getVarBindCount();
    for (int i = 0; i < count; ++i) {
        char* oid = nullptr;
        unsigned char* data = nullptr;
        int length = 0;
        // An exception value (no such object or instance) leaves the value empty.
        if (response->getValueType(i) == 0 || response->getValueBytes(i, &oid, &data, &length) != 0 || !data
            || length < 0)
            values << QString();
        else
            values << QString::fromUtf8(reinterpret_cast<const char*>(data), length);
    }
    return count == oids.size() ? PanelRead::Answered : PanelRead::Refused;
}

void CPanelView::Draw(int x, int y, int width, int height)
{
    if (!m_pOwner || !m_pFront)
        return;
    std::lock_guard lock(m_refreshLock);
    m_ptOrigin = QPoint(x, y);
    if (width <= 0)
        width = m_sizePanel.width();
    if (height <= 0)
        height = m_sizePanel.height();
    if (width <= 0 || height <= 0 || m_sizePanel.isEmpty())
        return;
    // One scale for both directions, so the jacks keep their shape.
    const double scale = std::min(double(width) / m_sizePanel.width(), double(height) / m_sizePanel.height());
    const int panelWidth = PanelRound(m_sizePanel.width() * scale);
    const int panelHeight = PanelRound(m_sizePanel.height() * scale);

    m_bmpMem = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    m_bmpMem.fill(m_pOwner->palette().color(QPalette::Window));
    {
        QPainter painter(&m_bmpMem);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1.0);
        int offset = 0;
        for (const auto& child : m_pFront->Children()) {
            if (child->IsDevice() && m_bVertical) {
                const int h = PanelRound(child->GetHeight(0) * scale);
                child->DrawSized(painter, 0, offset, panelWidth, h);
                offset += h;
            } else if (child->IsDevice()) {
                const int w = PanelRound(child->GetWidth(0) * scale);
                child->DrawSized(painter, offset, 0, w, panelHeight);
                offset += w;
            } else {
                child->DrawSized(painter, 0, 0, 0, 0);
            }
        }
        if (m_bDrawStatus && !m_strFrontStatus.isEmpty())
            DrawStatus(painter, QRect(0, 0, panelWidth, panelHeight));
    }
    QPainter target(m_pOwner);
    target.drawImage(QPoint(x, y), m_bmpMem);
    m_bmpMem = QImage();
}

void CPanelView::DrawStatus(QPainter& painter, const QRect& area)
{
    // A band over the lower part of the panel: the pictures show no state
    // because the switch does not answer, and the user must see why.
    QFont font = painter.font();
    font.setPixelSize(std::max(11, area.height() / 8));
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int bandHeight = metrics.height() + metrics.height() / 2;
    const QRect band(area.left(), area.bottom() - bandHeight - area.height() / 10, area.width(), bandHeight);
    painter.fillRect(band, QColor(0, 0, 0, 170));
    painter.setPen(QColor(255, 214, 102));
    painter.drawText(band, Qt::AlignCenter, m_strFrontStatus);
}

bool CPanelView::HitTest(const QPoint& point, PanelHitResult& result)
{
    if (!m_pFront)
        return false;
    std::unique_lock lock(m_refreshLock, std::try_to_lock);
    if (!lock.owns_lock())
        return false;
    const QPoint local = point - m_ptOrigin;
    m_pFront->HitTest(local.x(), local.y(), result);
    return true;
}

void CPanelView::Release()
{
    StopRefresh();
    std::lock_guard lock(m_refreshLock);
    m_pFront.reset();
    m_pBack.reset();
    m_strFrontStatus.clear();
}

QString CPanelView::StatusText()
{
    std::lock_guard lock(m_refreshLock);
    return m_strFrontStatus;
}

bool CPanelView::FrontState(const QString& id, int& state, QString& value)
{
    std::lock_guard lock(m_refreshLock);
    const CPanelObject* object = m_pFront ? m_pFront->FindByID(id) : nullptr;
    if (!object)
        return false;
    state = object->m_nState;
    value = object->m_strValue;
    return true;
}

#include "CPanelObject.h"

#include "CCompondOIDObject.h"
#include "CPanelCell.h"
#include "CPanelConfig.h"
#include "CPanelDevice.h"
#include "CPanelSlot.h"
#include "CPanelView.h"
#include "GlobalSettings.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPanelObject, "velmarc.panel.object", QtInfoMsg)

const char* const g_szPanelStateKeys[PANEL_STATE_COUNT] = {
    "BMP",          "BMPON",         "BMPOFF",        "BMPEMPTY",     "BMPPLUG",
    "BMPDISABLE",   "BMPLINKDOWN",   "BMPLINK10",     "BMPLINK100",   "BMPLINK1000",
    "BMPPOWERON",   "BMPPOWEROFF",   "BMPPOWERERROR", "BMPERROR",     "BMPCUSTOM_0",
    "BMPCUSTOM_1",  "BMPCUSTOM_2",   "BMPCUSTOM_3",   "BMPCUSTOM_4",  "BMPCUSTOM_5",
};


CPanelObject::CPanelObject(CPanelView* controller, const QString& tag, QDomElement element)
    : m_pController(controller), m_strTag(tag)
{
    if (element.isNull())
        return;
    GetAttribute(element, QStringLiteral("ID"), m_strID);
    GetAttribute(element, QStringLiteral("NAME"), m_strName);
    if (GetAttribute(element, QStringLiteral("OID"), m_strOID) && !m_strOID.isEmpty())
        m_bOwnSource = true;
    GetAttributeInt(element, QStringLiteral("LEFT"), m_nLeft);
    GetAttributeInt(element, QStringLiteral("TOP"), m_nTop);
    GetAttributeInt(element, QStringLiteral("WIDTH"), m_nWidth);
    GetAttributeInt(element, QStringLiteral("HEIGHT"), m_nHeight);
    GetAttribute(element, QStringLiteral("TYPE"), m_strType);
    if (m_strTag == QLatin1String("PORT")) {
        BuildCompound(element);
        m_bOwnSource = true;
    }

    const bool hasLists = !m_strType.isEmpty()
                          && (m_strTag == QLatin1String("PORT") || m_strTag == QLatin1String("LAMP")
                              || m_strTag == QLatin1String("LED"));
    const CPanelConfig* config = m_pController ? &m_pController->Config() : nullptr;
    for (int i = 0; i < PANEL_STATE_COUNT; ++i) {
        const QString key = QString::fromLatin1(g_szPanelStateKeys[i]);
        if (!GetAttribute(element, key, m_strStateFile[i]) || m_strStateFile[i].isEmpty())
            continue;
        if (config) {
            const QString path = config->m_strModelDir + m_strStateFile[i];
            m_pStateImage[i] = m_pController->LoadImage(path);
            qCDebug(lcPanelObject) << "state picture" << path;
            // A state can be chosen only when the element has a picture for it.
            if (hasLists)
                m_pStateValues[i] = config->DeviceIniList(m_strTag + QLatin1Char('_') + m_strType, key);
        }
    }
    if (m_pController)
        m_pController->LoadChildren(element.childNodes(), this);
}

CPanelObject::~CPanelObject() = default;

bool CPanelObject::GetAttribute(QDomElement& node, const QString& name, QString& out)
{
    QDomElement child = node.firstChildElement(name);
    if (child.isNull())
        return false;
    out = child.text().trimmed();
    node.removeChild(child);
    return true;
}

bool CPanelObject::GetAttributeInt(QDomElement& node, const QString& name, int& out)
{
    QString text;
    if (!GetAttribute(node, name, text))
        return false;
    out = CPanelConfig::LeadingInt(text);
    return true;
}

void CPanelObject::BuildCompound(QDomElement& node)
{
    m_commpdOIDObject = std::make_unique<CCompondOIDObject>();
    if (!m_pController)
        return;
    for (const QString& key : m_pController->Config().m_arrOIDKeys) {
        if (key.isEmpty())
            continue;
        QString oid;
        // Every element of that name is read and removed, also past the cap.
        while (GetAttribute(node, key, oid))
            m_commpdOIDObject->Add(key, oid);
    }
}

std::unique_ptr<CPanelObject> CPanelObject::CreateChildFromXml(CPanelView* controller,
                                                               const QString& elementName,
                                                               const QDomElement& node)
{
    if (elementName == QLatin1String("DEVICE"))
        return std::make_unique<CPanelDevice>(controller, elementName, node);
    if (elementName == QLatin1String("SLOT"))
        return std::make_unique<CPanelSlot>(controller, elementName, node);
    return std::make_unique<CPanelCell>(controller, elementName, node);
}

bool CPanelObject::AddChild(std::unique_ptr<CPanelObject> child)
{
    if (!child)
        return false;
    m_children.insert(m_children.begin(), std::move(child));
    return true;
}

std::unique_ptr<CPanelObject> CPanelObject::TakeFirstChild()
{
    if (m_children.empty())
        return nullptr;
    std::unique_ptr<CPanelObject> first = std::move(m_children.front());
    m_children.erase(m_children.begin());
    return first;
}

int CPanelObject::GetWidth(int state) const
{
    if (m_nWidth != 0)
        return m_nWidth;
    if (state >= 0 && state < PANEL_STATE_COUNT && !m_pStateImage[state].isNull())
        return m_pStateImage[state].width();
    return m_pStateImage[0].isNull() ? 0 : m_pStateImage[0].width();
}

int CPanelObject::GetHeight(int state) const
{
    if (m_nHeight != 0)
        return m_nHeight;
    if (state >= 0 && state < PANEL_STATE_COUNT && !m_pStateImage[state].isNull())
        return m_pStateImage[state].height();
    return m_pStateImage[0].isNull() ? 0 : m_pStateImage[0].height();
}

const QImage& CPanelObject::StatePicture() const
{
    const int state = (m_nState >= 0 && m_nState < PANEL_STATE_COUNT) ? m_nState : 0;
    return m_strStateFile[state].isEmpty() ? m_pStateImage[0] : m_pStateImage[state];
}

void CPanelObject::Reset()
{
    m_strValue.clear();
    m_nState = 0;
    for (auto& child : m_children)
        child->Reset();
}

void CPanelObject::UpdateState()
{
    m_nState = 0;
    if (m_strValue.isEmpty())
        return;
    for (int i = 0; i < PANEL_STATE_COUNT; ++i) {
        if (m_pStateValues[i] && CPanelConfig::ListContains(*m_pStateValues[i], m_strValue)) {
            m_nState = i;
            return;
        }
    }
}

void CPanelObject::DrawSized(QPainter&, int, int, int, int)
{
}

void CPanelObject::RememberDrawn(int x, int y, int width, int height)
{
    m_rcDrawn = QRect(x, y, width, height);
    m_bDrawn = true;
}

void CPanelObject::DrawAtPictureSize(QPainter& painter, int x, int y, double scaleX, double scaleY)
{
    m_dScaleX = scaleX;
    m_dScaleY = scaleY;
    DrawSized(painter, x, y, PanelRound(GetWidth(0) * scaleX), PanelRound(GetHeight(0) * scaleY));
}

QPoint CPanelObject::PlaceFrame(int x, int y, int width, int height)
{
    m_dScaleX = (width != 0 && GetWidth(0) != 0) ? double(width) / GetWidth(0) : 1.0;
    m_dScaleY = (height != 0 && GetHeight(0) != 0) ? double(height) / GetHeight(0) : 1.0;
    return QPoint(x + PanelRound(m_nLeft * m_dScaleX), y + PanelRound(m_nTop * m_dScaleY));
}

void CPanelObject::HitSelf(int x, int y, PanelHitResult& result) const
{
    // Edges count: a point on the right or bottom edge is a hit.
    if (m_bDrawn && x >= m_rcDrawn.left() && y >= m_rcDrawn.top()
        && x <= m_rcDrawn.left() + m_rcDrawn.width() && y <= m_rcDrawn.top() + m_rcDrawn.height())
        result[m_strTag] = m_strName;
}

void CPanelObject::HitChildren(int x, int y, PanelHitResult& result) const
{
    for (const auto& child : m_children)
        child->HitTest(x, y, result);
}

void CPanelObject::HitTest(int x, int y, PanelHitResult& result) const
{
    HitSelf(x, y, result);
    HitChildren(x, y, result);
}

bool CPanelObject::RefreshOwnOID()
{
    // Absolute OIDs (without the leading ".") are never read.
    if (!m_strOID.startsWith(QLatin1Char('.')))
        return true;
    const QString oid = m_pController->Config().m_strOIDRoot + m_strOID;
    QStringList values;
    if (m_strType == QLatin1String("POWERMAX")) {
        // A power reading against the threshold: "2" above it, else "1".
        const PanelRead read = m_pController->ReadValues({oid}, values, 2 * SettingToInt(g_strSnmpTimeout));
        if (read != PanelRead::Answered || values.value(0).isEmpty()) {
            m_strValue.clear();
            return read != PanelRead::NoAnswer;
        }
        const float reading = float(CPanelConfig::LeadingInt(values.value(0)));
        m_strValue = reading > m_pController->Config().m_fPowerMaxThreshold ? QStringLiteral("2")
                                                                             : QStringLiteral("1");
        return true;
    }
    const PanelRead read = m_pController->ReadValues({oid}, values, 0);
    m_strValue = read == PanelRead::Answered ? values.value(0) : QString();
    return read != PanelRead::NoAnswer;
}

bool CPanelObject::RefreshCompound()
{
    CCompondOIDObject& set = *m_commpdOIDObject;
    QStringList oids;
    for (const CCompondOIDEntry& entry : set.m_arrEntries)
        oids << (entry.OID.startsWith(QLatin1Char('.')) ? m_pController->Config().m_strOIDRoot + entry.OID
                                                        : entry.OID);
    if (oids.isEmpty()) {
        m_strValue.clear();
        return true;
    }
    QStringList values;
    const PanelRead read = m_pController->ReadValues(oids, values, 0);
    // The answer counts only when it holds one value per entry.
    if (read != PanelRead::Answered || values.size() != oids.size()) {
        m_strValue.clear();
        return read != PanelRead::NoAnswer;
    }
    for (int j = 0; j < set.GetCount(); ++j)
        set.m_arrEntries[size_t(j)].value = values[j];
    TranslateCompoundValues();
    m_strValue = SelectCompoundValue();
    return true;
}

void CPanelObject::TranslateCompoundValues()
{
    if (!m_commpdOIDObject || !m_pController || m_commpdOIDObject->GetCount() == 0)
        return;
    const int kind = m_commpdOIDObject->FirstKind();
    QString key;
    if (kind == CCompondOIDObject::KIND_POEMODE)
        key = QStringLiteral("POEMODEOID");
    else if (kind == CCompondOIDObject::KIND_PORTTYPE)
        key = QStringLiteral("PORTTYPE");
    else
        return;
    const CPanelConfig& config = m_pController->Config();
    QString& value = m_commpdOIDObject->m_arrEntries.front().value;
    for (const QString& name : config.DeviceIniList(QStringLiteral("OID"), key)) {
        if (CPanelConfig::ListContains(config.DeviceIniList(QStringLiteral("OID_") + key, name), value)) {
            value = name;
            return;
        }
    }
}

QString CPanelObject::SelectCompoundValue() const
{
    if (!m_commpdOIDObject)
        return QString();
    switch (m_commpdOIDObject->FirstKind()) {
    case CCompondOIDObject::KIND_PORTTYPE:
        return m_commpdOIDObject->GetMediumValue(m_strType);
    case CCompondOIDObject::KIND_POEMODE:
        return m_commpdOIDObject->GetPoeModeValue();
    default:
        return m_commpdOIDObject->GetValue();
    }
}

bool CPanelObject::Refresh()
{
    bool ok = true;
    if (m_pController) {
        if (!m_strOID.isEmpty())
            ok = RefreshOwnOID();
        else if (m_commpdOIDObject)
            ok = RefreshCompound();
    }
    if (!IsDevice()) {
        // An LED inside a port shows the port's value through its own lists.
        for (auto& child : m_children) {
            if (!child->IsDevice() && !child->m_bOwnSource)
                child->m_strValue = m_strValue;
        }
    }
    qCDebug(lcPanelObject).noquote() << "ID =" << m_strID << "value =" << m_strValue << "type =" << m_strType;
    UpdateState();
    for (size_t i = 0; ok && i < m_children.size() && m_pController && m_pController->KeepReading(); ++i)
        ok = m_children[i]->Refresh();
    return ok;
}

const CPanelObject* CPanelObject::FindByID(const QString& id) const
{
    if (m_strID == id)
        return this;
    for (const auto& child : m_children) {
        if (const CPanelObject* found = child->FindByID(id))
            return found;
    }
    return nullptr;
}

void CPanelObject::AppendToRelativeOIDs(const QString& suffix)
{
    for (auto& child : m_children) {
        if (child->m_strOID.startsWith(QLatin1Char('.')))
            child->m_strOID += suffix;
        child->AppendToRelativeOIDs(suffix);
    }
}

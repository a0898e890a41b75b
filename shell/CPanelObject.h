#pragma once

// One element of the front-panel picture (a device, slot, port, lamp or
// LED), built from an element of the panel XML. Each object shows one of
// up to 20 state pictures; which one is decided by the value read from its
// own OID, derived from its compound OID set, or inherited from the object
// it sits in. Children are kept newest first (reverse document order), and
// drawing, hit testing and the refresh pass walk them in that order.

#include <QDomElement>
#include <QImage>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CCompondOIDObject;
class CPanelView;
class QPainter;

constexpr int PANEL_STATE_COUNT = 20;

// The state keywords in state order (BMP is state 0, BMPCUSTOM_5 state 19).
extern const char* const g_szPanelStateKeys[PANEL_STATE_COUNT];

using PanelHitResult = QMap<QString, QString>;

class CPanelObject
{
public:
    // Builds the object from its element: reads and removes its property
    // child elements, loads its state pictures and value lists and then
    // builds its child objects from what remains. A null element gives an
    // empty object (the container of a loaded file).
    CPanelObject(CPanelView* controller, const QString& tag, QDomElement element);
    virtual ~CPanelObject();

    CPanelObject(const CPanelObject&) = delete;
    CPanelObject& operator=(const CPanelObject&) = delete;

    // Empties the value and puts the object and its subtree in state 0.
    virtual void Reset();
    // Fills `result` with tag -> NAME of every element whose last drawn
    // rectangle holds the point (edges included).
    virtual void HitTest(int x, int y, PanelHitResult& result) const;
    // Turns the value into a state (a slot: into a module picture).
    virtual void UpdateState();
    virtual void Draw(QPainter& painter, int x, int y, double scaleX, double scaleY) = 0;
    virtual void DrawSized(QPainter& painter, int x, int y, int width, int height);

    // One refresh pass over this object and its subtree. False only when
    // the switch did not answer at all (the pass then ends); a value the
    // switch refuses or lacks puts just that object in state 0.
    bool Refresh();

    // Builds the child object for an element: DEVICE, SLOT or a cell.
    static std::unique_ptr<CPanelObject> CreateChildFromXml(CPanelView* controller,
                                                            const QString& elementName,
                                                            const QDomElement& node);
    // Inserts at the head of the child list; false for null.
    bool AddChild(std::unique_ptr<CPanelObject> child);
    // Takes the first child out of the list (null when there is none).
    std::unique_ptr<CPanelObject> TakeFirstChild();

    bool IsDevice() const { return m_strTag == QLatin1String("DEVICE"); }
    // ID empty, or LEFT or TOP -1: the object is not shown.
    bool IsEntryEmpty() const { return m_strID.isEmpty() || m_nLeft == -1 || m_nTop == -1; }

    // Text of the first child element `name` (trimmed); the element is
    // removed from the document. False when there is none.
    static bool GetAttribute(QDomElement& node, const QString& name, QString& out);
    static bool GetAttributeInt(QDomElement& node, const QString& name, int& out);

    // Size of a state's picture: WIDTH/HEIGHT when given, else the
    // picture's, else the state-0 picture's, else 0.
    int GetWidth(int state) const;
    int GetHeight(int state) const;

    // The value rule of the compound set (Translate, then Select).
    void TranslateCompoundValues();
    QString SelectCompoundValue() const;

    const std::vector<std::unique_ptr<CPanelObject>>& Children() const { return m_children; }
    // The first object in this subtree (this one included) with that ID.
    const CPanelObject* FindByID(const QString& id) const;
    // Appends `suffix` to every relative OID below this object.
    void AppendToRelativeOIDs(const QString& suffix);

    QString m_strID;
    QString m_strName;
    QString m_strType;
    QString m_strOID;
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::unique_ptr<CCompondOIDObject> m_commpdOIDObject;   // PORT elements only
    QString m_strStateFile[PANEL_STATE_COUNT];
    CPanelView* m_pController = nullptr;
    double m_dScaleX = 1.0;
    double m_dScaleY = 1.0;
    QString m_strTag;
    int m_nState = 0;
    QString m_strValue;
    QImage m_pStateImage[PANEL_STATE_COUNT];   // null: no picture
    std::optional<QStringList> m_pStateValues[PANEL_STATE_COUNT];
    bool m_bOwnSource = false;

    // Where the object was drawn last (owner coordinates); hit testing uses it.
    QRect m_rcDrawn;
    bool m_bDrawn = false;

protected:
    // The picture drawn for the current state: its own, or state 0's when
    // the element gives no file for the state.
    const QImage& StatePicture() const;
    void HitSelf(int x, int y, PanelHitResult& result) const;
    void HitChildren(int x, int y, PanelHitResult& result) const;
    void RememberDrawn(int x, int y, int width, int height);
    // Devices and slots: DrawSized at the state-0 picture's size, scaled.
    void DrawAtPictureSize(QPainter& painter, int x, int y, double scaleX, double scaleY);
    // Devices and slots: the scales that stretch the state-0 picture to
    // width x height (1 where either is 0) and the object's drawn corner.
    QPoint PlaceFrame(int x, int y, int width, int height);

    std::vector<std::unique_ptr<CPanelObject>> m_children;

private:
    void BuildCompound(QDomElement& node);
    bool RefreshOwnOID();
    bool RefreshCompound();
};

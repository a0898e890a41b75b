// The panel's configuration files, object tree, value-to-state rules and
// drawing, on fixtures written by the tests (no switch involved).

#include "CCompondOIDObject.h"
#include "CPanelConfig.h"
#include "CPanelDevice.h"
#include "CPanelSlot.h"
#include "CPanelView.h"
#include "GlobalSettings.h"
#include "MessageRecorder.h"
#include "PanelFixture.h"
#include "TestApp.h"

#include <QDomDocument>

#include <gtest/gtest.h>

namespace {

QStringList Ids(const CPanelObject& parent)
{
    QStringList ids;
    for (const auto& child : parent.Children())
        ids << child->m_strID;
    return ids;
}

const CPanelObject* Find(const CPanelDevice& root, const char* id)
{
    return root.FindByID(QString::fromLatin1(id));
}

} // namespace

// The one list rule of every INI list: a wrong trim, a dropped empty item or
// a trailing comma turned into an item would make values match the wrong state.
TEST(CPanelConfig, ValueListRule)
{
    struct Case { const char* text; QStringList items; };
    const Case cases[] = {
        {"1, 2 ,,3,", {"1", "2", "", "3"}},
        {"", {}},
        {",1", {"", "1"}},
        {"  a  ", {"a"}},
        {"1,", {"1"}},
        {"LINKOID , POEOID", {"LINKOID", "POEOID"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPanelConfig::ReadIniList(QString::fromLatin1(c.text)), c.items) << c.text;
    const QStringList list = CPanelConfig::ReadIniList(QStringLiteral("1, 2 ,,3,"));
    EXPECT_TRUE(CPanelConfig::ListContains(list, QStringLiteral("2")));
    EXPECT_FALSE(CPanelConfig::ListContains(list, QStringLiteral(" 2")));   // the value itself is not trimmed
    EXPECT_TRUE(CPanelConfig::ListContains(list, QString()));              // the empty item
}

// Paths are joined from both INI files; a folder given with backslashes
// (as the files were first written) must still be found.
TEST(CPanelConfig, PathsAndDeviceFacts)
{
    PanelFixtureFolder folder;
    QDir(folder.exeDir()).mkpath(QStringLiteral("a/b"));
    folder.write(QStringLiteral("Config.ini"), "[DeviceInfo]\nPath=a\\b\nFile=Dev.ini\n");
    folder.write(QStringLiteral("a/b/Dev.ini"),
                 "[DeviceInfo]\nXMLName=p.xml\nDeviceName=PQS-4400-28P\nOIDRoot=1.3.6\nDevicePortNum=52\n"
                 "PowerMaxThreshold=12\n[OID]\nOID=PORTTYPE, LINKOID\n");
    ResetGlobalSettings();
    CPanelConfig config;
    config.Read(folder.exeDir());
    EXPECT_EQ(config.m_strModelDir, folder.exeDir() + QStringLiteral("/a/b/"));
    EXPECT_EQ(config.m_strDeviceIni, folder.exeDir() + QStringLiteral("/a/b/Dev.ini"));
    EXPECT_EQ(config.m_strXmlPath, folder.exeDir() + QStringLiteral("/a/b/p.xml"));
    EXPECT_EQ(config.m_arrOIDKeys, QStringList({"PORTTYPE", "LINKOID"}));
    EXPECT_EQ(config.m_nOIDKeyCount, 2);
    config.PublishDeviceFacts();
    EXPECT_EQ(g_strDeviceName, QStringLiteral("PQS-4400-28P"));
    EXPECT_TRUE(g_bPoeModel);
    EXPECT_EQ(g_nDevicePortNum, 52);
    EXPECT_EQ(g_nPowerMaxThreshold, 12);
    EXPECT_EQ(g_nMediumTypeMode, 0);
    ResetGlobalSettings();
}

// Port counts the program cannot handle fall back to 28 instead of sizing
// every per-port array of the program by them; a missing count is 28 too.
TEST(CPanelConfig, PortCountFallsBackTo28)
{
    struct Case { const char* line; int ports; };
    const Case cases[] = {
        {"", 28}, {"DevicePortNum=52", 52}, {"DevicePortNum=20", 20}, {"DevicePortNum=0", 28},
        {"DevicePortNum=53", 28}, {"DevicePortNum=-4", 28}, {"DevicePortNum=x", 28}, {"DevicePortNum=24abc", 24},
    };
    for (const Case& c : cases) {
        PanelFixtureFolder folder;
        folder.config(QByteArray(), QByteArray(c.line));
        CPanelConfig config;
        config.Read(folder.exeDir());
        EXPECT_EQ(config.m_nDevicePortNum, c.ports) << c.line;
        EXPECT_EQ(config.m_nPowerMaxThreshold, 7) << c.line;
    }
    // No Config.ini at all: defaults, and an XML path that fails later.
    PanelFixtureFolder empty;
    CPanelConfig config;
    config.Read(empty.exeDir());
    EXPECT_EQ(config.m_nDevicePortNum, 28);
    EXPECT_TRUE(config.m_strDeviceName.isEmpty());
}

// The PoE rule ignores the family prefix: "anywhere" would make every model
// a PoE model, since every name begins with "PQS".
TEST(CPanelConfig, PoeModelRule)
{
    struct Case { const char* name; bool poe; };
    const Case cases[] = {
        {"PQS-4400-52", false}, {"PQS-4400-28", false}, {"PQS-4400-20", false}, {"PQS-4400-28P", true},
        {"PQS-4400-28p", true}, {"PQS-P4400", true}, {"", false}, {"pqs-4400", true}, {"XQS-4400-52", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPoeModelName(QString::fromLatin1(c.name)), c.poe) << c.name;
}

class PanelTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestApp();
        ResetGlobalSettings();
        folder.picture(QStringLiteral("a.png"), 10, 6, Qt::red);
        folder.picture(QStringLiteral("b.png"), 4, 3, Qt::green);
    }
    std::unique_ptr<CPanelDevice> load(CPanelView& view, QRect* extent = nullptr)
    {
        return view.LoadXMLFile(folder.modelPath(QStringLiteral("Panel.xml")), extent);
    }
    PanelFixtureFolder folder;
};

// Children are kept newest first: drawing and hit testing depend on it
// (the element earliest in the document lies on top).
TEST_F(PanelTree, DocumentOrderBecomesReverseListOrder)
{
    folder.config();
    folder.xml("<PANEL><DEVICE><ID>D</ID><BMP>a.png</BMP>"
               "<PORT><ID>A</ID></PORT><PORT><ID>B</ID></PORT><PORT><ID>C</ID></PORT>"
               "</DEVICE></PANEL>");
    CPanelView view(folder.exeDir());
    QRect extent;
    auto root = load(view, &extent);
    ASSERT_TRUE(root);
    // The grouping root element PANEL makes DEVICE a direct child of the container.
    ASSERT_EQ(Ids(*root), QStringList({"D"}));
    EXPECT_EQ(Ids(*root->Children().front()), QStringList({"C", "B", "A"}));
    EXPECT_EQ(extent.right(), 10);    // the panel size comes from the device's picture
    EXPECT_EQ(extent.bottom(), 6);
}

// Property texts are trimmed, numbers read like atoi, and LEFT or TOP -1
// drops the element with everything nested in it.
TEST_F(PanelTree, PropertiesAndDroppedElements)
{
    folder.config();
    folder.xml("<DEVICE><ID> D </ID><NAME>\n  Chassis \n</NAME><LEFT>3px</LEFT><TOP>x</TOP>"
               "<PORT><ID>gone</ID><LEFT>-1</LEFT><LED><ID>inner</ID></LED></PORT>"
               "<PORT><ID>gone too</ID><TOP>-1</TOP></PORT>"
               "<PORT><ID></ID></PORT>"
               "<GROUP><LED><ID>grouped</ID><WIDTH> 7 </WIDTH></LED></GROUP>"
               "</DEVICE>");
    CPanelView view(folder.exeDir());
    auto root = load(view);
    ASSERT_TRUE(root);
    // A root element with an ID is an object itself.
    ASSERT_EQ(Ids(*root), QStringList({"D"}));
    const CPanelObject& device = *root->Children().front();
    EXPECT_EQ(device.m_strName, QStringLiteral("Chassis"));
    EXPECT_EQ(device.m_nLeft, 3);
    EXPECT_EQ(device.m_nTop, 0);
    EXPECT_EQ(Ids(device), QStringList({"grouped"}));
    EXPECT_EQ(device.Children().front()->m_nWidth, 7);
    EXPECT_EQ(Find(*root, "inner"), nullptr);
}

// Reading a property removes it, so a repeated compound key is collected
// entry by entry, in the order of the [OID] list, and at most ten of them.
TEST_F(PanelTree, CompoundEntries)
{
    folder.config("[OID]\nOID=POEMODEOID,LINKOID,POEOID\n");
    QByteArray many;
    for (int i = 0; i < 12; ++i)
        many += "<LINKOID>.9." + QByteArray::number(i) + "</LINKOID>";
    folder.xml("<DEVICE><ID>D</ID>"
               "<PORT><ID>p</ID><POEOID>.3</POEOID><LINKOID>.1</LINKOID><POEMODEOID>.2</POEMODEOID>"
               "<LINKOID>.4</LINKOID></PORT>"
               "<PORT><ID>many</ID>" + many + "</PORT>"
               "<LED><ID>led</ID><LINKOID>.5</LINKOID></LED>"
               "</DEVICE>");
    CPanelView view(folder.exeDir());
    auto root = load(view);
    ASSERT_TRUE(root);
    const CPanelObject* port = Find(*root, "p");
    ASSERT_TRUE(port && port->m_commpdOIDObject);
    const auto& entries = port->m_commpdOIDObject->m_arrEntries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].OID, QStringLiteral(".2"));
    EXPECT_EQ(entries[0].kind, CCompondOIDObject::KIND_POEMODE);
    EXPECT_EQ(entries[1].OID, QStringLiteral(".1"));
    EXPECT_EQ(entries[2].OID, QStringLiteral(".4"));
    EXPECT_EQ(entries[3].kind, CCompondOIDObject::KIND_POE);
    EXPECT_TRUE(port->m_bOwnSource);
    EXPECT_EQ(Find(*root, "many")->m_commpdOIDObject->GetCount(), CCompondOIDObject::kMaxEntries);
    // Only PORT elements carry a compound set; an LED inherits its port's value.
    EXPECT_FALSE(Find(*root, "led")->m_commpdOIDObject);
    EXPECT_FALSE(Find(*root, "led")->m_bOwnSource);
}

// An unreadable file says which file; a panel without a top-level DEVICE
// must not start (it would shrink the window to nothing).
TEST_F(PanelTree, LoadFailures)
{
    MessageRecorder messages;
    folder.config();
    folder.xml("<DEVICE><ID>D</ID>");
    CPanelView view(folder.exeDir());
    QWidget owner;
    messages.expect(QStringLiteral("XML File load Error: ") + folder.modelPath(QStringLiteral("Panel.xml")));
    EXPECT_FALSE(view.Init(&owner, true));
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("XML File load Error: ") + folder.modelPath(QStringLiteral("Panel.xml"))}));
    EXPECT_FALSE(view.StartRefresh(100));

    messages.clear();
    folder.xml("<PANEL><PORT><ID>p</ID><BMP>a.png</BMP></PORT></PANEL>");
    EXPECT_FALSE(view.Init(&owner, true));
    EXPECT_TRUE(messages.texts().isEmpty());
    PanelHitResult hit;
    EXPECT_FALSE(view.HitTest(QPoint(1, 1), hit));

    EXPECT_FALSE(view.Init(nullptr, true));
}

// Value to state: the lowest state whose list holds the whole value, and
// only states the element has a picture for.
TEST_F(PanelTree, ValueToState)
{
    folder.config("[PORT_T]\nBMPOFF=9\nBMPEMPTY=3,4\nBMPLINK10=5\nBMPLINK100=4, 5 ,6\nBMPERROR=\n");
    folder.xml("<DEVICE><ID>D</ID><PORT><ID>p</ID><TYPE>T</TYPE><BMP>a.png</BMP><BMPEMPTY>b.png</BMPEMPTY>"
               "<BMPLINK100>b.png</BMPLINK100><BMPERROR>b.png</BMPERROR></PORT></DEVICE>");
    CPanelView view(folder.exeDir());
    auto root = load(view);
    ASSERT_TRUE(root);
    auto* port = const_cast<CPanelObject*>(Find(*root, "p"));
    struct Case { const char* value; int state; const char* why; };
    const Case cases[] = {
        {"4", 3, "in the lists of states 3 and 8: the lowest wins"},
        {"5", 8, "state 7 lists it but has no picture"},
        {"6", 8, "items are trimmed"},
        {" 6", 0, "the value is not trimmed"},
        {"9", 0, "state 2 has no picture"},
        {"", 0, "an empty value matches nothing, not even an empty item"},
        {"77", 0, "no list holds it"},
    };
    for (const Case& c : cases) {
        port->m_strValue = QString::fromLatin1(c.value);
        port->m_nState = 5;
        port->UpdateState();
        EXPECT_EQ(port->m_nState, c.state) << c.why;
    }
}

// The compound rules, on sets filled by hand.
TEST(CCompondOIDObject, Rules)
{
    const auto set = [](std::initializer_list<std::pair<const char*, const char*>> entries) {
        CCompondOIDObject s;
        for (auto [name, value] : entries) {
            s.Add(QString::fromLatin1(name), QStringLiteral(".1"));
            s.m_arrEntries.back().value = QString::fromLatin1(value);
        }
        return s;
    };
    // PoE mode: the link value when the mode names LINKOID, else the PoE value.
    EXPECT_EQ(set({{"POEMODEOID", "LINKOID"}, {"LINKOID", "2"}, {"POEOID", "7"}}).GetPoeModeValue(), "2");
    EXPECT_EQ(set({{"POEMODEOID", "LINKOID"}, {"POEOID", "7"}, {"LINKOID", "2"}}).GetPoeModeValue(), "2");
    EXPECT_EQ(set({{"POEMODEOID", "POEOID"}, {"LINKOID", "2"}, {"POEOID", "7"}}).GetPoeModeValue(), "7");
    EXPECT_EQ(set({{"POEMODEOID", "3"}, {"POEOID", "7"}, {"LINKOID", "2"}}).GetPoeModeValue(), "7");
    EXPECT_EQ(set({{"POEMODEOID", "LINKOID"}, {"LINKOID", "2"}}).GetPoeModeValue(), "");
    // Medium: the link value only when the medium matches the element's type.
    EXPECT_EQ(set({{"PORTTYPE", "FIBEROID"}, {"LINKOID", "2"}}).GetMediumValue("FIBER"), "2");
    EXPECT_EQ(set({{"PORTTYPE", "CABLEOID"}, {"LINKOID", "2"}}).GetMediumValue("CABLE"), "2");
    EXPECT_EQ(set({{"PORTTYPE", "FIBEROID"}, {"LINKOID", "2"}}).GetMediumValue("CABLE"), "1");
    EXPECT_EQ(set({{"PORTTYPE", "4"}, {"LINKOID", "2"}}).GetMediumValue("FIBER"), "1");
    EXPECT_EQ(set({{"PORTTYPE", "FIBEROID"}}).GetMediumValue("FIBER"), "");
    // Plain: the first value that is not "1"; a single entry shows its own.
    EXPECT_EQ(set({{"LINKOID", "1"}, {"CABLEOID", "3"}}).GetValue(), "3");
    EXPECT_EQ(set({{"LINKOID", "2"}, {"CABLEOID", "3"}}).GetValue(), "2");
    EXPECT_EQ(set({{"LINKOID", "1"}, {"CABLEOID", "1"}}).GetValue(), "1");
    EXPECT_EQ(set({{"LINKOID", "4"}}).GetValue(), "4");
    EXPECT_EQ(set({{"LINKOID", "4"}, {"LINKOID", "4"}, {"LINKOID", "4"}}).GetValue(), "");
}

// The medium code is translated through [OID_PORTTYPE] before the rule runs.
TEST_F(PanelTree, CompoundTranslation)
{
    folder.config("[OID]\nOID=PORTTYPE,LINKOID\nPORTTYPE=CABLEOID,FIBEROID\n"
                  "[OID_PORTTYPE]\nCABLEOID=1,2\nFIBEROID=3,4\n");
    folder.xml("<DEVICE><ID>D</ID><PORT><ID>p</ID><TYPE>CABLE</TYPE><PORTTYPE>.7</PORTTYPE>"
               "<LINKOID>.3</LINKOID></PORT></DEVICE>");
    CPanelView view(folder.exeDir());
    auto root = load(view);
    ASSERT_TRUE(root);
    auto* port = const_cast<CPanelObject*>(Find(*root, "p"));
    struct Case { const char* medium; const char* shown; };
    const Case cases[] = {{"2", "5"}, {"1", "5"}, {"4", "1"}, {"9", "1"}};
    for (const Case& c : cases) {
        port->m_commpdOIDObject->m_arrEntries[0].value = QString::fromLatin1(c.medium);
        port->m_commpdOIDObject->m_arrEntries[1].value = QStringLiteral("5");
        port->TranslateCompoundValues();
        EXPECT_EQ(port->SelectCompoundValue(), QString::fromLatin1(c.shown)) << c.medium;
    }
}

// Drawing and hit testing on solid pictures: where each picture lands at
// the panel's size and scaled, which element names a hit, and that a cell
// without WIDTH and HEIGHT is hit where it is drawn.
TEST_F(PanelTree, DrawingAndHitTesting)
{
    folder.picture(QStringLiteral("chassis.png"), 100, 50, Qt::blue);
    folder.picture(QStringLiteral("port.png"), 20, 10, Qt::red);
    folder.picture(QStringLiteral("led.png"), 8, 8, Qt::yellow);
    folder.picture(QStringLiteral("top.png"), 20, 10, Qt::white);
    folder.config();
    folder.xml("<PANEL><DEVICE><ID>D</ID><NAME>Switch</NAME><BMP>chassis.png</BMP>"
               "<PORT><ID>1</ID><NAME>Port 1</NAME><LEFT>10</LEFT><TOP>10</TOP><WIDTH>20</WIDTH><HEIGHT>10</HEIGHT>"
               "<BMP>port.png</BMP>"
               "  <LED><ID>L1</ID><NAME>Led 1</NAME><LEFT>60</LEFT><TOP>30</TOP><BMP>led.png</BMP></LED></PORT>"
               "<PORT><ID>2</ID><NAME>Port 2</NAME><LEFT>40</LEFT><TOP>10</TOP><BMP>port.png</BMP></PORT>"
               "<PORT><ID>3</ID><NAME>Port 3</NAME><LEFT>45</LEFT><TOP>15</TOP><BMP>top.png</BMP></PORT>"
               "</DEVICE></PANEL>");
    CPanelView view(folder.exeDir());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    EXPECT_EQ(view.PanelSize(), QSize(100, 50));
    EXPECT_EQ(host.size(), QSize(100, 50));   // the owner is sized to the panel

    QImage shot = host.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(29, 19), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(30, 20), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(63, 33), QColor(Qt::yellow));   // the LED, relative to the device
    // Port 2 comes earlier in the document than port 3: it lies on top.
    EXPECT_EQ(shot.pixelColor(50, 17), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(62, 22), QColor(Qt::white));

    struct Case { QPoint at; const char* tag; const char* name; };
    const Case hits[] = {
        {{10, 10}, "PORT", "Port 1"},
        {{30, 20}, "PORT", "Port 1"},   // the right and bottom edges count
        {{50, 17}, "PORT", "Port 2"},   // the element on top names the hit
        {{64, 34}, "LED", "Led 1"},     // no WIDTH/HEIGHT: its picture's rectangle
        {{5, 5}, "DEVICE", "Switch"},
    };
    for (const Case& c : hits) {
        PanelHitResult result;
        ASSERT_TRUE(view.HitTest(c.at, result));
        EXPECT_EQ(result.value(QString::fromLatin1(c.tag)), QString::fromLatin1(c.name))
            << c.at.x() << "," << c.at.y();
    }
    PanelHitResult miss;
    ASSERT_TRUE(view.HitTest(QPoint(31, 21), miss));
    EXPECT_FALSE(miss.contains(QStringLiteral("PORT")));

    // Scaled into a larger window: twice the size, and hits follow the pictures.
    host.drawSize = QSize(200, 100);
    host.resize(200, 100);
    shot = host.grab().toImage();
    EXPECT_EQ(shot.pixelColor(22, 22), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(58, 38), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(62, 42), QColor(Qt::blue));
    PanelHitResult scaled;
    ASSERT_TRUE(view.HitTest(QPoint(58, 38), scaled));
    EXPECT_EQ(scaled.value(QStringLiteral("PORT")), QStringLiteral("Port 1"));
    PanelHitResult outside;
    ASSERT_TRUE(view.HitTest(QPoint(35, 15), outside));
    EXPECT_FALSE(outside.contains(QStringLiteral("PORT")));
}

// A slot shows the module its value names and completes the module's
// relative OIDs with its own ID; an unknown value removes the module.
TEST_F(PanelTree, SlotModules)
{
    folder.picture(QStringLiteral("chassis.png"), 100, 50, Qt::blue);
    folder.picture(QStringLiteral("bay.png"), 30, 20, Qt::gray);
    folder.picture(QStringLiteral("module.png"), 30, 20, Qt::green);
    folder.config("[SLOT_BAY]\n7=Module.xml\n8=Missing.xml\n");
    folder.write(QStringLiteral("model/Module.xml"),
                 "<DEVICE><ID>M</ID><BMP>module.png</BMP><LED><ID>ml</ID><OID>.1.2.</OID></LED></DEVICE>");
    folder.xml("<DEVICE><ID>D</ID><BMP>chassis.png</BMP>"
               "<SLOT><ID>3</ID><NAME>Slot 3</NAME><TYPE>BAY</TYPE><LEFT>50</LEFT><TOP>20</TOP>"
               "<BMP>bay.png</BMP></SLOT></DEVICE>");
    MessageRecorder messages;
    CPanelView view(folder.exeDir());
    PanelHost host(view);
    ASSERT_TRUE(view.Init(&host, true));
    auto root = load(view);
    auto* slot = static_cast<CPanelSlot*>(const_cast<CPanelObject*>(Find(*root, "3")));
    ASSERT_TRUE(slot);
    slot->m_strValue = QStringLiteral("7");
    slot->UpdateState();
    ASSERT_TRUE(slot->m_pModuleDevice);
    EXPECT_EQ(slot->m_pModuleDevice->m_strID, QStringLiteral("M"));
    EXPECT_EQ(slot->m_pModuleDevice->Children().front()->m_strOID, QStringLiteral(".1.2.3"));
    const CPanelObject* module = slot->m_pModuleDevice.get();
    slot->UpdateState();   // same value: the module stays as it is
    EXPECT_EQ(slot->m_pModuleDevice.get(), module);
    slot->m_strValue = QStringLiteral("9");
    slot->UpdateState();
    EXPECT_FALSE(slot->m_pModuleDevice);
    EXPECT_TRUE(messages.texts().isEmpty());
    // A module file that cannot be read is reported (on the GUI thread at once).
    messages.expect(QStringLiteral("XML File load Error: ") + folder.modelPath(QStringLiteral("Missing.xml")));
    slot->m_strValue = QStringLiteral("8");
    slot->UpdateState();
    EXPECT_FALSE(slot->m_pModuleDevice);
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("XML File load Error: ") + folder.modelPath(QStringLiteral("Missing.xml"))}));
}

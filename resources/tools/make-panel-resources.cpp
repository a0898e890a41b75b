// Draws the front-panel pictures of the PQS-4400 models and writes each
// model's panel XML and device INI, so that the panel can be changed
// without an image editor. Run through scripts/make-panel-resources.sh; the
// output is committed under resources/.
//
//   make-panel-resources OUTPUT-FOLDER

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cstdio>

namespace {

const char* const kOIDRoot = "1.3.6.1.4.1.32473.10.126.4.1";

// Geometry shared by every model (panel pixels).
constexpr int kHeight = 132;
constexpr int kEar = 26;            // rack ear at each end
constexpr int kLogoWidth = 128;     // model name and lamps
constexpr int kJackW = 32, kJackH = 26;
constexpr int kColumnPitch = 36;    // one pair of jacks (odd over even)
constexpr int kGroupGap = 12;       // between groups of 8 ports
constexpr int kTopRow = 36, kBottomRow = 72;
constexpr int kLedW = 10, kLedH = 5;
constexpr int kCageW = 42, kCageH = 22;
constexpr int kCagePitch = 48;
constexpr int kSfpGap = 26;         // between the copper ports and the cages
constexpr int kLampSize = 12;

struct Model
{
    QString name;
    int copper;
    int sfp;
};

struct Place
{
    int port;
    bool top;
    bool sfp;
    QRect jack;
    QRect led;
};

QList<Place> Layout(const Model& m, int& width)
{
    QList<Place> places;
    int x = kEar + kLogoWidth;
    for (int p = 1; p <= m.copper; p += 2) {
        const int column = (p - 1) / 2;
        if (column > 0 && column % 4 == 0)
            x += kGroupGap;
        for (int k = 0; k < 2; ++k) {
            const bool top = k == 0;
            Place place{p + k, top, false, QRect(x, top ? kTopRow : kBottomRow, kJackW, kJackH), QRect()};
            const int ledX = x + (kJackW - kLedW) / 2;
            place.led = top ? QRect(ledX, kTopRow - kLedH - 4, kLedW, kLedH)
                            : QRect(ledX, kBottomRow + kJackH + 4, kLedW, kLedH);
            places << place;
        }
        x += kColumnPitch;
    }
    x += kSfpGap - (kColumnPitch - kJackW);
    for (int i = 0; i < m.sfp; i += 2) {
        for (int k = 0; k < 2 && i + k < m.sfp; ++k) {
            const bool top = k == 0;
            const int y = top ? kTopRow + 2 : kBottomRow + 2;
            Place place{m.copper + i + k + 1, top, true, QRect(x, y, kCageW, kCageH), QRect()};
            const int ledX = x + (kCageW - kLedW) / 2;
            place.led = top ? QRect(ledX, y - kLedH - 6, kLedW, kLedH) : QRect(ledX, y + kCageH + 6, kLedW, kLedH);
            places << place;
        }
        x += kCagePitch;
    }
    width = x - (kCagePitch - kCageW) + 18 + kEar;
    return places;
}

QRect LampRect(int index)
{
    return QRect(kEar + 16, 62 + index * 26, kLampSize, kLampSize);
}

// ----------------------------------------------------------------- pictures

QImage Chassis(const Model& m, const QList<Place>& places, int width)
{
    QImage img(width, kHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Rack ears: brushed steel with two slots each.
    for (int side = 0; side < 2; ++side) {
        const QRectF ear(side ? width - kEar : 0, 0, kEar, kHeight);
        QLinearGradient g(ear.topLeft(), ear.topRight());
        g.setColorAt(0, QColor(170, 173, 178));
        g.setColorAt(1, QColor(128, 131, 136));
        p.fillRect(ear, g);
        p.setPen(QColor(90, 92, 96));
        p.drawRect(ear.adjusted(0.5, 0.5, -0.5, -0.5));
        for (int y : {24, kHeight - 24}) {
            QRectF slot(ear.center().x() - 6, y - 4, 12, 8);
            p.setBrush(QColor(40, 40, 44));
            p.drawRoundedRect(slot, 4, 4);
        }
    }
    // Front plate: dark anodised metal.
    const QRectF plate(kEar, 0, width - 2 * kEar, kHeight);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, QColor(72, 76, 82));
    g.setColorAt(0.08, QColor(56, 59, 64));
    g.setColorAt(0.92, QColor(44, 46, 50));
    g.setColorAt(1, QColor(30, 31, 34));
    p.fillRect(plate, g);
    p.setPen(QColor(20, 20, 22));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plate.adjusted(0.5, 0.5, -0.5, -0.5));

    // Maker's strip and model name.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(236, 238, 240));
    p.drawText(QRect(kEar + 12, 12, kLogoWidth - 16, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VELMARC"));
    font.setPixelSize(11);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(170, 200, 230));
    p.drawText(QRect(kEar + 12, 32, kLogoWidth - 16, 16), Qt::AlignLeft | Qt::AlignVCenter, m.name);

    // Lamp labels and bezels.
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    const char* labels[] = {"PWR", "SYS"};
    for (int i = 0; i < 2; ++i) {
        const QRect lamp = LampRect(i);
        p.setPen(QColor(20, 20, 22));
        p.setBrush(QColor(24, 24, 26));
        p.drawEllipse(QRectF(lamp).adjusted(-2, -2, 2, 2));
        p.setPen(QColor(205, 208, 212));
        p.drawText(QRect(lamp.right() + 8, lamp.top() - 2, 40, lamp.height() + 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(labels[i]));
    }
    // Legend of the link colours.
    font.setBold(false);
    font.setPixelSize(8);
    p.setFont(font);
    const struct { QColor colour; const char* text; } legend[] = {
        {QColor(40, 220, 70), "1000M"}, {QColor(255, 150, 20), "10/100M"}};
    int lx = kEar + 12;
    for (const auto& item : legend) {
        p.setPen(Qt::NoPen);
        p.setBrush(item.colour);
        p.drawRect(QRectF(lx, kHeight - 19, 8, 4));
        p.setPen(QColor(170, 174, 180));
        const QString text = QString::fromLatin1(item.text);
        p.drawText(QRect(lx + 11, kHeight - 23, 50, 12), Qt::AlignLeft | Qt::AlignVCenter, text);
        lx += 11 + QFontMetrics(font).horizontalAdvance(text) + 10;
    }

    // Port numbers, a frame around each group and around the cages.
    font.setPixelSize(9);
    font.setBold(false);
    p.setFont(font);
    for (const Place& place : places) {
        p.setPen(QColor(200, 204, 210));
        const QRect label = place.top ? QRect(place.jack.left() - 4, place.led.top() - 13, place.jack.width() + 8, 11)
                                      : QRect(place.jack.left() - 4, place.led.bottom() + 3, place.jack.width() + 8, 11);
        p.drawText(label, Qt::AlignCenter, QString::number(place.port));
        // Recess behind each jack or cage.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(22, 22, 24));
        p.drawRoundedRect(QRectF(place.jack).adjusted(-2, -2, 2, 2), 3, 3);
        p.setBrush(QColor(16, 16, 18));
        p.drawRect(QRectF(place.led).adjusted(-1, -1, 1, 1));
    }
    // Group separators for the copper ports.
    p.setPen(QPen(QColor(90, 94, 100), 1));
    for (int i = 0; i + 1 < places.size(); ++i) {
        const Place& a = places[i];
        const Place& b = places[i + 1];
        if (!a.sfp && a.top == b.top) continue;
        if (!a.sfp && i + 2 < places.size() && !places[i + 2].sfp && a.port % 8 == 0) {
            const int x = (a.jack.right() + places[i + 2].jack.left()) / 2 + 1;
            p.drawLine(x, 20, x, kHeight - 20);
        }
    }
    if (!places.isEmpty()) {
        // Silk-screen box around the SFP cages.
        QRect cages;
        for (const Place& place : places)
            if (place.sfp) cages = cages.united(place.jack);
        if (!cages.isNull()) {
            p.setPen(QPen(QColor(140, 146, 154), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(cages).adjusted(-7, -24, 7, 24), 4, 4);
        }
    }
    return img;
}

// The mark of the neutral picture shown while a state is unknown.
void QuestionMark(QPainter& p, const QRectF& area)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(190, 190, 190));
    p.drawText(area, Qt::AlignCenter, QStringLiteral("?"));
}

// An RJ45 jack seen from the front; `glow` tints its contacts by link speed
// (invalid: no link), `unknown` draws the neutral picture for state 0.
QImage Jack(bool top, QColor glow, bool unknown)
{
    QImage img(kJackW, kJackH, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Metal shield.
    QLinearGradient shield(0, 0, 0, kJackH);
    shield.setColorAt(0, unknown ? QColor(150, 150, 150) : QColor(196, 198, 202));
    shield.setColorAt(1, unknown ? QColor(110, 110, 110) : QColor(140, 143, 148));
    p.setPen(QColor(70, 72, 76));
    p.setBrush(shield);
    p.drawRoundedRect(QRectF(0.5, 0.5, kJackW - 1, kJackH - 1), 2, 2);
    // Opening with the latch notch away from the pair's middle.
    QPainterPath hole;
    const QRectF body(4, top ? 4 : 5, kJackW - 8, kJackH - 9);
    hole.addRect(body);
    const QRectF notch(kJackW / 2.0 - 5, top ? body.bottom() - 1 : body.top() - 4, 10, 5);
    hole.addRect(notch);
    hole = hole.simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(unknown ? QColor(85, 85, 85) : QColor(14, 14, 16));
    p.drawPath(hole);
    // The eight contacts.
    const QColor contact = unknown ? QColor(125, 125, 125) : glow.isValid() ? glow : QColor(150, 120, 50);
    const qreal cy = top ? body.top() + 1 : body.bottom() - 5;
    for (int i = 0; i < 8; ++i) {
        p.fillRect(QRectF(body.left() + 2 + i * (body.width() - 4) / 8.0, cy, 1.5, 4), contact);
    }
    if (glow.isValid() && !unknown) {
        // Link: the opening lights up in the speed's colour.
        QColor wash = glow;
        wash.setAlpha(70);
        p.setBrush(wash);
        p.drawPath(hole);
    }
    if (unknown)
        QuestionMark(p, body);
    return img;
}

// An SFP cage, empty or with a module whose pull tab shows the link colour.
QImage Cage(QColor glow, bool unknown)
{
    QImage img(kCageW, kCageH, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient metal(0, 0, 0, kCageH);
    metal.setColorAt(0, unknown ? QColor(150, 150, 150) : QColor(205, 208, 212));
    metal.setColorAt(1, unknown ? QColor(110, 110, 110) : QColor(150, 153, 158));
    p.setPen(QColor(70, 72, 76));
    p.setBrush(metal);
    p.drawRect(QRectF(0.5, 0.5, kCageW - 1, kCageH - 1));
    const QRectF mouth(3, 3, kCageW - 6, kCageH - 6);
    p.setPen(Qt::NoPen);
    p.setBrush(unknown ? QColor(85, 85, 85) : QColor(12, 12, 14));
    p.drawRect(mouth);
    if (glow.isValid() && !unknown) {
        // A module with its duplex LC receptacle.
        p.setBrush(QColor(60, 62, 66));
        p.drawRect(mouth.adjusted(2, 2, -2, -2));
        p.setBrush(QColor(20, 20, 22));
        p.drawRoundedRect(QRectF(mouth.left() + 6, mouth.top() + 4, 9, 8), 2, 2);
        p.drawRoundedRect(QRectF(mouth.right() - 15, mouth.top() + 4, 9, 8), 2, 2);
        p.setBrush(glow);
        p.drawRect(QRectF(mouth.left() + 2, mouth.bottom() - 4, mouth.width() - 4, 2));
    }
    if (unknown)
        QuestionMark(p, mouth);
    return img;
}

QImage Light(int w, int h, QColor colour, bool round)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(w / 2.0, h / 2.0), std::max(w, h) / 1.4, QPointF(w / 2.5, h / 3.0));
    g.setColorAt(0, colour.lighter(160));
    g.setColorAt(1, colour);
    p.setPen(QColor(10, 10, 10));
    p.setBrush(g);
    if (round)
        p.drawEllipse(QRectF(0.5, 0.5, w - 1, h - 1));
    else
        p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return img;
}

// ------------------------------------------------------------ text files

bool Write(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(text.toUtf8());
    return true;
}

QString Element(const QString& name, const QString& value, int indent)
{
    return QString(indent, QLatin1Char(' ')) + QStringLiteral("<%1>%2</%1>\n").arg(name, value);
}

QString Position(const QRect& r, int indent)
{
    return Element("LEFT", QString::number(r.left()), indent) + Element("TOP", QString::number(r.top()), indent)
           + Element("WIDTH", QString::number(r.width()), indent)
           + Element("HEIGHT", QString::number(r.height()), indent);
}

QString PanelXml(const Model& m, const QList<Place>& places)
{
    QString x;
    x += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    x += "<!-- Front panel of the " + m.name + "; written by make-panel-resources. -->\n";
    x += "<PANEL>\n  <DEVICE>\n";
    x += Element("ID", m.name, 4) + Element("NAME", m.name, 4);
    x += Element("LEFT", "0", 4) + Element("TOP", "0", 4) + Element("BMP", "chassis.png", 4);
    const char* lampIds[] = {"PWR", "SYS"};
    const char* lampNames[] = {"Power", "System"};
    for (int i = 0; i < 2; ++i) {
        x += "    <LAMP>\n";
        x += Element("ID", lampIds[i], 6) + Element("NAME", lampNames[i], 6);
        x += Element("OID", QStringLiteral(".1.15.%1.0").arg(i + 1), 6);
        x += Position(LampRect(i), 6) + Element("TYPE", lampIds[i], 6);
        x += Element("BMP", "lamp_unknown.png", 6) + Element("BMPON", "lamp_green.png", 6)
             + Element("BMPERROR", "lamp_amber.png", 6);
        x += "    </LAMP>\n";
    }
    for (const Place& place : places) {
        const QString n = QString::number(place.port);
        const QString o = place.top ? "up" : "dn";
        x += "    <PORT>\n";
        x += Element("ID", n, 6) + Element("NAME", "Port " + n, 6) + Position(place.jack, 6);
        if (place.sfp) {
            x += Element("TYPE", "FIBER", 6);
            x += Element("PORTTYPE", ".1.13.1.7." + n, 6) + Element("LINKOID", ".1.13.1.3." + n, 6);
            x += Element("BMP", "sfp_unknown.png", 6) + Element("BMPLINKDOWN", "sfp_down.png", 6)
                 + Element("BMPLINK10", "sfp_100.png", 6) + Element("BMPLINK100", "sfp_100.png", 6)
                 + Element("BMPLINK1000", "sfp_1000.png", 6);
        } else {
            x += Element("TYPE", "RJ45", 6);
            x += Element("LINKOID", ".1.13.1.3." + n, 6);
            x += Element("BMP", "rj45_" + o + "_unknown.png", 6)
                 + Element("BMPLINKDOWN", "rj45_" + o + "_down.png", 6)
                 + Element("BMPLINK10", "rj45_" + o + "_10.png", 6)
                 + Element("BMPLINK100", "rj45_" + o + "_100.png", 6)
                 + Element("BMPLINK1000", "rj45_" + o + "_1000.png", 6);
        }
        x += "      <LED>\n";
        x += Element("ID", "L" + n, 8) + Element("NAME", "Port " + n + " link", 8) + Position(place.led, 8);
        x += Element("TYPE", "LINK", 8);
        x += Element("BMP", "led_unknown.png", 8) + Element("BMPLINKDOWN", "led_off.png", 8)
             + Element("BMPLINK10", "led_amber.png", 8) + Element("BMPLINK100", "led_amber.png", 8)
             + Element("BMPLINK1000", "led_green.png", 8);
        x += "      </LED>\n";
        x += "    </PORT>\n";
    }
    x += "  </DEVICE>\n</PANEL>\n";
    return x;
}

QString DeviceIni(const Model& m)
{
    const QString linkStates = "BMPLINKDOWN=1\nBMPLINK1000=2\nBMPLINK100=3,4\nBMPLINK10=5,6\n";
    QString s;
    s += "; " + m.name + ": " + QString::number(m.copper) + " copper ports and " + QString::number(m.sfp)
         + " SFP cages. Written by make-panel-resources.\n";
    s += "[DeviceInfo]\n";
    s += "XMLName=" + m.name + ".xml\n";
    s += "DeviceName=" + m.name + "\n";
    s += QStringLiteral("OIDRoot=%1\n").arg(QLatin1String(kOIDRoot));
    s += "PowerMaxThreshold=7\n";
    s += "DevicePortNum=" + QString::number(m.copper + m.sfp) + "\n";
    s += "MediumTypeMode=0\n\n";
    s += "; Compound OIDs of a PORT element, in the order they are collected.\n";
    s += "[OID]\nOID=PORTTYPE,LINKOID\nPORTTYPE=CABLEOID,FIBEROID\n\n";
    s += "; Medium codes: 1 copper (no 1000M), 2 copper, 3 SFP 100Base-x, 4 SFP 1000Base-x.\n";
    s += "[OID_PORTTYPE]\nCABLEOID=1,2\nFIBEROID=3,4\n\n";
    s += "; Link codes: 1 down, 2 1000M full, 3 100M full, 4 100M half, 5 10M full, 6 10M half.\n";
    s += "[PORT_RJ45]\n" + linkStates + "\n";
    s += "[PORT_FIBER]\n" + linkStates + "\n";
    s += "[LED_LINK]\n" + linkStates + "\n";
    s += "; Lamps: 1 normal, 2 fault.\n";
    s += "[LAMP_PWR]\nBMPON=1\nBMPERROR=2\n\n";
    s += "[LAMP_SYS]\nBMPON=1\nBMPERROR=2\n";
    return s;
}

bool Save(const QImage& img, const QString& path)
{
    if (img.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-panel-resources OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QList<Model> models = {
        {"PQS-4400-52", 48, 4},
        {"PQS-4400-28", 24, 4},
        {"PQS-4400-20", 16, 4},
        {"PQS-4400-28P", 24, 4},
    };
    bool ok = true;
    for (const Model& m : models) {
        out.mkpath(m.name);
        const QString dir = out.filePath(m.name) + "/";
        int width = 0;
        const QList<Place> places = Layout(m, width);
        ok &= Save(Chassis(m, places, width), dir + "chassis.png");
        for (const bool top : {true, false}) {
            const QString o = top ? "up" : "dn";
            ok &= Save(Jack(top, QColor(), true), dir + "rj45_" + o + "_unknown.png");
            ok &= Save(Jack(top, QColor(), false), dir + "rj45_" + o + "_down.png");
            ok &= Save(Jack(top, QColor(250, 214, 60), false), dir + "rj45_" + o + "_10.png");
            ok &= Save(Jack(top, QColor(255, 150, 30), false), dir + "rj45_" + o + "_100.png");
            ok &= Save(Jack(top, QColor(60, 230, 90), false), dir + "rj45_" + o + "_1000.png");
        }
        ok &= Save(Cage(QColor(), true), dir + "sfp_unknown.png");
        ok &= Save(Cage(QColor(), false), dir + "sfp_down.png");
        ok &= Save(Cage(QColor(255, 150, 30), false), dir + "sfp_100.png");
        ok &= Save(Cage(QColor(60, 230, 90), false), dir + "sfp_1000.png");
        ok &= Save(Light(kLedW, kLedH, QColor(70, 70, 72), false), dir + "led_unknown.png");
        ok &= Save(Light(kLedW, kLedH, QColor(28, 30, 28), false), dir + "led_off.png");
        ok &= Save(Light(kLedW, kLedH, QColor(255, 150, 20), false), dir + "led_amber.png");
        ok &= Save(Light(kLedW, kLedH, QColor(40, 220, 70), false), dir + "led_green.png");
        ok &= Save(Light(kLampSize, kLampSize, QColor(60, 62, 64), true), dir + "lamp_unknown.png");
        ok &= Save(Light(kLampSize, kLampSize, QColor(40, 220, 70), true), dir + "lamp_green.png");
        ok &= Save(Light(kLampSize, kLampSize, QColor(255, 150, 20), true), dir + "lamp_amber.png");
        ok &= Write(dir + m.name + ".xml", PanelXml(m, places));
        ok &= Write(dir + m.name + ".ini", DeviceIni(m));
    }
    return ok ? 0 : 1;
}

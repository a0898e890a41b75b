#pragma once

// A panel folder written by a test: Config.ini, a device INI, a panel XML
// and solid-colour pictures, so drawing can be checked pixel by pixel.

#include "CPanelView.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

class PanelFixtureFolder
{
public:
    PanelFixtureFolder() { QDir(m_dir.path()).mkpath(QStringLiteral("model")); }

    QString exeDir() const { return m_dir.path(); }
    QString modelPath(const QString& name) const { return m_dir.filePath(QStringLiteral("model/") + name); }

    void write(const QString& relative, const QByteArray& text) const
    {
        QFile file(m_dir.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    // A solid picture in the model folder.
    void picture(const QString& name, int w, int h, QColor colour) const
    {
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(modelPath(name), "PNG"));
    }
    // Config.ini pointing at model/Device.ini, which names model/Panel.xml.
    void config(const QByteArray& deviceIniRest = QByteArray(), const QByteArray& deviceInfo = QByteArray()) const
    {
        write(QStringLiteral("Config.ini"), "[DeviceInfo]\nPath=model\nFile=Device.ini\n");
        write(QStringLiteral("model/Device.ini"),
              "[DeviceInfo]\nXMLName=Panel.xml\nDeviceName=PQS-4400-52\nOIDRoot=1.3.6.1.4.1.32473.10.126.4.1\n"
              + deviceInfo + "\n" + deviceIniRest);
    }
    void xml(const QByteArray& text) const { write(QStringLiteral("model/Panel.xml"), text); }

private:
    QTemporaryDir m_dir;
};

// The owner window of a panel, painting it as the main dialog does.
class PanelHost : public QWidget
{
public:
    explicit PanelHost(CPanelView& view) : m_view(view) {}
    QSize drawSize{0, 0};   // 0 x 0: the panel's own size

protected:
    void paintEvent(QPaintEvent*) override { m_view.Draw(0, 0, drawSize.width(), drawSize.height()); }

private:
    CPanelView& m_view;
};

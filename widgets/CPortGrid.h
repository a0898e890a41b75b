#pragma once

// The per-port check boxes of a configuration dialog, laid out like the
// front panel: each port's number in plain text tight over its box, the two
// rows of a 52-port switch (1-24 over 25-48) with a clearly larger gap
// between them, a wider gap every 8 ports, and the four uplink ports set
// apart at the right (49-52 on 52 ports, 25-28 on 28, 17-20 on 20). The
// pitch follows the font, so port N lines up in every grid and two-digit
// numbers never touch.
//
// Box ids are first id + port - 1 (ControlId.h). Port arrays are indexed by
// port - 1; bitmaps have bit 7 of byte 0 for port 1.

#include <QByteArray>
#include <QList>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;

class CPortGrid : public QWidget
{
    Q_OBJECT
public:
    CPortGrid(int nPorts, int nFirstID = 0, QWidget* parent = nullptr);

    int GetCount() const { return int(m_boxes.size()); }
    // Ports after this one are the uplinks (0: none).
    int GetLastCopperPort() const { return m_nCopper; }

    void SetChecked(int nPort, bool bChecked);
    bool IsChecked(int nPort) const;
    // Greys the box and its number.
    void EnablePort(int nPort, bool bEnable);
    void EnableAll(bool bEnable);
    void SetAll(bool bChecked);

    // Checks the ports whose bits are set; ports beyond the bitmap are
    // cleared, bits beyond the port count ignored.
    void SetBitmap(const QByteArray& bitmap);
    // ceil(count / 8) octets, or nOctets when larger (zero padded).
    QByteArray GetBitmap(int nOctets = 0) const;
    // Entry port - 1 is 1 for a checked port, else 0.
    std::vector<int> GetPortArray() const;
    void SetPortArray(const std::vector<int>& ports);
    // Checked ports in ascending order.
    QList<int> GetPorts() const;

    QCheckBox* GetCheckBox(int nPort) const;
    QLabel* GetLabel(int nPort) const;

signals:
    // The user toggled a port's box.
    void portToggled(int nPort, bool bChecked);

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildLayout();
    bool ValidPort(int nPort) const { return nPort >= 1 && nPort <= GetCount(); }

    QList<QCheckBox*> m_boxes;
    QList<QLabel*> m_labels;
    int m_nCopper = 0;
};

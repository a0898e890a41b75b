#pragma once

// "Port Mirroring": the mirroring state, the target (sniffer) port and, for
// every port, one sniffer mode: TX, RX, Both or None. The target is never a
// source; the members of an aggregated link share one mode. Apply clears the
// source maps before it sets the target, so a new target that was a source
// is never refused; a refused step stops the rest and is reported.

#include "CConfigDialog.h"
#include "CPortMirroringLogic.h"

#include <array>

class CPortGrid;
class CSetSequence;
class QComboBox;
class QPushButton;
class QRadioButton;

class CPortMirroringdlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum Mode { Tx = 0, Rx = 1, Both = 2, None = 3 };

    explicit CPortMirroringdlg(QWidget* parent = nullptr);
    ~CPortMirroringdlg() override;

    CPortGrid* Row(Mode mode) const { return m_rows[size_t(mode)]; }
    QPushButton* AllButton(Mode mode) const { return m_all[size_t(mode)]; }
    QComboBox* TargetCombo() const { return m_cmbTarget; }
    QRadioButton* EnabledButton() const { return m_btnEnabled; }
    QRadioButton* DisabledButton() const { return m_btnDisabled; }
    // The mode whose box is checked for a port (None when none is).
    Mode ModeOf(int nPort) const;

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

public slots:
    void done(int result) override;

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    CPortMirroringLogic* MirrorLogic() const { return Logic<CPortMirroringLogic>(); }
    void SetMode(int nPort, Mode mode);
    void EnableBoxes(bool bEnable);
    void OnPortButton(Mode mode, int nPort);
    void OnAll(Mode mode);
    void OnSelchangeTargetPort();
    void OnEnabled();
    void OnDisabled();
    int TargetPort() const;

    QRadioButton* m_btnEnabled = nullptr;
    QRadioButton* m_btnDisabled = nullptr;
    QComboBox* m_cmbTarget = nullptr;
    std::array<CPortGrid*, 4> m_rows{};
    std::array<QPushButton*, 4> m_all{};
    CSetSequence* m_pWrite = nullptr;
    int m_nTargetPort = 0;
};

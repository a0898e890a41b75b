#pragma once

// The About box of the management module: the model it manages and the
// versions of firmware and module.

#include <QDialog>

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Control ids of the texts set at run time and of the OK button.
    enum : int { IDC_MODULE_NAME = 1049, IDC_OK = 1 };

protected:
    // Caption and module name from the model name of the device facts.
    virtual bool OnInitDialog();
    void showEvent(QShowEvent* event) override;

private:
    bool m_bInitialised = false;
};

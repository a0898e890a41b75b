#pragma once

// The About box of the management module: the model it manages and the
// versions of firmware and module.

#include <QDialog>

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    // Caption and module name follow the model name of the device facts.
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Control ids of the texts set at run time and of the OK button.
    enum : int { IDC_MODULE_NAME = 1049, IDC_OK = 1 };
};
